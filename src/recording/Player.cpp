#include "recording/Player.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

#include "core/MenuTicks.h"
#include "core/Numbers.h"
#include "core/RecordingRates.h"
#include "core/RecordingCodes.h"
#include "meter/MeterEngine.h"
#include "recording/RecordLoader.h"
#include "recording/SkipSeconds.h"

namespace zk {

namespace {
constexpr double LagHold = 0.1;     // seconds the lag lamp stays lit after records were dropped
constexpr float BehindMs = 10.0f;   // the sound this far ahead of a record drops it
constexpr int StartButtonX = 10;    // a range pressed closer to the left end starts at the beginning
const SampleRecord NoRecord{};

// Left mouse button and right mouse button as the seek bar reports them.
constexpr int LeftButton = 1, RightButton = 2;
}  // namespace

Player::Player(Context& ctx, TransportView& view, MeterEngine& engine, StreamGate& gate, Transport& transport)
    : ctx_(ctx), bar_(view), engine_(engine), gate_(gate), transport_(transport) {
  transport_.SetPlayer(this);
  ctx_.timers.tmrSkip.SetHandler([this] { tmrSkip_Timer(); });
}

bool Player::Active() const {
  return ctx_.state.OperatingMode == ModePlayback || ctx_.state.PlayState == PlayPaused;
}

bool Player::Playing_On() const { return !closing_ && ctx_.state.OperatingMode == ModePlayback; }

// ---------------------------------------------------------------- records and positions

int32_t Player::Width() const { return std::max(1, bar_.SeekBar_ScaleWidth()); }

// Position units per second of the open track; a track that reports none counts in ms.
static int32_t Units(const SessionState& st) { return st.PlayUnitsPerSecond > 0 ? st.PlayUnitsPerSecond : 1000; }

const SampleRecord& Player::Record(int32_t k) const {
  const SessionState& st = ctx_.state;
  const int32_t last = std::min<int32_t>(st.RecordCount, static_cast<int32_t>(st.RecordBuffer.size()) - 1);
  if (last < 1) return NoRecord;
  return st.RecordBuffer[static_cast<std::size_t>(std::clamp(k, 1, last))];
}

int32_t Player::Record_Position(int32_t k) const {
  const double pos = double(Units(ctx_.state)) / 1000.0 * Record(k).TimeMs;
  // A damaged time far beyond any track stays a position the device can be given.
  return TryCInt32(pos).value_or(pos < 0 ? 0 : std::numeric_limits<int32_t>::max());
}

// The play range inside the file, its end not before its start; an end of 0 means the
// end of the file.
void Player::Normalize_Range() {
  SessionState& st = ctx_.state;
  const int32_t n = std::max(1, st.RecordCount);
  st.RangeStartIndex = std::clamp(st.RangeStartIndex, 1, n);
  if (st.RangeEndIndex < 1 || st.RangeEndIndex > n) st.RangeEndIndex = n;
  st.RangeEndIndex = std::max(st.RangeEndIndex, st.RangeStartIndex);
}

int32_t Player::Clamp_To_Range(int32_t k) const {
  return std::clamp(k, ctx_.state.RangeStartIndex, ctx_.state.RangeEndIndex);
}

int32_t Player::Record_At(double x) const {
  const SessionState& st = ctx_.state;
  const int32_t k = CInt32(x / Width() * st.RecordCount);
  return std::clamp(k, 1, std::max(1, st.RecordCount));
}

std::string Player::Time_At(double x) const {
  const SessionState& st = ctx_.state;
  return Format_Time(CInt32(x / Width() * st.TotalTimeMs / 1000.0), st.TotalTimeMs);
}

void Player::Query_Position() {
  int32_t pos = 0;
  if (ctx_.audio.Position(pos) == 0) ctx_.state.AudioPosition = pos;
}

// ---------------------------------------------------------------- the panel after a load

void Player::Show_Loaded_File(const std::string& basePath) {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  const std::string name = basePath.substr(basePath.find_last_of('/') + 1);
  c.SetCaption("lblLoadedFile", name);
  st.RecordName = name;
  c.SetCaption("lblPlayTime", Format_Time(0, st.TotalTimeMs));
  c.SetCaption("lblTotalTime", Format_Time(CInt32(st.TotalTimeMs / 1000.0), st.TotalTimeMs));
  st.SkipSeconds = Skip_Seconds(st.TotalTimeMs / 1000);
  st.PlayState = PlayStopped;
  st.RangeStartX = 0;
  st.RangeEndX = Width();
  Draw_Range_Box();
}

// ---------------------------------------------------------------- play, pause, resume

void Player::cmdPlay_Click() {
  // A start, pause or stop still waiting out its banner takes no second command.
  if (busy_ || stopping_ || closing_) return;
  switch (ctx_.state.PlayState) {
    case PlayStopped: Start(); break;
    case PlayPlaying: Pause(); break;
    case PlayPaused: Resume(); break;
    default: break;
  }
}

void Player::Wait(double seconds) {
  const double start = ctx_.clock.Timer();
  while (!closing_ && Timer_Elapsed(start, ctx_.clock.Timer()) < seconds) {
    ctx_.state.InputWatchdogArmed = false;
    ctx_.events.DoEvents();
  }
}

void Player::Start() {
  SessionState& st = ctx_.state;
  Settings& s = ctx_.settings;
  Controls& c = ctx_.controls;
  if (st.RecordCount < 1 || st.RecordBuffer.size() < 2) return;
  busy_ = true;
  c.SetEnabled("picRecord", false);
  st.SavedSensitivityIndex = s.SensitivityIndex;
  st.SavedFreezeEnable = s.FreezeEnable;
  st.SavedDialType = s.DialType;
  st.SavedBdTotal = st.BdTotal;
  st.SavedBdCountEnabled = st.BdCountEnabled;

  c.SetCaption("lblTag", "");
  st.OperatingMode = ModePlayback;
  gate_.Pause();
  for (const char* menu : {"mnuFile", "mnuConnection", "mnuRecording"}) c.SetEnabled(menu, false);
  if (!st.PlaybackOverride) {
    c.SetEnabled("mnuSettingsBmFreeze", false);
    c.SetEnabled("mnuViewMeter", false);
  }
  c.SetEnabled("mnuViewRecording", false);

  Normalize_Range();
  st.WorkRecord = Record(st.RangeStartIndex);
  const int32_t startPosition = Record_Position(st.RangeStartIndex);
  st.RangeStartPosition = std::to_string(startPosition);
  st.MciResult = ctx_.audio.SeekTo(startPosition);
  Fetch_Error_Text(ctx_);
  c.SetCaption("lblPlayTime", Format_Time(CInt32(double(startPosition) / Units(st)), st.TotalTimeMs));

  bar_.Show_TransportWord("PLAY");
  Wait(1.0);
  busy_ = false;
  if (!Playing_On()) return;  // stopped or closed during the banner
  ctx_.view.Draw_Panel();

  // The position is taken before the clock is set, so the clock shows the range start.
  Query_Position();
  st.ElapsedSecs = st.AudioPosition / Units(st);
  if (st.RecordStartSeconds != 0) Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
  st.MciResult = ctx_.audio.Play();

  st.StatusText = "Playback";
  st.StatusColor = s.Text_Color;
  ctx_.view.Update_ModeDisplay();
  ctx_.view.Update_LED(s.Dial_Color);

  st.RecordIndex = std::max(1, st.RangeStartIndex);
  bar_.SeekBar_SetCurrentX(double(st.RecordIndex) / st.RecordCount * Width());
  progressEnd_ = -1;
  stallPosition_ = -1;
  st.ResetPending = true;
  st.PlayState = PlayPlaying;
  c.SetEnabled("picRecord", true);
  ctx_.shell.Update_Command_State();
  c.SetFocus("cmdStop");

  while (Playing_On()) {
    Playback_Step();
    if (!st.NewReading || !Playing_On()) continue;
    try {
      engine_.Show_Reading();
    } catch (const std::exception&) {
      // A record that cannot be drawn is skipped; the playback goes on.
    }
    if (shown_) shown_();
  }
}

void Player::Pause() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  busy_ = true;
  c.SetEnabled("picRecord", false);
  // A skip still waiting to resume would start the sound again under the pause.
  ctx_.timers.tmrSkip.Stop();
  st.MciResult = ctx_.audio.Pause();
  bar_.Show_TransportWord("PAUSE");
  Wait(1.0);
  busy_ = false;
  if (!Playing_On()) return;
  st.NewReading = false;
  st.PlayState = PlayPaused;
  c.SetEnabled("picRecord", true);
  ctx_.shell.Update_Command_State();
}

