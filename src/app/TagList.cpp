#include "app/TagList.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "base/Numbers.h"
#include "zkd/StartTexts.h"

namespace zk {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void TagTableModel::Fill(const SessionState& st) {
  beginResetModel();
  rows_.clear();
  const int32_t n = st.OperatingMode == ModeRecording ? 0 : Records_Held(st);
  for (int32_t k = 1; k <= n; ++k) {
    const SampleRecord& r = st.RecordBuffer[k];
    if (r.Marker != 'T') continue;
    Row row{k, r.Tag, Q(Format_Time(r.TimeMs / 1000, st.TotalTimeMs)), QString()};
    if (st.RecordStartSeconds != 0) row.clock = Q(TimeOfDay((st.RecordStartSeconds + r.TimeMs / 1000) % 86400));
    rows_.push_back(std::move(row));
  }
  endResetModel();
}

void TagTableModel::Note_Changed(int row) {
  const QModelIndex at = index(row, Note);
  emit dataChanged(at, at, {Qt::DisplayRole});
}

void TagTableModel::Notes_Changed() {
  if (!rows_.empty()) emit dataChanged(index(0, Note), index(static_cast<int>(rows_.size()) - 1, Note));
}

int TagTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TagTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Columns; }

QVariant TagTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Row& r = rows_[static_cast<std::size_t>(index.row())];
  if (role == Qt::TextAlignmentRole && index.column() != Note) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  switch (index.column()) {
    case Number: return r.tag;
    case Time: return r.time;
    case Clock: return r.clock;
    case Note: return Q(notes_.Notes().Of(r.tag)).replace('\n', ' ');
    default: return {};
  }
}

QVariant TagTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case Number: return "Tag";
    case Time: return "Time";
    case Clock: return "Clock";
    case Note: return "Note";
    default: return {};
  }
}

TagList::TagList(RecordingNotes& notes, JumpHandler jump, QWidget* parent)
    : QWidget(parent), notes_(notes), jump_(std::move(jump)), model_(notes) {
  setObjectName("TagList");
  sessionLabel_.setText("Session note:");
  session_.setObjectName("txtSessionNote");
  session_.setPlaceholderText("about the whole session");
  table_.setObjectName("lstTags");
  table_.setModel(&model_);
  table_.setSelectionBehavior(QAbstractItemView::SelectRows);
  table_.setSelectionMode(QAbstractItemView::SingleSelection);
  table_.setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_.verticalHeader()->hide();
  table_.verticalHeader()->setDefaultSectionSize(table_.fontMetrics().height() + 4);
  table_.horizontalHeader()->setStretchLastSection(true);
  table_.setWordWrap(false);
  noteLabel_.setText("Note on the tag chosen:");
  note_.setObjectName("txtTagNote");
  note_.setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  for (QWidget* w : {static_cast<QWidget*>(&sessionLabel_), static_cast<QWidget*>(&session_),
                     static_cast<QWidget*>(&table_), static_cast<QWidget*>(&noteLabel_), static_cast<QWidget*>(&note_)})
    layout->addWidget(w);
  connect(&table_, &QTableView::clicked, this, [this](const QModelIndex& i) { Choose_Row(i.row()); });
  connect(&session_, &QLineEdit::textEdited, this, [this](const QString& text) {
    notes_.Set_Session(text.toStdString());
    notesSeen_ = notes_.Changes();
  });
  connect(&note_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (chosenTag_ == 0) return;
    notes_.Set_Tag(chosenTag_, text.toStdString());
    notesSeen_ = notes_.Changes();
    // Every row of that tag number shows it.
    const auto& rows = model_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].tag == chosenTag_) model_.Note_Changed(static_cast<int>(i));
  });
  connect(&session_, &QLineEdit::editingFinished, this, [this] { Write_Notes(); });
  connect(&note_, &QLineEdit::editingFinished, this, [this] { Write_Notes(); });
}

void TagList::Follow(const SessionState& st) {
  const Shown now{st.RecordBuffer.data(), st.RecordCount, st.TotalTimeMs,
                  st.RecordStartSeconds,  st.RecordName,  st.OperatingMode == ModeRecording};
  if (!(now == shown_)) {
    Fill(st);
    return;
  }
  if (notes_.Changes() != notesSeen_) Show_Notes();
}

void TagList::Fill(const SessionState& st) {
  shown_ = Shown{st.RecordBuffer.data(), st.RecordCount, st.TotalTimeMs,
                 st.RecordStartSeconds,  st.RecordName,  st.OperatingMode == ModeRecording};
  model_.Fill(st);
  chosenTag_ = 0;
  chosenRow_ = -1;
  const bool open = !shown_.recording && Records_Held(st) >= 1;
  session_.setEnabled(open);
  note_.setEnabled(false);
  note_.clear();
  Show_Notes();
}

void TagList::Show_Notes() {
  notesSeen_ = notes_.Changes();
  const QString session = Q(notes_.Notes().session);
  if (session_.text() != session) session_.setText(session);
  const QString note = chosenTag_ ? Q(notes_.Notes().Of(chosenTag_)) : QString();
  if (note_.text() != note) note_.setText(note);
  model_.Notes_Changed();
}

void TagList::Choose_Row(int row) {
  const auto& rows = model_.Rows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  Write_Notes();
  chosenRow_ = row;
  chosenTag_ = rows[static_cast<std::size_t>(row)].tag;
  table_.selectRow(row);
  noteLabel_.setText(QString("Note on tag %1:").arg(chosenTag_));
  note_.setEnabled(true);
  note_.setText(Q(notes_.Notes().Of(chosenTag_)));
  note_.setFocus();
  if (jump_) jump_(rows[static_cast<std::size_t>(row)].record);
}

void TagList::Write_Notes() {
  notes_.Write();
  notesSeen_ = notes_.Changes();
  if (written_) written_();
}

}  // namespace zk
