#include "display/WindowLayout.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "base/Numbers.h"
#include "core/UnexpectedError.h"
#include "display/MeterDisplay.h"

namespace zk {

namespace {
constexpr double Aspect = 1.6;  // meter panel width : height

// The layout goes on past a statement that fails (an overflow, a refused size): each
// step runs on its own and a failure only skips that step.
template <class F>
void Step(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    Report_Unexpected("laying out the window", e);
  }
}

// A child's box given in a surface's user units (left, top, and a width and height that
// always extend right and down on the screen), in that surface's pixels.
QRect PixelRect(const Surface& s, double left, double top, double width, double height) {
  const double w = width / std::abs(s.ScaleWidth()) * s.WidthPx();
  const double h = height / std::abs(s.ScaleHeight()) * s.HeightPx();
  return QRect(CInt32(s.PxX(left)), CInt32(s.PxY(top)), CInt32(w), CInt32(h));
}
}  // namespace

int RecordPanelHeight(const WindowView& view) { return view.recordVisible ? 81 : 0; }

int MinimumClientWidth(const WindowView& view) { return view.recordVisible ? 550 : 325; }

int16_t PanelHeightFor(int width) { return CInt16(width / Aspect); }

int16_t GraphHeightFor(int16_t panelHeight, int graphFifths) {
  return CInt16(CInt16(static_cast<double>(panelHeight) * graphFifths) / 5.0);
}

int NormalWindowHeight(int width, const WindowView& view, const WindowChrome& chrome) {
  const int16_t mh = PanelHeightFor(width - chrome.insideWidth);
  return mh + GraphHeightFor(mh, view.graphFifths) + RecordPanelHeight(view) + chrome.insideHeight;
}

