#pragma once
// The overview window: the whole recording in memory drawn as the session picture, with
// a cursor at the play position and the play range shaded. A left click moves the play
// position there and a left drag selects a play range, by the seek bar's rules; hovering
// a tag shows its number and time. The wheel zooms about the pointer and a drag with Ctrl
// held zooms to the span dragged; Backspace or the Back button return to the span shown
// before. The time under the pointer (and its clock time, when the recording carries its
// start) stands in the top right corner. The picture is drawn once per recording, span
// and size and kept as an image: following the play position repaints only the cursor's
// strip, and a resting pointer costs nothing. Given the recording's notes, the window
// holds the tag list (TagList.h) at its right, and the picture takes the rest.
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/TagList.h"
#include "core/SessionState.h"
#include "plot/Navigator.h"
#include "zkd/RecordFile.h"

namespace zk {

// The recording in memory as the picture and the export take it: records 1..RecordCount
// of the buffer, its length and its start.
RecordFileData RecordingInMemory(const SessionState& st);

class frmOverview : public QWidget {
  Q_OBJECT
 public:
  // `select` takes a click (move the play position) or a drag (a play range).
  using SelectHandler = std::function<void(const plot::Navigator::Selection&)>;
  // With `notes`, the tag list stands beside the picture, its clicks going to `select`.
  frmOverview(const SessionState& state, SelectHandler select, QWidget* parent, RecordingNotes* notes = nullptr);

  // Looks at the session: a different recording (a new load, a recording just finished)
  // is drawn anew; the cursor and the range shade follow the play position and range.
  void Follow();
  // Follow once the present event is done: the changes of one event (a playback step, a
  // seek, a load drawing the bar several times) are followed once, and never in the
  // middle of the code that makes them.
  void Follow_Soon();
  // Draws the picture now at the window's size.
  void Redraw();

  const QImage& Picture() const { return picture_; }
  const plot::Navigator& Navigator() const { return nav_; }
  // The span shown; nullopt for the whole recording.
  const std::optional<plot::TimeRange>& Zoom() const { return zoom_; }
  // Shows `span` (nullopt: the whole recording), remembering the span shown before.
  void Zoom_To(std::optional<plot::TimeRange> span);
  // Back to the span shown before the last zoom.
  void Zoom_Back();
  // The time under the pointer, as the corner shows it ("" when the pointer is away).
  QString Readout() const { return readout_.text(); }
  // The cursor's column; nullopt when no recording is shown.
  std::optional<int> CursorX() const { return cursorX_; }
  // The tag list; null without notes.
  TagList* Tags() { return tags_.get(); }
  // The width the picture takes: the window's, less the tag list's.
  int PictureWidth() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  // What tells one recording in memory from another.
  struct Identity {
    const SampleRecord* data = nullptr;
    int32_t count = -1, totalMs = 0;
    std::string name;
    bool operator==(const Identity&) const = default;
  };
  Identity Current() const;
  bool Recording() const;
  void MoveCursor(std::optional<int> x);
  int32_t PlayPosition() const;
  void ShowTagTip(const QPoint& at, int x);
  void Show_Readout(std::optional<int> x);
  void Place_Corner();
  plot::TimeRange Whole() const;

  const SessionState& st_;
  SelectHandler select_;
  Identity shown_;
  QImage picture_;
  plot::Navigator nav_;
  std::vector<QString> tagTips_;  // "Tag N at mm:ss", in the navigator's tag order
  std::optional<int> cursorX_;
  int32_t rangeFirst_ = 0, rangeLast_ = 0;
  std::optional<int> pressX_, dragX_;
  bool zoomDrag_ = false;  // the drag under way chooses a span to zoom to
  std::optional<plot::TimeRange> zoom_;
  std::vector<std::optional<plot::TimeRange>> back_;  // the spans shown before, latest last
  QLabel readout_;
  QToolButton backButton_;
  QTimer followSoon_, resized_;
  std::unique_ptr<TagList> tags_;
  uint64_t drawnNotes_ = 0;  // the notes' change count the picture was drawn with
};

}  // namespace zk
