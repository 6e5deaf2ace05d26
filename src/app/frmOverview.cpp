#include "app/frmOverview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

#include "base/Numbers.h"
#include "plot/SessionPicture.h"
#include "zkd/RecordCodec.h"

namespace zk {

namespace {

constexpr int FollowMs = 40;   // how often the cursor looks at the play position
constexpr int ResizeMs = 120;  // a resize redraws once the size has settled this long
constexpr int TagReachPx = 4;  // a tag answers the mouse this close
const QColor CursorColour(0xD0, 0x10, 0x10);
const QColor RangeShade(0x1F, 0x4E, 0x9C, 40);

}  // namespace

RecordFileData RecordingInMemory(const SessionState& st) {
  RecordFileData d;
  d.RecordCount = Records_Held(st);
  if (d.RecordCount > 0)
    d.records.assign(st.RecordBuffer.begin(), st.RecordBuffer.begin() + d.RecordCount + 1);
  else
    d.records.resize(1);
  d.TotalTimeMs = st.TotalTimeMs;
  d.RecordStartSeconds = st.RecordStartSeconds;
  d.RecordStartDay = st.RecordStartDay;
  d.RecordDate = st.RecordDate;
  // A recording made here keeps plain readings in memory and gets its "C" and "D" header
  // records only in the file; it carries them here as well, so that the picture and the
  // export show its start as the saved file does.
  if (d.RecordCount >= 2 && st.RecordStartSeconds != 0 && d.records[1].Marker != 'C' && d.records[2].Marker != 'D') {
    d.records[1] = ClockHeaderRecord(d.records[1], RecordHeader{}.ClockType, st.RecordStartSeconds);
    d.records[2] = DateHeaderRecord(d.records[2], RecordHeader{}.DateType, st.RecordStartDay);
  }
  return d;
}

frmOverview::frmOverview(const SessionState& state, SelectHandler select, QWidget* parent)
    : QWidget(parent, Qt::Window), st_(state), select_(std::move(select)) {
  setObjectName("frmOverview");
  setWindowTitle("Overview");
  setMouseTracking(true);
  setMinimumSize(320, 200);
  resize(1000, 500);
  follow_.setInterval(FollowMs);
  connect(&follow_, &QTimer::timeout, this, [this] { Follow(); });
  resized_.setSingleShot(true);
  resized_.setInterval(ResizeMs);
  connect(&resized_, &QTimer::timeout, this, [this] { Redraw(); });
}

frmOverview::Identity frmOverview::Current() const {
  return Identity{st_.RecordBuffer.data(), st_.RecordCount, st_.TotalTimeMs, st_.RecordName};
}

bool frmOverview::Recording() const { return st_.OperatingMode == ModeRecording; }

int32_t frmOverview::PlayPosition() const {
  // Playing or paused: the record shown; stopped: where the play range starts.
  return st_.OperatingMode == ModePlayback ? st_.RecordIndex : std::max(1, st_.RangeStartIndex);
}

void frmOverview::Redraw() {
  shown_ = Current();
  const std::string name = st_.RecordName;
  setWindowTitle(name.empty() ? QString("Overview") : "Overview - " + QString::fromStdString(name));
  const RecordFileData data = RecordingInMemory(st_);
  if (data.RecordCount < 1) {
    picture_ = QImage();
    nav_ = plot::Navigator();
    tagTips_.clear();
    cursorX_.reset();
    update();
    return;
  }
  const plot::TimeRange range = plot::WholeRecording(data);
  const plot::SessionPicture p = plot::DrawSession(data, name, range, std::max(width(), 1), std::max(height(), 1));
  picture_ = p.image;
  nav_ = plot::Navigator(data.records, data.RecordCount, range, p.layout.left, p.layout.columns);
  tagTips_.clear();
  for (int32_t k : nav_.Tags())
    tagTips_.push_back(QString("Tag %1 at %2")
                           .arg(data.records[k].Tag)
                           .arg(QString::fromStdString(Format_Time(data.records[k].TimeMs / 1000, data.TotalTimeMs))));
  cursorX_.reset();
  rangeFirst_ = rangeLast_ = 0;
  Follow();
  update();
}

void frmOverview::Follow() {
  if (!Recording() && !(Current() == shown_)) {
    Redraw();
    return;
  }
  if (picture_.isNull() || Recording()) {
    MoveCursor(std::nullopt);
    return;
  }
  MoveCursor(nav_.XOf(PlayPosition()));
  // The range shade, when the range is less than the whole recording.
  const int32_t first = std::max(1, st_.RangeStartIndex);
  const int32_t last = st_.RangeEndIndex < 1 ? nav_.RecordCount() : st_.RangeEndIndex;
  if (first != rangeFirst_ || last != rangeLast_) {
    rangeFirst_ = first;
    rangeLast_ = last;
    update();
  }
}

void frmOverview::MoveCursor(std::optional<int> x) {
  if (x == cursorX_) return;
  // Only the strips of the old and the new cursor are painted again.
  if (cursorX_) update(QRect(*cursorX_ - 1, 0, 3, height()));
  if (x) update(QRect(*x - 1, 0, 3, height()));
  cursorX_ = x;
}

void frmOverview::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QRect r = e->rect();
  if (picture_.isNull()) {
    p.fillRect(r, palette().window());
    p.drawText(rect(), Qt::AlignCenter, Recording() ? "Recording..." : "No recording loaded");
    return;
  }
  p.fillRect(r, Qt::white);
  p.drawImage(r.topLeft(), picture_, r);
  auto shade = [&](int x0, int x1) {
    const QRect band = QRect(QPoint(std::min(x0, x1), 0), QPoint(std::max(x0, x1), height() - 1)).intersected(r);
    if (!band.isEmpty()) p.fillRect(band, RangeShade);
  };
  if (pressX_ && dragX_)
    shade(*pressX_, *dragX_);
  else if (rangeFirst_ > 1 || rangeLast_ < nav_.RecordCount())
    shade(nav_.XOf(rangeFirst_), nav_.XOf(rangeLast_));
  if (cursorX_ && r.left() <= *cursorX_ && *cursorX_ <= r.right()) {
    p.setPen(QPen(CursorColour, 1));
    p.drawLine(*cursorX_, 0, *cursorX_, height() - 1);
  }
}

