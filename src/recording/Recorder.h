#pragma once
// The recorder: records the live session — one record per drawn needle, with the room
// sound — into memory, stops on a whole second of the recording, and keeps or saves the
// result by the recording mode (the saver decides which). It also owns the sound on/off
// menus, either of which may throw away the recording in memory.
//
// Time base: with sound, each record lies where the sound was when its reading was taken
// (RecordClock: 20 ms a message from an offset taken from the sound's position, which the
// receive path reads into AudioPosition with every message; RecSampleCount counts the
// messages of the recording); without sound the message count alone times the records,
// at 20 ms a message.
//
// Every wait here (the pre-roll second, the stop on the next whole second) lets the window
// process events and ends on its own: when it is done, when the sound device or the reading
// stream stops advancing, or a little after the second it waits for (the pre-roll allows
// for a slow start of the sound input).
#include <cstdint>
#include <functional>
#include <string>

#include "base/RecordingRates.h"
#include "core/CommandTable.h"
#include "core/Context.h"
#include "core/RecordSink.h"
#include "core/StreamGate.h"
#include "core/TransportView.h"
#include "recording/RecordClock.h"
#include "recording/RecordTimeBase.h"
#include "recording/RecordingMemory.h"
#include "recording/RecordingSaver.h"
#include "recording/Transport.h"

namespace zk {

class Recorder : public RecordSink, public StopHalf {
 public:
  // The time of one record at the sensor's rate.
  static constexpr int32_t ReadingMs = RecordMs;
  // A sound device whose position does not move for this long while recording has
  // stalled (seconds).
  static constexpr double SoundStall = 0.5;
  // The longest pre-roll: a sound input may take a few seconds to deliver its first sound,
  // and the audio device replaces one that delivers nothing for 5 s by the clock (seconds).
  static constexpr double PreRollLimit = 7.0;
  // A stream that delivers no reading for this long has gone quiet (seconds): no record
  // would come to wait for.
  static constexpr double StreamSilence = 0.25;
  // How long past the second they wait for the waits may run at most (seconds).
  static constexpr double WaitMargin = 0.5;
  // Sound beyond the time since the capture began by more than this, in the pre-roll, was
  // waiting at the sound server before the recording (bytes: 50 ms).
  static constexpr int32_t BurstBytes = SoundBytesPerSecond / 20;

  // Installs the recording's time base as the receive path's (Context::timeBase).
  Recorder(Context& ctx, TransportView& view, StreamGate& gate, RecordingMemory& memory, RecordingSaver& saver);
  ~Recorder() override;

  // The Recording menu: Audio On, Audio Off.
  void Register_Commands(CommandTable& commands);

  // The record button: the guard, a fresh buffer and sound track, the pre-roll second,
  // then recording mode with the stream running.
  void cmdRecord_Click();
  // One record per needle drawn while recording.
  void Record_Sample(int16_t needle, uint8_t kind) override;
  // The recording half of the stop button: runs on to the next whole second, cuts the
  // pre-roll second from the sound, then keeps or saves the recording by mode.
  void Stop() override;
  // A recording brought back into memory from the spool of a run that did not end
  // normally — records, sound and start values in place — is kept as after a stop of
  // `seconds` whole seconds: named as a recording started then, shown, unsaved, and in
  // "Auto Save" saved at once.
  void Keep_Recovered(int32_t seconds);
  // The session's sound values for a recording's own sound (16-bit mono at 22050 a
  // second, positions in bytes).
  static void Use_Sound_Format(SessionState& st);

  void mnuRecAudioOn_Click();
  void mnuRecAudioOff_Click();
  // The sound menus' ticks and AudioEnable for `on`, the silent track checked when off,
  // without touching the recording in memory: the record panel shown again takes the
  // settings' choice so, and no recording is in memory then that could be cut.
  void Use_Sound(bool on);

 private:
  void Pre_Roll();
  void Drop_Burst(double begun);
  // RecordName for a recording started at `now`, shown by the recording mode.
  void Name_New_Recording(const DateTime& now);
  void Finish_Sound();
  void Finish_Count();
  // lblPlayTime at 0, lblTotalTime and the skip length for `seconds` of recording.
  void Show_Length(int32_t seconds);
  // After the readings have ended: the range is the whole recording, which is kept
  // unsaved, or saved, by the recording mode (an empty one is dropped).
  void Keep_Stopped();
  uint8_t Lamp_Code() const;
  int32_t Record_Time();
  void Show_Sound_Lost();

  Context& ctx_;
  TransportView& view_;
  StreamGate& gate_;
  RecordingMemory& memory_;
  RecordingSaver& saver_;
  RecordClock times_;
  RecordTimeBase timeBase_{ctx_};
  // While the stop waits for the sound of the last second: records from this time (ms) on
  // are past the recording's end and are not kept. -1: no end yet.
  int32_t endMs_ = -1;
  // The pre-roll is over and the spool begun: readings are records from now on.
  bool taking_ = true;
};

}  // namespace zk
