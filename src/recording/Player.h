#pragma once
// The player: shows a recording in memory (just recorded or loaded) through the meter,
// paced by its sound track. The track is the clock — each record is handed to the meter
// once the track's position reaches its TimeMs, and records are dropped while the sound
// runs ahead. Play, pause and resume, the stop half, skipping, loop or single play, the
// seek bar with its play range, and the display set-up after a load live here.
//
// The play loop runs inside cmdPlay_Click and waits through Events::DoEvents, so pause,
// stop, skip, seek and the timers arrive as events during its waits; it ends when the
// operating mode leaves playback or the window is closing.
#include <cstdint>
#include <functional>
#include <string>

#include "core/Context.h"
#include "core/StreamGate.h"
#include "core/TransportView.h"
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

  // The seek bar, x in its scale units (0..SeekBar_ScaleWidth); button 1 left, 2 right.
  void picFilePosition_MouseDown(int button, float x);
  void picFilePosition_MouseMove(int button, float x);
  void picFilePosition_MouseUp(int button, float x);

  // Record k from another view of the recording (the overview, the tag keys), by the seek
  // bar's rules. Playing or paused: the play position moves to k, and a k outside the play
  // range is ignored as a click outside the range box is. Stopped: the play range runs from
  // k to the end of the file, as after a click without a drag.
  void Seek_To_Record(int32_t k);
  // Stopped: the play range first..last, as a drag over the seek bar selects one.
  void Select_Range(int32_t first, int32_t last);

  // Playing or paused.
  bool Active() const;
  // The window is going: a running play loop and its waits end at once, the sound stops
  // and nothing more is drawn.
  void Shut_Down();

  // Called after each record has been shown (for measuring how late records are drawn).
  void SetShownHook(std::function<void()> shown) { shown_ = std::move(shown); }

  // Audio position of record k, in the open track's units.
  int32_t Record_Position(int32_t k) const;

  // A wait of the sound clock ends when the track's position has not moved for this long
  // while the device says it is playing: the track is treated as ended.
  static constexpr double StallSeconds = 2.0;

 private:
  void Start();
  void Pause();
  void Resume();
  bool Playing_On() const;  // the play loop and its waits go on
  void Wait(double seconds);
  bool Wait_For_Record(float& target);
  void Lag_Lamp_Off();
  void Show_Elapsed();
  void Draw_Progress();
  void Draw_Range_Box();
  void Skip_By(int32_t records);
  void Show_Record_Position();
  void Restore_User_Values(bool draw);
  void Normalize_Range();
  int32_t Clamp_To_Range(int32_t k) const;
  int32_t Record_At(double x) const;  // record under seek-bar x, 1..RecordCount
  int32_t X_Of(int32_t k) const;      // seek-bar x of record k
  void Move_Play_Position(int32_t k);
  const SampleRecord& Record(int32_t k) const;
  std::string Time_At(double x) const;
  void Show_Recording_Clock(int32_t seconds);
  void Show_Present_Clock();
  void Query_Position();
  int32_t Width() const;

  Context& ctx_;
  TransportView& bar_;
  MeterEngine& engine_;
  StreamGate& gate_;
  Transport& transport_;
  bool closing_ = false;
  bool busy_ = false;  // a start or pause waits out its banner
  bool stopping_ = false;
  double progressEnd_ = -1;  // right end of the progress bar last drawn
  std::function<void()> shown_;
  int32_t stallPosition_ = -1;
  double stallSince_ = 0;
};

}  // namespace zk
