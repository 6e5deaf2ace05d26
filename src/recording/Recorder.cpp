#include "recording/Recorder.h"

#include <algorithm>

#include "base/Clock.h"
#include "base/Numbers.h"
#include "base/RecordingCodes.h"
#include "core/Banner.h"
#include "core/ControlNames.h"
#include "core/MenuTicks.h"
#include "core/SoundQueries.h"
#include "core/UnsavedRecording.h"
#include "core/Wait.h"
#include "recording/PlayRange.h"
#include "recording/RecordLoader.h"
#include "recording/names/NameClaim.h"
#include "recording/names/RecordNames.h"

namespace zk {

namespace {
constexpr int32_t Red = 255, Black = 0;
// The red mark in the middle of the seek bar while recording.
constexpr int32_t MarkLeft = 475, MarkRight = 525;
// The pre-roll without sound: 18 ticks of 0.054 s, about a second.
constexpr double SilentPreRoll = 18 * 0.054;
}  // namespace

Recorder::Recorder(Context& ctx, TransportView& view, StreamGate& gate, RecordingMemory& memory, RecordingSaver& saver)
    : ctx_(ctx), view_(view), gate_(gate), memory_(memory), saver_(saver) {
  ctx_.timeBase = &timeBase_;
}

Recorder::~Recorder() {
  if (ctx_.timeBase == &timeBase_) ctx_.timeBase = nullptr;
}

void Recorder::Register_Commands(CommandTable& commands) {
  commands.Add(ctl::mnuRecAudioOn, [this] { mnuRecAudioOn_Click(); });
  commands.Add(ctl::mnuRecAudioOff, [this] { mnuRecAudioOff_Click(); });
}

// ---------------------------------------------------------------------------------------
// Starting

void Recorder::cmdRecord_Click() {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  Controls& c = ctx_.controls;
  if (st.OperatingMode == ModeRecording) return;  // a key press during the pre-roll
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;

  for (const char* n : {ctl::picRecord, ctl::picFilePosition, ctl::mnuViewRecording, ctl::mnuRecording})
    c.SetEnabled(n, false);
  memory_.Flush_RecBuffer(*leave);  // the recording in memory ends here
  st.RecSampleCount = 0;
  st.TagChanged = false;  // a tag counted before the recording is not this recording's
  st.AudioPosition = 0;
  st.AudioSecsSeen = 0;
  st.LastSecondSamples = 0;
  times_.Start();
  endMs_ = -1;
  taking_ = false;

  if (s.AudioEnable) {
    Use_Sound_Format(st);
    st.MciResult = ctx_.audio.OpenNewRecording();
  } else {
    st.PlayUnitsPerSecond = 1000;
    Open_Silent_Track(ctx_);  // the clock of a later playback
  }
  st.RecordIndex = 1;
  Name_New_Recording(ctx_.clock.Now());
  if (s.AudioEnable) st.MciResult = ctx_.audio.Record();

  st.OperatingMode = ModeRecording;
  st.SoundInputLost = false;
  c.SetForeColor(ctl::lblPlayTime, Red);
  gate_.Hold();
  view_.Show_TransportWord("RECORD");
  Set_Banner(ctx_, "Recording", s.Text_Color);

  Pre_Roll();
  // Stopped during the pre-roll (the exit stops a recording): the stop has put everything
  // at rest, and there is nothing to begin.
  if (st.OperatingMode != ModeRecording) return;

  ctx_.view.Remove_Needle();
  const DateTime now = ctx_.clock.Now();
  st.RecordStartSeconds = now.hour * 3600 + now.minute * 60 + now.second;
  st.RecordDate = DateSerial(now.year, now.month, now.day);
  st.RecordStartDay = st.RecordDate - DateSerial(1999, 12, 31);
  memory_.Spool().Begin();
  taking_ = true;
  gate_.Resume();  // the first reading restarts filter and needle
  st.ElapsedSecs = 0;
  c.SetFocus(ctl::cmdStop);

  view_.SeekBar_Clear();
  st.RangeStartX = MarkLeft;
  st.RangeEndX = MarkRight;
  view_.SeekBar_Box(MarkLeft, 0, MarkRight, 100, Red);
  c.SetEnabled(ctl::picRecord, true);
  ctx_.shell.Update_Command_State();
}

void Recorder::Use_Sound_Format(SessionState& st) {
  st.PlayUnitsPerSecond = SoundBytesPerSecond;
  st.AudioSamplesPerSec = SoundSampleRate;
  st.AudioBitsPerSample = 16;
  st.AudioChannels = 1;
  st.AudioKind = AudioWave;
}

void Recorder::Name_New_Recording(const DateTime& now) {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  st.RecordName = Free_RecordName(ctx_.settings, now);  // as it will likely be saved
  switch (ctx_.settings.RecordingMode) {
    case RecManual: c.SetToolTip(ctl::lblRecordMode, "Buffer"); [[fallthrough]];
    case RecAutoName:
    case RecCapture:
      c.SetCaption(ctl::lblLoadedFile, "Buffer");
      c.SetToolTip(ctl::lblLoadedFile, "Buffer");
      break;
    case RecAutoSave:
      c.SetCaption(ctl::lblLoadedFile, st.RecordName);
      c.SetToolTip(ctl::lblLoadedFile, "");
      break;
    default: break;
  }
}

// One second of sound is recorded before the first reading, so that the recording's time
// 0 lies a second into the sound; the stop cuts that second off again. No reading is taken
// meanwhile.
void Recorder::Pre_Roll() {
  SessionState& st = ctx_.state;
  if (ctx_.settings.AudioEnable) {
    const double begun = ctx_.clock.Timer();
    Wait_Until(ctx_.events, ctx_.clock, PreRollLimit, [&] {
      st.InputWatchdogArmed = false;
      st.MciResult = Query_Position(ctx_.audio, st);
      gate_.Discard();
      Drop_Burst(begun);
      return st.AudioPosition / SoundBytesPerSecond > 0;
    });
  } else {
    Wait_Until(ctx_.events, ctx_.clock, SilentPreRoll, [] { return false; });
    st.InputWatchdogArmed = false;
  }
}

// A sound server may hand over at the start more sound than the time since the capture
// began could hold: sound it had waiting from before. That sound is older than the
// recording, and counted as pre-roll it would make the first reading come at once and lie
// well into the recording's first second. It is taken off the start of the sound, so that
// the pre-roll is the second of sound captured just before the first reading.
void Recorder::Drop_Burst(double begun) {
  SessionState& st = ctx_.state;
  const double since = Timer_Elapsed(begun, ctx_.clock.Timer());
  const int32_t ahead = st.AudioPosition - static_cast<int32_t>(since * SoundBytesPerSecond);
  if (ahead <= BurstBytes) return;
  st.MciResult = ctx_.audio.DeleteFromStart(ahead & ~1);
  st.MciResult = Query_Position(ctx_.audio, st);
}

// ---------------------------------------------------------------------------------------
// Recording

uint8_t Recorder::Lamp_Code() const {
  const Settings& s = ctx_.settings;
  const int32_t lamp = ctx_.state.LedColor;
  if (lamp == s.Dial_Color) return 0;
  if (lamp == s.LED_Set_Color) return 1;
  if (lamp == s.LED_BM_Color) return 2;
  if (lamp == s.LED_Lag_Color) return 3;
  return 0;
}

// With sound: where the sound was when the record's last message was read (the receive
// path's AudioPosition), less the pre-roll second, on the sensor's 20 ms grid.
int32_t Recorder::Record_Time() {
  SessionState& st = ctx_.state;
  if (!ctx_.settings.AudioEnable) return st.RecSampleCount * ReadingMs;
  const double soundMs = st.AudioPosition * 1000.0 / SoundBytesPerSecond - 1000.0;
  return times_.Stamp(st.RecSampleCount, soundMs);
}

void Recorder::Record_Sample(int16_t needle, uint8_t kind) {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  SampleRecord& r = st.WorkRecord;  // BdValue and BaseStep come from the last base computation
  // A reading that slips through during the pre-roll (a dialog opened meanwhile resumes
  // the stream) is before the recording's start.
  if (!taking_) return;
  const int32_t t = Record_Time();
  if (endMs_ >= 0 && t >= endMs_) return;  // past the last whole second: the tag waits too
  if (st.TagChanged) {
    r.Tag = static_cast<uint16_t>(st.TagCount);
    r.Marker = 'T';
    st.TagChanged = false;
  } else {
    r.Tag = 0;
    r.Marker = 0;
  }
  r.Raw = static_cast<int16_t>(st.RawReading > 32767 ? st.RawReading - 65536 : st.RawReading);
  r.Needle = needle;
  r.Sensitivity = static_cast<uint8_t>(s.SensitivityIndex);
  r.Letter = static_cast<char>(kind);
  r.Flags = static_cast<uint8_t>(Lamp_Code() | (st.NeedleFrozen ? RecordFlags::Frozen : 0) |
                                 (st.BdCountEnabled ? RecordFlags::BdCount : 0) |
                                 ((s.DialType & 7) << RecordFlags::DialTypeShift));
  r.Unused13 = r.Header16 = r.Header17 = 0;  // a record shown by the player may have left them set

  if (static_cast<std::size_t>(st.RecordIndex) >= st.RecordBuffer.size())
    st.RecordBuffer.resize(static_cast<std::size_t>(st.RecordIndex) + RecordingMemory::GrowthRecords + 1);
  r.TimeMs = t;
  st.RecordBuffer[static_cast<std::size_t>(st.RecordIndex)] = r;
  st.RecordCount = st.RecordIndex;
  st.TotalTimeMs = r.TimeMs;
  ++st.RecordIndex;
  memory_.Spool().Record(r);
  Show_Sound_Lost();
}

// The banner's second line says at once when the sound input broke down: the recording
// goes on, silent, and the box with the details waits for the next command.
void Recorder::Show_Sound_Lost() {
  SessionState& st = ctx_.state;
  if (st.SoundInputLost || !ctx_.settings.AudioEnable || !ctx_.audio.InputLost()) return;
  st.SoundInputLost = true;
  ctx_.view.Update_ModeDisplay();
}

// ---------------------------------------------------------------------------------------
// Stopping

void Recorder::Stop() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  c.SetEnabled(ctl::picRecord, false);
  if (ctx_.settings.AudioEnable)
    Finish_Sound();
  else
    Finish_Count();
  // From here on readings are live again: a message box below must not add records.
  st.OperatingMode = ModeLive;
  Keep_Stopped();
}

