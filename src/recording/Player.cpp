#include "recording/Player.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <utility>

#include "base/Numbers.h"
#include "base/RecordingCodes.h"
#include "core/Banner.h"
#include "core/ControlNames.h"
#include "core/MenuTicks.h"
#include "core/MeterView.h"
#include "core/SoundQueries.h"
#include "core/UnexpectedError.h"
#include "meter/MeterEngine.h"
#include "recording/PlayRange.h"
#include "recording/RecordLoader.h"

namespace zk {

namespace {
constexpr float BehindMs = 10.0f;  // the sound this far ahead of a record drops it
}  // namespace

Player::Player(Context& ctx, TransportView& view, MeterEngine& engine, StreamGate& gate, Transport& transport)
    : ctx_(ctx),
      bar_(view),
      engine_(engine),
      gate_(gate),
      transport_(transport),
      range_(ctx, view),
      clock_(ctx),
      seekBar_(ctx, view, range_, clock_, [this](int32_t k) { Seek_To(k); }),
      lagLamp_(ctx, ctx.state.PlayLagTime),
      stall_(ctx.clock, StallSeconds) {
  transport_.SetPlayer(this);
  ctx_.timers.tmrSkip.SetHandler([this] { tmrSkip_Timer(); });
}

bool Player::Active() const { return ctx_.state.OperatingMode == ModePlayback || ctx_.state.PlayState == PlayPaused; }

bool Player::Playing_On() const { return !closing_ && ctx_.state.OperatingMode == ModePlayback; }

// ---------------------------------------------------------------- the panel after a load

void Player::Show_Loaded_File(const std::string& basePath) {
  SessionState& st = ctx_.state;
  const std::string name = basePath.substr(basePath.find_last_of('/') + 1);
  ctx_.controls.SetCaption(ctl::lblLoadedFile, name);
  st.RecordName = name;
  Show_Recording_Length(ctx_, CInt32(st.TotalTimeMs / 1000.0), st.TotalTimeMs / 1000);
  st.PlayState = PlayStopped;
  st.RangeStartX = 0;
  st.RangeEndX = range_.Width();
  range_.Draw_Range_Box();
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

// The banner waits: no reading comes during playback, so the input watchdog is held off.
void Player::Wait(double seconds) {
  WatchdogHeld events(ctx_.events, ctx_.state);
  // Closing comes as an event, which ends a sleep: the wait sleeps out its time.
  Wait_Until(
      events, ctx_.clock, seconds, [this] { return closing_; }, {},
      [] { return std::numeric_limits<double>::infinity(); });
}

void Player::Start() {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1 || st.RecordBuffer.size() < 2) return;
  busy_ = true;
  ctx_.controls.SetEnabled(ctl::picRecord, false);
  Put_User_Values_Aside();
  Enter_Playback_Mode();
  Seek_To_Range_Start();
  bar_.Show_TransportWord("PLAY");
  Wait(1.0);
  busy_ = false;
  if (!Playing_On()) return;  // stopped or closed during the banner
  Start_Sound();
  Show_Playing();
  Play_Loop();
}

// The user's own sensitivity, freeze, dial type and BD counter, given back at the stop.
void Player::Put_User_Values_Aside() {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  st.SavedSensitivityIndex = s.SensitivityIndex;
  st.SavedFreezeEnable = s.FreezeEnable;
  st.SavedDialType = s.DialType;
  st.SavedBdTotal = st.BdTotal;
  st.SavedBdCountEnabled = st.BdCountEnabled;
}

// Playback mode: the live stream paused, the menus that would disturb a playback off.
void Player::Enter_Playback_Mode() {
  Controls& c = ctx_.controls;
  c.SetCaption(ctl::lblTag, "");
  ctx_.state.OperatingMode = ModePlayback;
  gate_.Pause();
  for (const char* menu : {ctl::mnuFile, ctl::mnuConnection, ctl::mnuRecording}) c.SetEnabled(menu, false);
  if (!ctx_.state.PlaybackOverride) {
    c.SetEnabled(ctl::mnuSettingsBmFreeze, false);
    c.SetEnabled(ctl::mnuViewMeter, false);
  }
  c.SetEnabled(ctl::mnuViewRecording, false);
}

// The range inside the file, its first record in WorkRecord, the sound there.
void Player::Seek_To_Range_Start() {
  SessionState& st = ctx_.state;
  range_.Normalize_Range();
  st.WorkRecord = range_.Record(st.RangeStartIndex);
  const int32_t startPosition = range_.Record_Position(st.RangeStartIndex);
  st.RangeStartPosition = std::to_string(startPosition);
  st.MciResult = ctx_.audio.SeekTo(startPosition);
  Fetch_Error_Text(ctx_);
  ctx_.controls.SetCaption(ctl::lblPlayTime, range_.Time_Of(startPosition));
}

// After the banner: the panel drawn, the clock at the range start, the sound playing.
void Player::Start_Sound() {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  ctx_.view.Draw_Panel();
  // The position is taken before the clock is set, so the clock shows the range start.
  Query_Position(ctx_.audio, st);
  st.ElapsedSecs = st.AudioPosition / PlayRange::Units(st);
  if (st.RecordStartSeconds != 0) clock_.Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
  st.MciResult = ctx_.audio.Play();
  Set_Banner(ctx_, "Playback", s.Text_Color);
  ctx_.view.Update_LED(s.Dial_Color);
  lagLamp_.Forget();
}

// The first record of the range next, the seek bar at it, PlayState playing, the panel on.
void Player::Show_Playing() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  st.RecordIndex = std::max(1, st.RangeStartIndex);
  bar_.SeekBar_SetCurrentX(double(st.RecordIndex) / st.RecordCount * range_.Width());
  range_.Forget_Progress();
  stall_.Reset();
  st.ResetPending = true;
  st.PlayState = PlayPlaying;
  c.SetEnabled(ctl::picRecord, true);
  ctx_.shell.Update_Command_State();
  c.SetFocus(ctl::cmdStop);
}