void Player::Resume() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  c.SetEnabled("picRecord", false);
  ctx_.view.Remove_Needle();
  st.MciResult = ctx_.audio.PlayFrom(st.AudioPosition);
  stallPosition_ = -1;
  st.PlayState = PlayPlaying;
  c.SetEnabled("picRecord", true);
  ctx_.shell.Update_Command_State();
}

// ---------------------------------------------------------------- one step of the loop

void Player::Playback_Step() {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  st.NewReading = false;
  int n = 0;
  for (;;) {
    if (st.SeekPending) {
      st.SeekPending = false;
      Draw_Range_Box();
      st.ResetPending = true;
      ctx_.controls.SetCaption("lblPlayTime", Format_Time(st.AudioPosition / Units(st), st.TotalTimeMs));
    }
    Draw_Progress();

    if (st.RecordIndex > st.RecordCount - 1 || st.RecordIndex > st.RangeEndIndex) {
      if (s.PlayLoopEnable && st.OperatingMode == ModePlayback)
        Restart_Loop();
      else
        transport_.cmdStop_Click();
      break;
    }

    st.WorkRecord = Record(st.RecordIndex);
    st.NewReading = true;
    st.RawReading = st.WorkRecord.RawReading();

    float target = 0;
    if (!Wait_For_Record(target)) {
      st.NewReading = false;
      return;  // paused, stopped or closing
    }
    ++st.RecordIndex;
    if (++n > st.LagMessages) {
      if (st.LedColor != s.LED_Lag_Color) ctx_.view.Update_LED(s.LED_Lag_Color);
      st.PlayLagTime = ctx_.clock.Timer();
    }
    // The sound is ahead of this record: drop it and take the next.
    if (target - float(st.WorkRecord.TimeMs) >= BehindMs) continue;
    break;
  }
  Lag_Lamp_Off();
  Show_Elapsed();
}

