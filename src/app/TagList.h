#pragma once
// The tag list beside the overview: a row for each tag of the recording in memory with
// its number, recording time, clock time (when the recording carries its start) and note.
// A click on a row moves the play position to the tag, as "]" and "[" do, and puts the
// typing into the note field under the list, which writes that tag's note; the field
// above the list holds the note on the whole session. Notes are kept by RecordingNotes,
// which writes them beside the recording. The rows are made anew only when another
// recording is shown.
#include <QAbstractTableModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/SessionState.h"
#include "recording/RecordingNotes.h"

namespace zk {

// The rows of the tag list; the notes are read from RecordingNotes as they are shown.
class TagTableModel : public QAbstractTableModel {
 public:
  enum Column { Number, Time, Clock, Note, Columns };
  struct Row {
    int32_t record = 0;
    int32_t tag = 0;
    QString time, clock;
  };

  explicit TagTableModel(const RecordingNotes& notes) : notes_(notes) {}

  // The tags of records 1..count of `st`'s buffer.
  void Fill(const SessionState& st);
  const std::vector<Row>& Rows() const { return rows_; }
  // The row's note column changed.
  void Note_Changed(int row);
  // Every note may have changed.
  void Notes_Changed();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const RecordingNotes& notes_;
  std::vector<Row> rows_;
};

class TagList : public QWidget {
 public:
  // `jump` moves the play position to a record.
  using JumpHandler = std::function<void(int32_t record)>;
  TagList(RecordingNotes& notes, JumpHandler jump, QWidget* parent);

  // Looks at the session: another recording fills the list anew, notes changed elsewhere
  // (a load) are shown; while recording the list is empty and closed to typing.
  void Follow(const SessionState& st);
  // Fills the list now.
  void Fill(const SessionState& st);

  const TagTableModel& Model() const { return model_; }
  // A click on row `row`: the jump, and the note field takes that tag.
  void Choose_Row(int row);
  // The tag the note field writes; 0 when none is chosen.
  int32_t Chosen_Tag() const { return chosenTag_; }
  QLineEdit& Session_Field() { return session_; }
  QLineEdit& Note_Field() { return note_; }
  // Writes the notes typed so far to the recording's file (when it has one), then tells
  // the handler given here.
  void Write_Notes();
  void On_Notes_Written(std::function<void()> written) { written_ = std::move(written); }
  const TagNotes& Notes() const { return notes_.Notes(); }
  uint64_t Notes_Changes() const { return notes_.Changes(); }

 private:
  struct Shown {
    const SampleRecord* data = nullptr;
    int32_t count = -1, totalMs = 0, start = 0;
    std::string name;
    bool recording = false;
    bool operator==(const Shown&) const = default;
  };
  void Show_Notes();

  RecordingNotes& notes_;
  JumpHandler jump_;
  std::function<void()> written_;
  TagTableModel model_;
  QLabel sessionLabel_, noteLabel_;
  QLineEdit session_, note_;
  QTableView table_;
  Shown shown_;
  uint64_t notesSeen_ = 0;  // the notes' change count last shown or written here
  int32_t chosenTag_ = 0;
  int chosenRow_ = -1;
};

}  // namespace zk