// The play loop: one record per step to the meter. Everything else a user does during a
// playback runs inside this loop — in the Events::DoEvents of Playback_Step's waits (and
// of the banner waits of a pause or a loop restart): pause, resume, skip, seek, the timers,
// and the stop. S pressed during playback is Transport::cmdStop_Click, whose playback half
// Player::Stop runs to its end (mode out of playback, the sound stopped, "END" and its
// second, the user's values back) inside that DoEvents, before the wait returns here; the
// loop then finds Playing_On() false and ends, and cmdPlay_Click returns. The end of the
// range stops (or loops) from within Playback_Step the same way.
void Player::Play_Loop() {
  SessionState& st = ctx_.state;
  while (Playing_On()) {
    Playback_Step();
    if (!st.NewReading || !Playing_On()) continue;
    {
      // The seek bar's progress and the record reach the screen together.
      const HeldRepaints held(ctx_.view);
      range_.Draw_Progress();
      try {
        engine_.Show_Reading();
      } catch (const std::exception& e) {
        // A record that cannot be drawn is skipped; the playback goes on.
        Report_Unexpected("showing a record of the playback", e);
      }
    }
    if (shown_) shown_();
  }
}

void Player::Pause() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  busy_ = true;
  c.SetEnabled(ctl::picRecord, false);
  // A skip still waiting to resume would start the sound again under the pause.
  ctx_.timers.tmrSkip.Stop();
  st.MciResult = ctx_.audio.Pause();
  bar_.Show_TransportWord("PAUSE");
  Wait(1.0);
  busy_ = false;
  if (!Playing_On()) return;
  st.NewReading = false;
  st.PlayState = PlayPaused;
  c.SetEnabled(ctl::picRecord, true);
  ctx_.shell.Update_Command_State();
}

void Player::Resume() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  c.SetEnabled(ctl::picRecord, false);
  ctx_.view.Remove_Needle();
  st.MciResult = ctx_.audio.PlayFrom(st.AudioPosition);
  stall_.Reset();
  st.PlayState = PlayPlaying;
  c.SetEnabled(ctl::picRecord, true);
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
      range_.Draw_Range_Box();
      st.ResetPending = true;
      ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(st.AudioPosition / PlayRange::Units(st), st.TotalTimeMs));
      range_.Draw_Progress();
    }

    if (st.RecordIndex > st.RecordCount - 1 || st.RecordIndex > st.RangeEndIndex) {
      if (s.PlayLoopEnable && st.OperatingMode == ModePlayback) {
        Restart_Loop();
        break;
      }
      // The stop has put TIME at the range's start, where P plays from again: the
      // elapsed time of the sound that ended is not shown over it.
      transport_.cmdStop_Click();
      lagLamp_.Put_Out();
      return;
    }

    st.WorkRecord = range_.Record(st.RecordIndex);
    st.NewReading = true;
    st.RawReading = st.WorkRecord.RawReading();

    float target = 0;
    if (!Wait_For_Record(target)) {
      st.NewReading = false;
      return;  // paused, stopped or closing
    }
    ++st.RecordIndex;
    if (++n > st.LagMessages) lagLamp_.Light();
    // The sound is ahead of this record: drop it and take the next.
    if (target - float(st.WorkRecord.TimeMs) >= BehindMs) continue;
    break;
  }
  lagLamp_.Put_Out();
  Show_Elapsed();
}

