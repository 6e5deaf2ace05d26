#pragma once
// The meter display: owns the drawing surfaces of the main window (picMeterPanel, picKnob,
// picBD, picGraph, picFilePosition) and the classes that draw on them, and implements the
// view interface the lower layers call.
//
// The display draws what it is given; the needle value comes from the meter engine, which
// runs the reading step and calls Draw_Needle. The display never calls the engine.
//
// Construction order: the Context holds a MeterView&, but the display's parts need the
// Context. Build the Context with a ForwardingView (display/ForwardingView.h), then the
// counters and this display, and finally point the forwarding view at the display. The
// display itself never calls ctx.view; its parts call each other directly.
//
// The drawing procedures handle no errors themselves: an overflow (OverflowError) or a
// knob step without a gain text (std::out_of_range) ends the procedure and passes to the
// caller, which decides what to skip.
#include <cstdint>
#include <string>

#include "core/Context.h"
#include "core/MeterView.h"
#include "core/TransportView.h"
#include "display/ClockDisplay.h"
#include "display/Dial.h"
#include "display/GraphMenu.h"
#include "display/Knob.h"
#include "display/ModeBanner.h"
#include "display/NeedleDrawer.h"
#include "display/Readouts.h"
#include "display/StripChart.h"
#include "display/Surface.h"
#include "meter/Counters.h"
#include "meter/SensitivityTable.h"

namespace zk {

class MeterDisplay : public MeterView, public TransportView {
 public:
  MeterDisplay(Context& ctx, Counters& counters, const SensitivityTable& table);

  // tmrMessage -> tmrMessage_Timer. Call once, from the owner of the window's timers.
  void Connect_Timers();

  // The surfaces, for the widgets that show them and for the layout.
  Surface picMeterPanel;
  Surface picKnob;
  Surface picBD;
  Surface picGraph;
  Surface picFilePosition;

  // MeterView.
  void Draw_Panel() override;
  void Draw_Needle(int32_t p) override;
  void Remove_Needle() override;
  void Update_LED(int32_t color) override;
  void Update_ModeDisplay() override;
  void Update_BaseDisplay(const std::string& text) override;
  void Update_BdDisplay(const std::string& text) override;
  void Update_SensKnob() override;
  void Update_Graph(int32_t raw) override;
  void Update_Clock(int16_t& hour, int16_t& minute, int16_t& second, int32_t dateSerial) override;
  void Hold_Repaints() override;
  void Show_Held() override;

  // TransportView: the word on the panel and the seek bar picFilePosition.
  void Show_TransportWord(const std::string& word) override;
  int32_t SeekBar_ScaleWidth() const override;
  void SeekBar_Clear() override;
  void SeekBar_Box(double x1, double y1, double x2, double y2, int32_t color) override;
  void SeekBar_SetCurrentX(double x) override;
  int32_t ButtonFaceColor() const override;
  int32_t HighlightColor() const override;

  // Derived colours (stored in the session state).

  // Mouse on picKnob: button 1 = left; x, y in the knob's coordinates.
  void picKnob_MouseDown(int button, int shift, float x, float y);
  void picKnob_MouseMove(int button, int shift, float x, float y);
  // Mouse on picBD: forwarded to the BD counter (short click toggles, long press resets).
  void picBD_MouseDown(int button, int shift, float x, float y);
  void picBD_MouseUp(int button, int shift, float x, float y);

  // The short banner message's second is over.
  void tmrMessage_Timer();

  // Graph menu commands (see GraphMenu).
  void mnuViewGraph_Click() { graphMenu.mnuViewGraph_Click(); }
  void mnuGraphGridX_Click() { graphMenu.mnuGraphGridX_Click(); }
  void mnuGraphGridY_Click() { graphMenu.mnuGraphGridY_Click(); }
  void mnuGraphInvert_Click() { graphMenu.mnuGraphInvert_Click(); }
  void mnuGraphPenWidthIndex_Click(int index) { graphMenu.mnuGraphPenWidthIndex_Click(index); }
  void mnuGraphHeightIndex_Click(int index) { graphMenu.mnuGraphHeightIndex_Click(index); }
  void mnuGraphTimescaleSecs_Click(int index) { graphMenu.mnuGraphTimescaleSecs_Click(index); }

  // The drawing parts, reachable for the layout, the player and tests.
  Dial dial;
  NeedleDrawer needle;
  Knob knob;
  Readouts readouts;
  ModeBanner banner;
  ClockDisplay clockDisplay;
  StripChart chart;
  GraphMenu graphMenu;

 private:
  void Draw_Clock();
  Context& ctx_;
  Counters& counters_;
};

}  // namespace zk