// Waits until the sound reaches the record in WorkRecord. False when the device is paused
// or the play loop is over; true when the record is due, or the sound has ended or stalled
// (the record is then the last one shown).
bool Player::Wait_For_Record(float& target) {
  SessionState& st = ctx_.state;
  for (;;) {
    ctx_.events.DoEvents();
    if (!Playing_On()) return false;
    target = float(st.AudioPosition) * 1000.0f / float(Units(st));
    AudioMode mode = AudioMode::NotReady;
    ctx_.audio.Mode(mode);
    if (mode == AudioMode::Stopped) st.RecordIndex = st.RecordCount;
    if (mode == AudioMode::Paused) {
      stallPosition_ = -1;
      return false;
    }
    Query_Position();
    if (mode != AudioMode::Playing || target >= float(st.WorkRecord.TimeMs)) return true;
    // A device that says it plays but whose position does not move would hold the loop
    // for ever: after a while it counts as ended.
    const double now = ctx_.clock.Timer();
    if (st.AudioPosition != stallPosition_) {
      stallPosition_ = st.AudioPosition;
      stallSince_ = now;
    } else if (Timer_Elapsed(stallSince_, now) > StallSeconds) {
      st.RecordIndex = st.RecordCount;
      return true;
    }
  }
}

void Player::Lag_Lamp_Off() {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  if (Timer_Elapsed(st.PlayLagTime, ctx_.clock.Timer()) > LagHold && st.LedColor == s.LED_Lag_Color)
    ctx_.view.Update_LED(s.Dial_Color);
}

// The time label follows the sound each second; the clock face moves once a recorded minute.
void Player::Show_Elapsed() {
  SessionState& st = ctx_.state;
  const int32_t secs = st.AudioPosition / Units(st);
  if (secs == st.ElapsedSecs) return;
  st.ElapsedSecs = secs;
  ctx_.controls.SetCaption("lblPlayTime", Format_Time(secs, st.TotalTimeMs));
  if (st.RecordStartSeconds != 0 && (st.RecordStartSeconds + secs) % 60 == 0)
    Show_Recording_Clock(st.RecordStartSeconds + secs);
}

