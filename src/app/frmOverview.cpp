#include "app/frmOverview.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

#include "base/Numbers.h"
#include "plot/SessionPicture.h"
#include "plot/Zoom.h"
#include "zkd/RecordCodec.h"
#include "zkd/StartTexts.h"

namespace zk {

namespace {

constexpr int ResizeMs = 120;   // a resize redraws once the size has settled this long
constexpr int TagReachPx = 4;   // a tag answers the mouse this close
constexpr int TagListPx = 300;  // the tag list's width, while the window has room for it
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

frmOverview::frmOverview(const SessionState& state, SelectHandler select, QWidget* parent, RecordingNotes* notes)
    : QWidget(parent, Qt::Window), st_(state), select_(std::move(select)) {
  setObjectName("frmOverview");
  setWindowTitle("Overview");
  setMouseTracking(true);
  setMinimumSize(320, 200);
  resize(1000, 500);
  followSoon_.setSingleShot(true);
  followSoon_.setInterval(0);
  connect(&followSoon_, &QTimer::timeout, this, [this] { Follow(); });
  resized_.setSingleShot(true);
  resized_.setInterval(ResizeMs);
  connect(&resized_, &QTimer::timeout, this, [this] { Redraw(); });
  readout_.setParent(this);
  readout_.setObjectName("lblOverviewTime");
  readout_.setAutoFillBackground(true);
  readout_.hide();
  backButton_.setParent(this);
  backButton_.setObjectName("cmdOverviewBack");
  backButton_.setText("Back");
  backButton_.setToolTip("Back to the span shown before (Backspace)");
  backButton_.hide();
  connect(&backButton_, &QToolButton::clicked, this, [this] { Zoom_Back(); });
  auto* back = new QAction("Back", this);
  back->setObjectName("actOverviewBack");
  back->setShortcut(Qt::Key_Backspace);
  back->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(back, &QAction::triggered, this, [this] { Zoom_Back(); });
  addAction(back);
  if (notes) {
    tags_ = std::make_unique<TagList>(
        *notes,
        [this](int32_t record) {
          if (select_) select_(plot::Navigator::Selection{false, record, record});
          Follow();
        },
        this);
    // A note written shows over its tag in the picture.
    tags_->On_Notes_Written([this] {
      if (tags_->Notes_Changes() != drawnNotes_) Redraw();
    });
    tags_->Fill(st_);
  }
}

int frmOverview::PictureWidth() const {
  // The list gives way when the window is too narrow for both.
  return tags_ && !tags_->isHidden() ? std::max(1, width() - tags_->width()) : std::max(width(), 1);
}

plot::TimeRange frmOverview::Whole() const { return plot::TimeRange{0, std::max(0, st_.TotalTimeMs)}; }

void frmOverview::Zoom_To(std::optional<plot::TimeRange> span) {
  if (span && plot::IsWhole(*span, Whole())) span.reset();
  const bool same =
      span.has_value() == zoom_.has_value() && (!span || (span->fromMs == zoom_->fromMs && span->toMs == zoom_->toMs));
  if (same) return;
  back_.push_back(zoom_);
  zoom_ = span;
  backButton_.setVisible(true);
  Redraw();
}

void frmOverview::Zoom_Back() {
  if (back_.empty()) return;
  zoom_ = back_.back();
  back_.pop_back();
  backButton_.setVisible(!back_.empty());
  Redraw();
}

void frmOverview::Place_Corner() {
  if (tags_) {
    const bool room = width() >= 2 * TagListPx;
    tags_->setVisible(room);
    tags_->setGeometry(width() - TagListPx, 0, TagListPx, height());
  }
  const int w = PictureWidth();
  backButton_.adjustSize();
  const int right = backButton_.isVisible() ? w - backButton_.width() - 4 : w - 2;
  backButton_.move(w - backButton_.width() - 2, 2);
  readout_.adjustSize();
  readout_.move(right - readout_.width(), 2 + std::max(0, backButton_.height() - readout_.height()) / 2);
}

void frmOverview::Show_Readout(std::optional<int> x) {
  QString text;
  if (x && !picture_.isNull() && !Recording()) {
    const int64_t t = nav_.RoundTimeAt(*x);
    text = QString::fromStdString(Format_Time(static_cast<int32_t>(t / 1000), st_.TotalTimeMs));
    // Zoomed in below a second a column: tenths too.
    if (nav_.ColumnMs() < 1000) text += QString(".%1").arg(t / 100 % 10);
    if (st_.RecordStartSeconds != 0)
      text +=
          "   " + QString::fromStdString(TimeOfDay(static_cast<int32_t>((st_.RecordStartSeconds + t / 1000) % 86400)));
  }
  if (text == readout_.text() && readout_.isVisible() == !text.isEmpty()) return;
  readout_.setText(text);
  readout_.setVisible(!text.isEmpty());
  Place_Corner();
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
  const plot::TimeRange range = zoom_ ? *zoom_ : plot::WholeRecording(data);
  if (tags_) drawnNotes_ = tags_->Notes_Changes();
  const plot::SessionPicture p =
      plot::DrawSession(data, name, range, PictureWidth(), std::max(height(), 1), tags_ ? tags_->Notes() : TagNotes{});
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

void frmOverview::Follow_Soon() {
  if (!followSoon_.isActive()) followSoon_.start();
}

void frmOverview::Follow() {
  if (tags_) tags_->Follow(st_);
  if (!Recording() && !(Current() == shown_)) {
    // Another recording: shown whole.
    zoom_.reset();
    back_.clear();
    backButton_.hide();
    Redraw();
    return;
  }
  if (picture_.isNull() || Recording()) {
    MoveCursor(std::nullopt);
    return;
  }
  // Outside the span shown, no cursor.
  const int32_t at = PlayPosition();
  MoveCursor(nav_.Range().Holds(nav_.TimeOf(at)) ? std::optional<int>(nav_.XOf(at)) : std::nullopt);
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
    p.drawText(QRect(0, 0, PictureWidth(), height()), Qt::AlignCenter,
               Recording() ? "Recording..." : "No recording loaded");
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
  Place_Corner();
  resized_.start();
}

void frmOverview::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  Redraw();
  // The resizes of opening are drawn by the line above: the settle timer they started
  // would draw the same picture again.
  resized_.stop();
}

void frmOverview::hideEvent(QHideEvent* e) {
  if (tags_) tags_->Write_Notes();
  followSoon_.stop();
  resized_.stop();
  QWidget::hideEvent(e);
}

void frmOverview::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || picture_.isNull() || Recording()) return;
  pressX_ = static_cast<int>(e->position().x());
  dragX_.reset();
  zoomDrag_ = e->modifiers() & Qt::ControlModifier;
}