void Recorder::Keep_Recovered(int32_t seconds) {
  const SessionState& st = ctx_.state;
  Name_New_Recording(DateTimeOf(st.RecordDate, st.RecordStartSeconds));
  Show_Length(seconds);
  Keep_Stopped();
}

void Recorder::Show_Length(int32_t seconds) { Show_Recording_Length(ctx_, seconds, seconds); }

void Recorder::Keep_Stopped() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  c.SetForeColor(ctl::lblPlayTime, Black);
  st.RangeStartX = 0;
  st.RangeEndX = view_.SeekBar_ScaleWidth();
  st.RangeStartIndex = 1;
  st.RangeEndIndex = st.RecordCount;  // the last record, as for a recording loaded from disk
  if (st.RecordCount == 0) {
    memory_.Forget_Empty();  // nothing was recorded (no reading came): nothing to keep or save
    return;
  }
  memory_.Keep_Unsaved();
  c.SetEnabled(ctl::picFilePosition, true);
  saver_.Keep_By_Mode();
}

// The recording ends on the next whole second of sound, readings being recorded meanwhile
// (sooner when the readings have stopped: the input watchdog stops a recording exactly
// then). The sound of that second may still be on its way from the sound server when the
// second is over: the wait goes on until it has arrived, keeping no record past the end.
// Then the pre-roll second is cut off so that sound position 0 is the first record's time.
void Recorder::Finish_Sound() {
  SessionState& st = ctx_.state;
  AudioDevice& audio = ctx_.audio;
  st.MciResult = Query_Position(audio, st);
  const int32_t s0 = st.AudioPosition / SoundBytesPerSecond;
  const int32_t end = (s0 + 1) * SoundBytesPerSecond;
  endMs_ = s0 * 1000;  // the recording's time runs a second behind the sound's
  Stillness sound(ctx_.clock, SoundStall, st.AudioPosition), stream(ctx_.clock, StreamSilence, st.RecordCount);
  Wait_Until(
      ctx_.events, ctx_.clock, 1.0 + WaitMargin,
      [&] {
        st.MciResult = Query_Position(audio, st);
        int32_t captured = 0;
        return st.AudioPosition >= end && audio.Length(captured) == 0 && captured >= end;
      },
      [&] { return sound.Still(st.AudioPosition) || (st.AudioPosition < end && stream.Still(st.RecordCount)); });
  const int32_t seconds = std::max(0, st.AudioPosition / SoundBytesPerSecond - 1);
  // The sound ends with the records, on the same whole second: a server that let a
  // backlog go at the stop, or a capture that fell behind, does not make it run on or
  // fall short.
  st.MciResult = audio.EndAt((seconds + 1) * SoundBytesPerSecond);
  st.MciResult = audio.SeekToStart();
  Show_Length(seconds);
  memory_.Spool().Finish(seconds);  // before the pre-roll is cut: the spool's sound follows it
  st.MciResult = audio.DeleteFromStart(SoundBytesPerSecond);
  Query_Length(audio, st);
}