// Waits until the sound reaches the record in WorkRecord. False when the device is paused
// or the play loop is over; true when the record is due, or the sound has ended or stalled
// (the record is then the last one shown). The events come first for each record: a
// record not yet due has them in the wait's sleep, which lasts until the sound should
// reach it; one due at once has them before the position is asked again.
bool Player::Wait_For_Record(float& target) {
  SessionState& st = ctx_.state;
  bool due = false, paused = false;
  auto isDue = [&] {
    paused = false;
    if (!Playing_On()) return true;
    AudioMode mode = AudioMode::NotReady;
    ctx_.audio.Mode(mode);
    // Paused by the user, nothing is due whatever the device says: a pause during a
    // loop's restart banner finds the sound stopped at the range start, not ended.
    if (mode == AudioMode::Paused || st.PlayState == PlayPaused) {
      stall_.Reset();
      paused = true;
      return true;
    }
    if (mode == AudioMode::Stopped) st.RecordIndex = st.RecordCount;
    // The position of now, not of the last round: a round may have slept a while.
    Query_Position(ctx_.audio, st);
    target = float(st.AudioPosition) * 1000.0f / float(PlayRange::Units(st));
    due = mode != AudioMode::Playing || target >= float(st.WorkRecord.TimeMs);
    return due;
  };
  // Asked once here: a record due at once has its events first and is asked again; one not
  // yet due goes straight to the wait's sleep, whose first round need not ask again.
  bool notYet = !isDue();
  if (!notYet) ctx_.events.DoEventsFor(0);
  const bool over = Wait_Until(
      ctx_.events, ctx_.clock, std::numeric_limits<double>::infinity(),
      [&] { return !std::exchange(notYet, false) && isDue(); },
      // A device that says it plays but whose position does not move would hold the loop
      // for ever: after a while it counts as ended.
      [&] { return stall_.Still(st.AudioPosition); },
      // The sound's position runs at one millisecond per millisecond.
      [&] { return (double(st.WorkRecord.TimeMs) - double(target)) / 1000.0; });
  // Paused: nothing is due until an event (resume, stop, a seek) changes that.
  if (paused) ctx_.events.DoEventsFor(MaxSleep);
  if (over) return due;
  st.RecordIndex = st.RecordCount;  // stalled
  return true;
}

// The time label follows the sound each second; the clock face moves once a recorded minute.
void Player::Show_Elapsed() {
  SessionState& st = ctx_.state;
  const int32_t secs = st.AudioPosition / PlayRange::Units(st);
  if (secs == st.ElapsedSecs) return;
  st.ElapsedSecs = secs;
  ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(secs, st.TotalTimeMs));
  if (st.RecordStartSeconds != 0 && (st.RecordStartSeconds + secs) % 60 == 0)
    clock_.Show_Recording_Clock(st.RecordStartSeconds + secs);
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
  Query_Position(ctx_.audio, st);
  st.ElapsedSecs = st.AudioPosition / PlayRange::Units(st);
  clock_.Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
  ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(0, st.TotalTimeMs));
  // Paused during the banner: the sound starts with the next resume.
  if (st.PlayState == PlayPlaying) st.MciResult = ctx_.audio.Play();
  stall_.Reset();
  st.RecordIndex = std::max(1, st.RangeStartIndex);
  range_.Draw_Range_Box();
  bar_.SeekBar_SetCurrentX(st.RangeStartX);
  ctx_.view.Draw_Panel();
  st.ResetPending = true;
}

// Runs inside the play loop's event processing (see Play_Loop): the loop goes on only
// after this has returned, and then ends.
void Player::Stop() {
  if (stopping_) return;
  stopping_ = true;
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  Controls& c = ctx_.controls;
  c.SetEnabled(ctl::picRecord, false);
  st.OperatingMode = s.CommPort != 0 ? ModeLive : ModeNone;
  ctx_.timers.tmrSkip.Stop();
  st.MciResult = ctx_.audio.Stop();

  bar_.Show_TransportWord("END");
  Wait(1.0);
  ctx_.view.Remove_Needle();
  st.ResetPending = true;
  st.BaseRefreshPending = true;
  st.NewReading = false;

  if (!st.PlaybackOverride) Restore_User_Values(true);
  c.SetCaption(ctl::lblPlayTime, range_.Time_Of(ParseInt32(st.RangeStartPosition).value_or(0)));
  c.SetEnabled(ctl::mnuSettingsBmFreeze, true);
  c.SetEnabled(ctl::mnuViewMeter, true);
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
  Tick_Pair(c, ctl::mnuSetBmFreezeOn, ctl::mnuSetBmFreezeOff, s.FreezeEnable);
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

// ---------------------------------------------------------------- loop mode and override

void Player::cmdLoop_Click() {
  Settings& s = ctx_.settings;
  s.PlayLoopEnable = !s.PlayLoopEnable;
  ctx_.controls.SetPicture(ctl::cmdLoop, -1, s.PlayLoopEnable ? "Loop" : "Single");
}

void Player::chkOveride_Click(bool checked) {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  st.ResetPending = true;
  st.PlaybackOverride = checked;
  c.SetEnabled(ctl::mnuSettingsBmFreeze, checked);
  if (!checked) return;
  c.SetEnabled(ctl::mnuViewMeter, true);
  // The meter works from the recorded readings with the user's own settings.
  Restore_User_Values(false);
}

}  // namespace zk