void frmOverview::mouseMoveEvent(QMouseEvent* e) {
  const int x = static_cast<int>(e->position().x());
  Show_Readout(x);
  if (pressX_ && (e->buttons() & Qt::LeftButton)) {
    // A drag shows what it selects; only a stopped recording takes a range, any a zoom.
    if (zoomDrag_ || st_.OperatingMode != ModePlayback) {
      dragX_ = x;
      update();
    }
    return;
  }
  ShowTagTip(e->globalPosition().toPoint(), x);
}

void frmOverview::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressX_) return;
  const int releaseX = static_cast<int>(e->position().x());
  const plot::Navigator::Selection s = nav_.Select(*pressX_, releaseX);
  const int pressX = *pressX_;
  pressX_.reset();
  dragX_.reset();
  if (zoomDrag_) {
    zoomDrag_ = false;
    update();
    if (s.range)
      Zoom_To(plot::ZoomBetween(nav_.TimeAt(std::min(pressX, releaseX)), nav_.TimeAt(std::max(pressX, releaseX) + 1),
                                Whole()));
    return;
  }
  if (select_) select_(s);
  Follow();
  update();
}

void frmOverview::wheelEvent(QWheelEvent* e) {
  const int notches = e->angleDelta().y() / 120;
  if (notches == 0 || picture_.isNull() || Recording()) return;
  // Each notch away from the user halves the span, each towards doubles it.
  const int64_t at = nav_.TimeAt(static_cast<int>(e->position().x()));
  const double factor = notches > 0 ? 0.5 : 2.0;
  plot::TimeRange span = zoom_ ? *zoom_ : Whole();
  for (int n = 0; n < std::abs(notches); ++n) span = plot::ZoomAbout(span, Whole(), at, factor);
  Zoom_To(span);
  e->accept();
}

void frmOverview::leaveEvent(QEvent* e) {
  Show_Readout(std::nullopt);
  QWidget::leaveEvent(e);
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
