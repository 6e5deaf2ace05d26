#pragma once
// Turns each reading into what the meter shows: the smoothed reading, the needle value,
// the base and blow-down (BD) values, and the body-motion state. During playback it
// restores the display state stored with each recorded sample instead.
//
// The engine owns the reading step. Per reading the order is: Process_Sample, then
// Update_Needle, which computes the needle, hands it to the view to draw and then, while
// recording, to the recording sink. The view only draws what it is given.
#include <cstdint>
#include <string>

#include "base/DialTypes.h"
#include "core/Context.h"
#include "core/RecordSink.h"
#include "meter/SensitivityTable.h"

namespace zk {

// Needle values: 1/65536 of a full turn, clockwise from straight up.
namespace Needle {
constexpr int32_t SetMark = -2503;    // SET mark of the traditional dials
constexpr int32_t ScaleEnd = 10000;   // end of the traditional scale
constexpr int32_t Overshoot = 10500;  // how far the needle may go past it
}  // namespace Needle

class MeterEngine {
 public:
  MeterEngine(Context& ctx, const SensitivityTable& table);

  // Where each needle drawn while recording goes (nothing is recorded without one). The
  // recorder is attached once it exists; it never calls back into the engine.
  void SetRecordSink(RecordSink* sink) { sink_ = sink; }

  // Adaptive moving average of RawReading into FilteredReading (window 3..10).
  void Filter();
  // One reading: the live path (smoothing and body motion), or in playback without
  // PlaybackOverride the path that restores tag, lamp, freeze, BD, base, sensitivity and
  // dial type from state.WorkRecord.
  void Process_Sample();
  // One reading on the meter, the same for a live reading and a played record:
  // Process_Sample, Update_Needle, and Update_Graph(RawReading) while the strip chart is
  // shown.
  void Show_Reading();
  // The needle step: a pending reset first redraws the whole panel (which also clears the
  // old needle); then Needle_Position is drawn by the view and handed on (Needle_Drawn).
  // A drawing or recording failure passes to the caller with ResetPending still set.
  void Update_Needle();
  // Needle value for a smoothed reading on the current dial type; updates the reference,
  // LastNeedle, LastSensitivityIndex, the fall/rise timers and the SET lamp.
  int32_t Calc_Needle(int32_t reading);
  // Base step, BD total and their texts from RawReading; fills WorkRecord.BaseStep/BdValue.
  void Calc_Base();
  // Folds an angle once into (0, 6.28318]; exactly 0 becomes 0.00001.
  static float CAng(float angle);

  // Text rules shared with the recorder, the player and the tools.
  static uint8_t Base_Step(int32_t raw);              // 4..245 for raw 0..65535
  static const std::string& Base_Text(uint8_t step);  // (step \ 2 + 8) / 20, "0.0#"
  static std::string Bd_Text(int32_t bdValue);        // bdValue = BdTotal \ 4; "#0.0", "000" above 999

 private:
  // Shows the base text of `step` when it changed and stores the step and BD in WorkRecord.
  void Show_Base(uint8_t step);
  // The needle value to draw now: the recorded needle in playback without override,
  // otherwise Calc_Base then Calc_Needle(FilteredReading); the sync test's SyncValue
  // replaces it while that test runs.
  int32_t Needle_Position();
  // After the needle p was drawn: while recording, hands CInt16(p) to the sink (a value
  // outside 16 bits throws OverflowError and leaves ResetPending set); then clears
  // ResetPending.
  void Needle_Drawn(int32_t p);
  int32_t Arc_Needle(int32_t reading, int32_t m, bool stepChanged);
  int32_t Circular_Needle(int32_t reading, int32_t m, bool stepChanged);
  void Live_Sample();
  void Playback_Sample();
  void Set_Needle_Lamp();
  void Adopt_Dial_Type(uint8_t flags);
  void Show_Recorded_Lamp(uint8_t lamp);

  Context& ctx_;
  const SensitivityTable& table_;
  RecordSink* sink_ = nullptr;
};

}  // namespace zk