void Player::Draw_Progress() {
  const SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  const double end = double(st.RecordIndex) / st.RecordCount * Width();
  // Drawn when it has grown by a unit of the bar; the bar's pixels are coarser still.
  if (std::floor(end) == std::floor(progressEnd_)) return;
  progressEnd_ = end;
  bar_.SeekBar_Box(st.RangeStartX, 25, end, 75, bar_.HighlightColor());
}

void Player::Draw_Range_Box() {
  const SessionState& st = ctx_.state;
  bar_.SeekBar_Box(st.RangeStartX, 0, st.RangeEndX, 100, bar_.ButtonFaceColor());
  progressEnd_ = -1;
}

// ---------------------------------------------------------------- loop and stop

void Player::Restart_Loop() {
  SessionState& st = ctx_.state;
  st.MciResult = ctx_.audio.SeekTo(ParseInt32(st.RangeStartPosition).value_or(0));
  bar_.Show_TransportWord("PLAY");
  Wait(2.0);
  if (!Playing_On()) return;
  ctx_.view.Remove_Needle();
  st.NewReading = false;
  Query_Position();
  st.ElapsedSecs = st.AudioPosition / Units(st);
  Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
  ctx_.controls.SetCaption("lblPlayTime", Format_Time(0, st.TotalTimeMs));
  // Paused during the banner: the sound starts with the next resume.
  if (st.PlayState == PlayPlaying) st.MciResult = ctx_.audio.Play();
  stallPosition_ = -1;
  st.RecordIndex = std::max(1, st.RangeStartIndex);
  Draw_Range_Box();
  bar_.SeekBar_SetCurrentX(st.RangeStartX);
  ctx_.view.Draw_Panel();
  st.ResetPending = true;
}

void Player::Stop() {
  if (stopping_) return;
  stopping_ = true;
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  Controls& c = ctx_.controls;
  c.SetEnabled("picRecord", false);
  st.OperatingMode = s.CommPort != 0 ? ModeLive : ModeNone;
  ctx_.timers.tmrSkip.Stop();
  st.MciResult = ctx_.audio.Stop();

  bar_.Show_TransportWord("END");
  Wait(1.0);
  ctx_.view.Remove_Needle();
  st.ResetPending = true;
  st.NewReading = false;

  if (!st.PlaybackOverride) Restore_User_Values(true);
  c.SetCaption("lblPlayTime",
               Format_Time(CInt32(ParseInt32(st.RangeStartPosition).value_or(0) / double(Units(st))), st.TotalTimeMs));
  c.SetEnabled("mnuSettingsBmFreeze", true);
  c.SetEnabled("mnuViewMeter", true);
  gate_.Resume();
  stopping_ = false;
}

// The user's own sensitivity, freeze, dial type and BD counter, put aside at the start.
void Player::Restore_User_Values(bool draw) {
  SessionState& st = ctx_.state;
  Settings& s = ctx_.settings;
  Controls& c = ctx_.controls;
  s.SensitivityIndex = st.SavedSensitivityIndex;
  s.FreezeEnable = st.SavedFreezeEnable;
  s.DialType = st.SavedDialType;
  st.BdTotal = st.SavedBdTotal;
  st.BdCountEnabled = st.SavedBdCountEnabled;
  st.BdText = MeterEngine::Bd_Text(st.BdTotal / 4);
  Tick_Pair(c, "mnuSetBmFreezeOn", "mnuSetBmFreezeOff", s.FreezeEnable);
  if (!draw) return;
  ctx_.view.Update_SensKnob();
  ctx_.view.Draw_Panel();
  ctx_.view.Update_BdDisplay(st.BdText);
}

