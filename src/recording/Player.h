#pragma once
// The player: shows a recording in memory (just recorded or loaded) through the meter,
// paced by its sound track. The track is the clock — each record is handed to the meter
// once the track's position reaches its TimeMs, and records are dropped while the sound
// runs ahead. Play, pause and resume, the stop half, loop or single play, and the display
// set-up after a load live in Player.cpp, skipping and seeking in PlayerSkip.cpp; the play
// range arithmetic in PlayRange, the seek bar's mouse and the banner clock in SeekBar.
//
// The play loop runs inside cmdPlay_Click and waits through Events::DoEvents, so pause,
// stop, skip, seek and the timers arrive as events during its waits; it ends when the
// operating mode leaves playback or the window is closing. See Play_Loop in Player.cpp.
#include <cstdint>
#include <functional>
#include <string>

#include "core/Context.h"
#include "core/StreamGate.h"
#include "core/TransportView.h"
#include "core/Wait.h"
#include "meter/LagLamp.h"
#include "recording/PlayRange.h"
#include "recording/SeekBar.h"
#include "recording/Transport.h"

namespace zk {

class MeterEngine;

class Player : public StopHalf {
 public:
  // Registers itself as the transport's playback half and as tmrSkip's handler.
  Player(Context& ctx, TransportView& view, MeterEngine& engine, StreamGate& gate, Transport& transport);

  // The panel after a successful Load_File (or a recording kept in memory): file name,
  // times, skip length, the whole file as the play range.
  void Show_Loaded_File(const std::string& basePath);

  // Start (and play to the end of the range or a stop), pause or resume, by PlayState.
  void cmdPlay_Click();
  // Waits for the sound clock and delivers the next record into WorkRecord (NewReading).
  void Playback_Step();
  // Replays the range from its start (loop mode).
  void Restart_Loop();
  // The playback half of cmdStop_Click.
  void Stop() override;

  void cmdFwd_Click();
  void cmdRev_Click();
  void tmrSkip_Timer();
  void cmdLoop_Click();
  // The "Overide" box: checked, the meter computes from the recorded readings with the
  // user's own settings instead of replaying what was shown.
  void chkOveride_Click(bool checked);

  // The seek bar picFilePosition (its mouse handlers) and the play range it marks.
  SeekBar& Seek_Bar() { return seekBar_; }
  const PlayRange& Range() const { return range_; }

  // Playing or paused.
  bool Active() const;
  // The window is going: a running play loop and its waits end at once, the sound stops
  // and nothing more is drawn.
  void Shut_Down();

  // Called after each record has been shown (for measuring how late records are drawn).
  void SetShownHook(std::function<void()> shown) { shown_ = std::move(shown); }

  // A wait of the sound clock ends when the track's position has not moved for this long
  // while the device says it is playing: the track is treated as ended.
  static constexpr double StallSeconds = 2.0;

 private:
  // The steps of a start.
  void Start();
  void Put_User_Values_Aside();
  void Enter_Playback_Mode();
  void Seek_To_Range_Start();
  void Start_Sound();
  void Show_Playing();
  void Play_Loop();

  void Pause();
  void Resume();
  bool Playing_On() const;  // the play loop and its waits go on
  void Wait(double seconds);
  bool Wait_For_Record(float& target);
  void Show_Elapsed();
  void Skip_By(int32_t records);
  // A seek bar click while playing: record k of the range is next, the sound goes there.
  void Seek_To(int32_t k);
  void Show_Record_Position();
  void Restore_User_Values(bool draw);

  Context& ctx_;
  TransportView& bar_;
  MeterEngine& engine_;
  StreamGate& gate_;
  Transport& transport_;
  PlayRange range_;
  RecordingClock clock_;
  SeekBar seekBar_;
  LagLamp lagLamp_;
  Stillness stall_;  // the sound's position while it should be moving
  bool closing_ = false;
  bool busy_ = false;  // a start or pause waits out its banner
  bool stopping_ = false;
  std::function<void()> shown_;
};

}  // namespace zk
