#pragma once
// A meter display wired to the test fakes, with the display itself as the Context's view,
// so that what the engine and the banner rules ask for is drawn on the real surfaces.
#include <QImage>
#include <QRegion>

#include <cmath>

#include "Fakes.h"
#include "base/Numbers.h"
#include "display/ForwardingView.h"
#include "display/MeterDisplay.h"
#include "meter/MeterEngine.h"

namespace zk::test {

struct DisplayRig : VirtualWindowTimers {
  Settings settings;
  SessionState state;
  FakeEvents events{clock};
  ScriptedPrompts prompts;
  ForwardingView view;
  FakeControls controls;
  FakeShell shell;
  FakeAudio audio;
  FakeRecordSink recorder;
  Context ctx{settings, state, clock, events, prompts, All(), view, controls, shell, audio, "/tmp"};
  SensitivityTable table;
  MeterEngine engine{ctx, table};
  Counters counters{ctx};
  MeterDisplay display{ctx, counters, table};

  // A panel of the given width in the 1.6 : 1 shape, with the knob and BD counter at their
  // laid-out sizes, backed at the given device pixel ratio.
  explicit DisplayRig(int width = 800, double ratio = 1) {
    for (Surface* s : {&display.picMeterPanel, &display.picKnob, &display.picBD, &display.picGraph})
      s->SetDevicePixelRatio(ratio);
    table.Init_SensTable();
    engine.SetRecordSink(&recorder);
    view.SetTarget(&display);
    display.Connect_Timers();
    counters.Connect_Timers();
    const int height = CInt32(width / 1.6);
    display.picMeterPanel.Resize(width, height);
    display.picKnob.Resize(CInt32(width * 0.15), CInt32(width * 0.15));
    display.picBD.Resize(CInt32(width * 0.1), CInt32(height * 0.08));
    display.picGraph.Resize(width, CInt32(height * 0.6));
    state.ResetPending = true;  // the first needle update paints the face
  }

  Surface& panel() { return display.picMeterPanel; }

  // Colour of the panel pixel under a point in panel units.
  int32_t At(double x, double y) {
    return panel().PixelColor(static_cast<int>(std::floor(panel().PxX(x))),
                              static_cast<int>(std::floor(panel().PxY(y))));
  }
  // Colour at distance r along a needle value p from a pivot.
  int32_t AtNeedle(int32_t p, double r, double pivotY) {
    const double t = p * 6.28318 / 65536;
    return At(std::sin(t) * r, std::cos(t) * r + pivotY);
  }

  // Draws the needle at p as the player would: playback without override takes the
  // recorded needle value, and the engine has the display draw it.
  void Needle(int32_t p) {
    state.OperatingMode = ModePlayback;
    state.WorkRecord.Needle = static_cast<int16_t>(p);
    engine.Update_Needle();
  }
};

// Counts the runs of pixels close to `color` along an arc of radius r (panel units) about
// (cx, cy), from angle a0 to a1 (radians counter-clockwise from 3 o'clock).
int CountRuns(Surface& s, double cx, double cy, double r, double a0, double a1, int32_t color);

// True when the two colours differ by at most `tol` in every channel.
bool Near(int32_t a, int32_t b, int tol = 30);

// The pixels where two images of one size differ, as a region, and how many they are.
QRegion Differing(const QImage& x, const QImage& y);
int Changed(const QImage& x, const QImage& y);

}  // namespace zk::test