void frmOverview::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  resized_.start();
}

void frmOverview::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  Redraw();
  follow_.start();
}

void frmOverview::hideEvent(QHideEvent* e) {
  follow_.stop();
  resized_.stop();
  QWidget::hideEvent(e);
}

void frmOverview::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || picture_.isNull() || Recording()) return;
  pressX_ = static_cast<int>(e->position().x());
  dragX_.reset();
}

void frmOverview::mouseMoveEvent(QMouseEvent* e) {
  const int x = static_cast<int>(e->position().x());
  if (pressX_ && (e->buttons() & Qt::LeftButton)) {
    // A drag shows what it selects; only a stopped recording takes a range.
    if (st_.OperatingMode != ModePlayback) {
      dragX_ = x;
      update();
    }
    return;
  }
  ShowTagTip(e->globalPosition().toPoint(), x);
}

void frmOverview::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressX_) return;
  const plot::Navigator::Selection s = nav_.Select(*pressX_, static_cast<int>(e->position().x()));
  pressX_.reset();
  dragX_.reset();
  if (select_) select_(s);
  Follow();
  update();
}

void frmOverview::ShowTagTip(const QPoint& at, int x) {
  const std::optional<int32_t> k = nav_.TagNear(x, TagReachPx);
  if (!k) {
    QToolTip::hideText();
    return;
  }
  const auto i = std::lower_bound(nav_.Tags().begin(), nav_.Tags().end(), *k) - nav_.Tags().begin();
  QToolTip::showText(at, tagTips_[static_cast<std::size_t>(i)], this);
}

}  // namespace zk