void Player::Shut_Down() {
  if (closing_) return;
  closing_ = true;
  if (!Active()) return;
  SessionState& st = ctx_.state;
  ctx_.timers.tmrSkip.Stop();
  st.MciResult = ctx_.audio.Stop();
  // The settings written on the way out are the user's, not the recording's.
  if (!st.PlaybackOverride) Restore_User_Values(false);
  st.OperatingMode = ctx_.settings.CommPort != 0 ? ModeLive : ModeNone;
  st.PlayState = PlayStopped;
  st.NewReading = false;
}

// ---------------------------------------------------------------- skipping

void Player::Skip_By(int32_t records) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  IntervalTimer& skip = ctx_.timers.tmrSkip;
  if (!skip.Enabled()) st.MciResult = ctx_.audio.Pause();
  skip.Stop();
  skip.Start();
  Normalize_Range();
  int32_t k = st.RecordIndex + records;
  if (records > 0 && k > st.RangeEndIndex) k = st.RangeEndIndex - RecordsPerSecond;
  st.RecordIndex = Clamp_To_Range(k);
  Show_Record_Position();
  st.SeekPending = true;
}

// A recording that got no skip length (one kept in memory after a recording without
// sound) takes the one its length gives.
static int32_t Skip_Records(const SessionState& st) {
  const int32_t secs = st.SkipSeconds > 0 ? st.SkipSeconds : Skip_Seconds(st.TotalTimeMs / 1000);
  return secs * RecordsPerSecond;
}

void Player::cmdFwd_Click() { Skip_By(Skip_Records(ctx_.state)); }

void Player::cmdRev_Click() { Skip_By(-Skip_Records(ctx_.state)); }

void Player::Show_Record_Position() {
  SessionState& st = ctx_.state;
  st.WorkRecord = Record(st.RecordIndex);
  st.AudioPosition = Record_Position(st.RecordIndex);
  ctx_.controls.SetCaption("lblPlayTime", Format_Time(st.AudioPosition / Units(st), st.TotalTimeMs));
}

void Player::tmrSkip_Timer() {
  SessionState& st = ctx_.state;
  ctx_.timers.tmrSkip.Stop();
  if (st.OperatingMode != ModePlayback) return;
  st.WorkRecord = Record(st.RecordIndex);
  st.AudioPosition = Record_Position(st.RecordIndex);
  if (st.PlayState == PlayPlaying) st.MciResult = ctx_.audio.PlayFrom(st.AudioPosition);
}

void Player::cmdLoop_Click() {
  Settings& s = ctx_.settings;
  s.PlayLoopEnable = !s.PlayLoopEnable;
  ctx_.controls.SetPicture("cmdLoop", -1, s.PlayLoopEnable ? "Loop" : "Single");
}

void Player::chkOveride_Click(bool checked) {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  st.ResetPending = true;
  st.PlaybackOverride = checked;
  c.SetEnabled("mnuSettingsBmFreeze", checked);
  if (!checked) return;
  c.SetEnabled("mnuViewMeter", true);
  // The meter works from the recorded readings with the user's own settings.
  Restore_User_Values(false);
}

// ---------------------------------------------------------------- the seek bar

void Player::Show_Recording_Clock(int32_t seconds) {
  const int32_t t = ((seconds % 86400) + 86400) % 86400;  // a recording may run past midnight
  int16_t h = static_cast<int16_t>(t / 3600), m = static_cast<int16_t>((t / 60) % 60), s = 0;
  ctx_.view.Update_Clock(h, m, s, ctx_.state.RecordDate);
}

void Player::Show_Present_Clock() {
  const DateTime now = ctx_.clock.Now();
  int16_t h = static_cast<int16_t>(now.hour), m = static_cast<int16_t>(now.minute),
          s = static_cast<int16_t>(now.second);
  ctx_.view.Update_Clock(h, m, s, DateSerial(now.year, now.month, now.day));
}

