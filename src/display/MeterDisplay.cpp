#include "display/MeterDisplay.h"

#include <QGuiApplication>
#include <QPalette>

#include "base/Clock.h"
#include "base/DialTypes.h"
#include "base/Numbers.h"
#include "core/Banner.h"
#include "display/DerivedColors.h"
#include "display/SurfaceWidget.h"

namespace zk {

MeterDisplay::MeterDisplay(Context& ctx, Counters& counters, const SensitivityTable& table)
    : dial(ctx, picMeterPanel),
      needle(ctx, picMeterPanel),
      knob(ctx, picKnob, picMeterPanel, table),
      readouts(ctx, picMeterPanel, picBD),
      banner(ctx, picMeterPanel),
      clockDisplay(ctx, picMeterPanel, picBD),
      chart(ctx, picGraph, table),
      graphMenu(ctx, chart, picGraph, picMeterPanel),
      ctx_(ctx),
      counters_(counters) {
  picMeterPanel.Scale(-1000, 1200, 2000, -1250);
  picFilePosition.Scale(0, 0, 1000, 100);
}

void MeterDisplay::Connect_Timers() {
  ctx_.timers.tmrMessage.SetHandler([this] { tmrMessage_Timer(); });
}

void MeterDisplay::Draw_Panel() {
  const Settings& s = ctx_.settings;
  SessionState& st = ctx_.state;
  picMeterPanel.SetBackColor(s.Panel_Color);
  picBD.SetBackColor(s.Panel_Color);
  picKnob.SetBackColor(s.Panel_Color);
  // The clear removes the needle too: the next reading draws it without erasing.
  st.ResetPending = true;
  picMeterPanel.Cls();
  dial.Draw_Face();
  // The face alone, before any text or lamp: what the needle and the lamp give back.
  picMeterPanel.KeepFace();
  readouts.Update_BaseDisplay(st.BaseText);
  readouts.Update_BdDisplay(st.BdText);
  st.StatusColor = s.Text_Color;
  banner.Update_ModeDisplay();
  Draw_Clock();
  knob.Update_SensKnob();
  // A lamp lit before the repaint (a recorded lamp on the first record of a playback, a
  // SET still within its time) is drawn again in its colour; its timer or the next record
  // puts it out.
  const int32_t lamp = st.LedColor;
  const bool lit = lamp == s.LED_Set_Color || lamp == s.LED_BM_Color || lamp == s.LED_Lag_Color;
  if (lit && lamp != s.Dial_Color) readouts.Update_LED(lamp);
}

void MeterDisplay::Draw_Clock() {
  SessionState& st = ctx_.state;
  if (st.OperatingMode == ModePlayback) {
    // A recording without a start time has no clock.
    if (st.RecordStartSeconds == 0) return;
    // No time base (a damaged audio header) gives no elapsed time rather than a fault.
    st.ElapsedSecs = st.PlayUnitsPerSecond > 0 ? st.AudioPosition / st.PlayUnitsPerSecond : 0;
    const int32_t t = CInt32(static_cast<double>(st.ElapsedSecs) + st.RecordStartSeconds);
    int16_t hour = CInt16(t / 3600), minute = static_cast<int16_t>((t / 60) % 60), second = 0;
    clockDisplay.Update_Clock(hour, minute, second, st.RecordDate);
    return;
  }
  const DateTime now = ctx_.clock.Now();
  int16_t hour = static_cast<int16_t>(now.hour), minute = static_cast<int16_t>(now.minute),
          second = static_cast<int16_t>(now.second);
  clockDisplay.Update_Clock(hour, minute, second, DateSerial(now.year, now.month, now.day));
}

void MeterDisplay::Draw_Needle(int32_t p) { needle.Draw(p); }

void MeterDisplay::Remove_Needle() {
  needle.Remove_Needle();
  // The wipe of the traditional face overpaints the banner.
  if (Arc_Dial(ctx_.settings.DialType)) banner.Update_ModeDisplay();
}

void MeterDisplay::Update_LED(int32_t color) { readouts.Update_LED(color); }
void MeterDisplay::Update_ModeDisplay() { banner.Update_ModeDisplay(); }
void MeterDisplay::Update_BaseDisplay(const std::string& text) { readouts.Update_BaseDisplay(text); }
void MeterDisplay::Update_BdDisplay(const std::string& text) { readouts.Update_BdDisplay(text); }
void MeterDisplay::Update_SensKnob() { knob.Update_SensKnob(); }
void MeterDisplay::Update_Graph(int32_t raw) { chart.Update_Graph(raw); }

void MeterDisplay::Update_Clock(int16_t& hour, int16_t& minute, int16_t& second, int32_t dateSerial) {
  clockDisplay.Update_Clock(hour, minute, second, dateSerial);
}

void MeterDisplay::Hold_Repaints() { SurfaceWidget::Hold_Repaints(); }
void MeterDisplay::Show_Held() { SurfaceWidget::Show_Held(); }

void MeterDisplay::picKnob_MouseDown(int button, int shift, float x, float y) {
  knob.picKnob_MouseDown(button, shift, x, y);
}
void MeterDisplay::picKnob_MouseMove(int button, int shift, float x, float y) {
  knob.picKnob_MouseMove(button, shift, x, y);
}
void MeterDisplay::picBD_MouseDown(int, int, float, float) { counters_.picBD_MouseDown(); }
void MeterDisplay::picBD_MouseUp(int, int, float, float) { counters_.picBD_MouseUp(); }

void MeterDisplay::tmrMessage_Timer() { End_Message(ctx_); }

// ---------------------------------------------------------------- transport

void MeterDisplay::Show_TransportWord(const std::string& word) {
  // A pause keeps the needle where the playback stands, the word printed over it; the
  // other words stand for a needle that is not there yet or no longer.
  if (word != "PAUSE") Remove_Needle();
  Surface& p = picMeterPanel;
  p.ForeColor = ctx_.state.FaintNeedleColor;
  p.SetFontName("Aerial");
  p.SetFontSize(p.WidthPx() * 0.07);
  p.SetFontBold(false);
  // The word is printed over the dial; the banner that prints next wipes its old text
  // with opaque blanks, so the panel's text mode is given back.
  const bool transparent = p.FontTransparent;
  p.FontTransparent = true;
  p.CurrentX = -p.TextWidth(word) / 2;
  p.CurrentY = 850;
  p.Print(word);
  p.FontTransparent = transparent;
}

int32_t MeterDisplay::SeekBar_ScaleWidth() const { return CInt32(picFilePosition.ScaleWidth()); }

void MeterDisplay::SeekBar_Clear() { picFilePosition.Cls(); }

void MeterDisplay::SeekBar_Box(double x1, double y1, double x2, double y2, int32_t color) {
  picFilePosition.FilledBox(x1, y1, x2, y2, color);
}

void MeterDisplay::SeekBar_SetCurrentX(double x) { picFilePosition.CurrentX = x; }

namespace {
// The system colours of the desktop; without a GUI application (unit tests of the lower
// layers) the classic defaults.
int32_t SystemColor(QPalette::ColorRole role, int32_t fallback) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return fallback;
  return Surface::FromQColor(QGuiApplication::palette().color(role));
}
}  // namespace

int32_t MeterDisplay::ButtonFaceColor() const { return SystemColor(QPalette::Button, 0xC0C0C0); }
int32_t MeterDisplay::HighlightColor() const { return SystemColor(QPalette::Highlight, 0x6A240A); }

}  // namespace zk