int FitWindowWidth(QSize workArea, const WindowView& view, const WindowChrome& chrome, int wanted) {
  const int tallest = workArea.height() - chrome.outsideHeight;
  auto fits = [&](int w) {
    try {
      return NormalWindowHeight(w, view, chrome) <= tallest;
    } catch (const OverflowError&) {
      return false;  // a height beyond any screen
    }
  };
  const int minimum = MinimumClientWidth(view) + chrome.insideWidth;
  const int widest = std::max(1, workArea.width() - chrome.outsideWidth);
  const int width = std::min(std::max(minimum, wanted), widest);
  if (fits(width)) return width;
  // The height grows with the width: the widest width that fits, by halving the interval.
  int lo = std::min(minimum, width), hi = width - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (fits(mid))
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

WindowLayout::WindowLayout(Context& ctx, MeterDisplay& display, LayoutHost& host)
    : ctx_(ctx), display_(display), host_(host) {}

void WindowLayout::Get_Window_Metrics() {
  const SystemMetrics m = host_.Metrics();
  WindowMetrics next;
  next.TitleMenuHeight = CInt16(static_cast<double>(m.captionHeight) + m.menuHeight);
  next.NonClientHeight = CInt16(2.0 * m.frameHeight + next.TitleMenuHeight);
  next.NonClientWidth = CInt16(2.0 * m.frameWidth);
  metrics_ = next;
}

void WindowLayout::SysInfo_DisplayChanged() {
  (void)host_.WorkAreaHeightTwips();  // read as the notification does; the value is not used
  Step([&] { Get_Window_Metrics(); });
  Form_Resize();
}

void WindowLayout::Fit_Work_Area(const WindowView& view) {
  const QSize work(host_.WorkAreaWidthTwips() / WorkAreaTwipsPerPixel,
                   host_.WorkAreaHeightTwips() / WorkAreaTwipsPerPixel);
  const QSize outside = host_.OuterFrameSize();
  const WindowChrome chrome{metrics_.NonClientWidth, metrics_.NonClientHeight, std::max(0, outside.width()),
                            std::max(0, outside.height())};
  const int perPixel = host_.TwipsPerPixelX();
  const int wanted = CInt32(static_cast<double>(host_.WindowWidthTwips()) / perPixel);
  const int width = FitWindowWidth(work, view, chrome, wanted);
  if (width != wanted) host_.SetWindowWidthTwips(CInt32(static_cast<double>(width) * perPixel));
}

void WindowLayout::Layout_Normal(const WindowView& view, int16_t& graphH) {
  const int recH = RecordPanelHeight(view);
  int16_t mh = 0;
  auto panelHeights = [&] {
    mh = PanelHeightFor(host_.ClientWidth());
    graphH = GraphHeightFor(mh, view.graphFifths);
  };
  // Wide enough for the content, no wider than the work area, and no taller than it.
  Step([&] { Fit_Work_Area(view); });
  Step(panelHeights);
  Step([&] {
    const int16_t rows = CInt16(static_cast<double>(mh) + graphH + recH + metrics_.NonClientHeight);
    host_.SetWindowHeightTwips(CInt32(static_cast<double>(rows) * host_.TwipsPerPixelY()));
  });
  // Setting the height may have changed the client width (a scroll bar, a refused size).
  Step(panelHeights);
  Step([&] { panel_ = QRect(0, 0, host_.ClientWidth(), mh); });
}

void WindowLayout::Layout_Maximised(int16_t recH, int16_t gh, int16_t& graphH) {
  auto panelHeights = [&] {
    const int16_t mh = PanelHeightFor(panel_.width());
    graphH = GraphHeightFor(mh, gh);
    panel_.setHeight(mh);
  };
  Step([&] {
    const float available = static_cast<float>(host_.WorkAreaHeightTwips()) / WorkAreaTwipsPerPixel -
                            static_cast<float>(recH + metrics_.TitleMenuHeight);
    const float w = available * 1.6f / (gh / 5.0f + 1);
    panel_.setWidth(CInt32(w));
    panel_.moveLeft(CInt32((host_.ClientWidth() - static_cast<double>(w)) / 2));
  });
  panel_.moveTop(0);
  Step(panelHeights);
  Step([&] {
    const double workWidth = static_cast<double>(host_.WorkAreaWidthTwips()) / WorkAreaTwipsPerPixel;
    if (workWidth < panel_.width()) {
      panel_.setWidth(CInt32(workWidth));
      panel_.moveLeft(0);
      panelHeights();
    }
  });
}

void WindowLayout::Form_Resize() {
  const Settings& s = ctx_.settings;
  WindowView view;
  view.recordVisible = s.RecordVisible;
  Step([&] { view.graphFifths = s.GraphVisible ? ParseInt16(s.GraphHeight_Index).value() : 0; });
  const int16_t recH = static_cast<int16_t>(RecordPanelHeight(view));
  const int16_t gh = static_cast<int16_t>(view.graphFifths);
  int16_t graphH = graphH_;  // minimised: the last layout's height stays
  panel_.moveTop(0);

  switch (host_.WindowState()) {
    case 0: Layout_Normal(view, graphH); break;
    case 2: Layout_Maximised(recH, gh, graphH); break;
    default: break;  // minimised: the children keep their places
  }
  graphH_ = graphH;
  Step([&] { host_.SetWindowBackColor(s.Background_Color); });
  Place_Children(recH, graphH);
  Draw_Position_Bar();
  Step([&] { display_.Draw_Panel(); });
  // A new size rebuilds and clears the chart; the next reading starts the trace (a made-up
  // reading here would draw a full-height spike and centre the trace on it).
  Step([&] { display_.chart.Reset(); });
  if (s.RecordVisible && panel_.width() < MinimumClientWidth(view))
    ctx_.prompts.MsgBox("Unable to display full Recording Panel width", "Display Warning", MsgButtons::OK,
                        MsgIcon::Warning);
}

void WindowLayout::Place_Children(int16_t recH, int16_t graphH) {
  Surface& panel = display_.picMeterPanel;
  Step([&] {
    host_.SetMeterPanelGeometry(panel_);
    panel.Resize(panel_.width(), panel_.height());
  });
  Step([&] {
    host_.SetGraphGeometry(QRect(panel_.left(), panel_.height(), panel_.width(), graphH));
    display_.picGraph.Resize(panel_.width(), graphH);
  });
  panel.Scale(-1000, 1200, 2000, -1250);
  panel.DrawWidth = 1;

  const QRect record(panel_.left(), panel_.height() + graphH, panel_.width(), recH);
  Step([&] {
    host_.SetRecordPanelGeometry(record);
    host_.SetRecordPanelBackColor(host_.AppWorkspaceColor());
  });
  Step([&] {
    host_.SetFilePositionGeometry(QRect(13, 1, record.width() - 26, 19));
    display_.picFilePosition.Resize(record.width() - 26, 19);
    display_.picFilePosition.Scale(0, 0, 1000, 100);
  });
  // The knob and the BD counter keep their places in panel coordinates, so they scale
  // with the panel: the knob in the lower left corner, the counter in the lower right.
  Step([&] {
    const QRect knob = PixelRect(panel, panel.ScaleLeft() + 50, panel.ScaleTop() + panel.ScaleHeight() + 400, 300, 300);
    host_.SetKnobGeometry(knob);
    display_.picKnob.Resize(knob.width(), knob.height());
  });
  Step([&] {
    const QRect bd = PixelRect(panel, 700, 200, 200, 100);
    host_.SetBdGeometry(bd);
    display_.picBD.Resize(bd.width(), bd.height());
  });
  Step([&] { host_.SetTagLabelLeft(record.width() - (host_.TagLabelWidth() + 16)); });
}

void WindowLayout::Draw_Position_Bar() {
  Surface& bar = display_.picFilePosition;
  const SessionState& st = ctx_.state;
  bar.Cls();
  bar.ForeColor = st.OperatingMode == ModeRecording ? 255 : host_.ButtonFaceColor();
  bar.FilledBox(st.RangeStartX, 0, st.RangeEndX, 100, bar.ForeColor);
  bar.CurrentX = st.RangeStartX;
}

}  // namespace zk