void Player::picFilePosition_MouseDown(int button, float xIn) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  const double x = std::floor(xIn);
  const bool playing = st.OperatingMode == ModePlayback;
  if (playing) {
    if (button != LeftButton || x < st.RangeStartX || x > st.RangeEndX) return;
    Move_Play_Position(Record_At(x));
    return;
  }
  if (button == LeftButton) {
    ctx_.controls.SetCaption("lblPlayTime", Time_At(x));
    st.RangeStartX = 0;
    st.RangeStartIndex = 1;
    bar_.SeekBar_Clear();
    bar_.SeekBar_SetCurrentX(x);
    if (x >= StartButtonX) {
      st.RangeStartX = static_cast<int32_t>(x);
      st.RangeStartIndex = Record_At(st.RangeStartX);
    }
    st.WorkRecord = Record(st.RangeStartIndex);
    st.ElapsedSecs = st.WorkRecord.TimeMs / 1000;
    Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
  } else if (button == RightButton) {
    st.RangeStartX = 0;
    st.RangeStartIndex = 1;
    st.RangeEndX = Width();
    st.RangeEndIndex = st.RecordCount;
    ctx_.shell.Update_Command_State();
  }
}

void Player::Move_Play_Position(int32_t k) {
  SessionState& st = ctx_.state;
  Normalize_Range();
  st.RecordIndex = Clamp_To_Range(k);
  Show_Record_Position();
  st.SeekPending = true;
  if (st.PlayState == PlayPlaying) {
    st.MciResult = ctx_.audio.PlayFrom(st.AudioPosition);
    stallPosition_ = -1;
  }
}

int32_t Player::X_Of(int32_t k) const {
  return static_cast<int32_t>(std::floor(double(k) * Width() / std::max(1, ctx_.state.RecordCount)));
}

void Player::Seek_To_Record(int32_t k) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  k = std::clamp(k, 1, st.RecordCount);
  if (st.OperatingMode == ModePlayback) {
    Normalize_Range();
    if (k < st.RangeStartIndex || k > st.RangeEndIndex) return;
    Move_Play_Position(k);
    return;
  }
  Select_Range(k, st.RecordCount);
}

void Player::Select_Range(int32_t first, int32_t last) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1 || st.OperatingMode == ModePlayback) return;
  st.RangeStartIndex = std::clamp(first, 1, st.RecordCount);
  st.RangeEndIndex = std::clamp(last, st.RangeStartIndex, st.RecordCount);
  st.RangeStartX = st.RangeStartIndex == 1 ? 0 : X_Of(st.RangeStartIndex);
  st.RangeEndX = st.RangeEndIndex == st.RecordCount ? Width() : X_Of(st.RangeEndIndex);
  st.WorkRecord = Record(st.RangeStartIndex);
  ctx_.controls.SetCaption("lblPlayTime", Format_Time(st.WorkRecord.TimeMs / 1000, st.TotalTimeMs));
  bar_.SeekBar_Clear();
  Draw_Range_Box();
  Show_Present_Clock();
}

void Player::picFilePosition_MouseMove(int button, float xIn) {
  SessionState& st = ctx_.state;
  const double x = std::clamp<double>(xIn, 0, Width());
  ctx_.controls.SetToolTip("picFilePosition", Time_At(x));
  if (st.OperatingMode == ModePlayback || button != LeftButton || st.RecordCount < 1) return;
  ctx_.controls.SetCaption("lblPlayTime", Time_At(x));
  if (x > st.RangeStartX) bar_.SeekBar_Box(st.RangeStartX, 0, x, 100, bar_.ButtonFaceColor());
  st.ElapsedSecs = Record(Record_At(x)).TimeMs / 1000;
  Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
}

void Player::picFilePosition_MouseUp(int button, float xIn) {
  SessionState& st = ctx_.state;
  if (st.OperatingMode == ModePlayback || st.RecordCount < 1) return;
  const int32_t w = Width();
  if (button == LeftButton) {
    const double x = std::clamp<double>(xIn, 0, w);
    if (x > st.RangeStartX + w / 100) {
      st.RangeEndX = std::min<int32_t>(static_cast<int32_t>(std::floor(x)), w);
      st.RangeEndIndex = Record_At(st.RangeEndX);
    } else {
      // A click without a drag: the range runs to the end of the file.
      st.RangeEndX = w;
      st.RangeEndIndex = st.RecordCount;
    }
    Normalize_Range();
  }
  ctx_.controls.SetCaption("lblPlayTime", Time_At(st.RangeStartX));
  bar_.SeekBar_Clear();
  Draw_Range_Box();
  Show_Present_Clock();
}

}  // namespace zk