// Without sound the readings end on a whole second of messages — unless the stream has
// gone quiet (the input watchdog stops a recording exactly then).
void Recorder::Finish_Count() {
  SessionState& st = ctx_.state;
  Stillness stream(ctx_.clock, StreamSilence, st.RecordCount);
  Wait_Until(
      ctx_.events, ctx_.clock, 1.0 + WaitMargin, [&] { return st.RecSampleCount % RecordsPerSecond == 0; },
      [&] { return stream.Still(st.RecordCount); });
  Show_Recording_Length(ctx_, st.RecSampleCount / RecordsPerSecond, st.TotalTimeMs / 1000);
  memory_.Spool().Finish(st.RecSampleCount / RecordsPerSecond);
}

// ---------------------------------------------------------------------------------------
// Sound on and off

void Recorder::mnuRecAudioOn_Click() {
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;
  memory_.Flush_RecBuffer(*leave);
  Use_Sound(true);
}

void Recorder::mnuRecAudioOff_Click() {
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;
  memory_.Flush_RecBuffer(*leave);
  Use_Sound(false);
}

void Recorder::Use_Sound(bool on) {
  Tick_Pair(ctx_.controls, ctl::mnuRecAudioOn, ctl::mnuRecAudioOff, on);
  ctx_.settings.AudioEnable = on;
  if (!on) Check_Silent_Track(ctx_);
  ctx_.shell.Update_Command_State();
}

}  // namespace zk
