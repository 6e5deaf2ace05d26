#include "app/RecordPanel.h"

#include <QMouseEvent>
#include <algorithm>

namespace zk {

namespace {
constexpr int ButtonSize = 34;  // square transport buttons
constexpr int ButtonTop = 24;   // under the seek bar (top 1, height 19)
constexpr int ButtonStep = 37;
constexpr int PanelLeft = 13;
}  // namespace

QPushButton* RecordPanel::Button(const char* tip) {
  auto* b = new QPushButton(this);
  b->setToolTip(tip);
  b->setIconSize(QSize(24, 24));
  b->setFocusPolicy(Qt::NoFocus);  // keys belong to the main window
  return b;
}

RecordPanel::RecordPanel(Surface& filePosition, QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  cmdRecord = Button("Record");
  cmdStop = Button("Stop");
  cmdPlay = Button("Play");
  cmdRev = Button("Rewind");
  cmdFwd = Button("Fast Forward");
  cmdLoad = Button("Open");
  cmdLoop = Button("Loop");
  cmdSave = Button("Recording Settings");
  lblRecordMode = new QLabel("Manual", this);
  lblLoadedFile = new QLabel("No File Loaded", this);
  lblLoadedFile->setToolTip("No File Loaded");
  lblTimeCaption = new QLabel("TIME", this);
  lblTotalCaption = new QLabel("TOTAL", this);
  lblPlayTime = new QLabel("00:00", this);
  lblTotalTime = new QLabel("", this);
  lblTag = new QLabel("", this);
  lblTag->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblTag->setVisible(false);
  for (QLabel* l : {lblRecordMode, lblLoadedFile, lblTimeCaption, lblTotalCaption, lblPlayTime, lblTotalTime, lblTag})
    l->setAutoFillBackground(false);
  QFont small = lblTimeCaption->font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  lblTimeCaption->setFont(small);
  lblTotalCaption->setFont(small);
  cboFile = new QComboBox(this);
  cboFile->setVisible(false);
  cboFile->setEnabled(false);
  List1 = new QListWidget(this);
  List1->setVisible(false);
  chkOveride = new QCheckBox("Overide", this);
  chkOveride->setFocusPolicy(Qt::NoFocus);
  chkOveride->setVisible(false);
  picFilePosition = new SurfaceWidget(filePosition, this);
  picFilePosition->setGeometry(13, 1, 100, 19);

  cmdLoad->installEventFilter(this);
  cmdSave->installEventFilter(this);
  lblLoadedFile->installEventFilter(this);
}

void RecordPanel::Register(QtControls& c) {
  c.Add("picRecord", this);
  c.Add("cmdRecord", cmdRecord);
  c.Add("cmdStop", cmdStop);
  c.Add("cmdPlay", cmdPlay);
  c.Add("cmdRev", cmdRev);
  c.Add("cmdFwd", cmdFwd);
  c.Add("cmdLoad", cmdLoad);
  c.Add("cmdSave", cmdSave);
  c.Add("cmdLoop", cmdLoop);
  c.Add("lblRecordMode", lblRecordMode);
  c.Add("lblLoadedFile", lblLoadedFile);
  c.Add("lblPlayTime", lblPlayTime);
  c.Add("lblTotalTime", lblTotalTime);
  c.Add("lblTag", lblTag);
  c.Add("cboFile", cboFile);
  c.Add("List1", List1);
  c.Add("chkOveride", chkOveride);
  c.Add("picFilePosition", picFilePosition);
}

void RecordPanel::resizeEvent(QResizeEvent* e) {
  // The buttons in one row under the seek bar; the loop button shares the load button's
  // place (only one of them shows at a time).
  QPushButton* row[] = {cmdRecord, cmdStop, cmdPlay, cmdRev, cmdFwd, cmdLoad, cmdSave};
  for (int i = 0; i < 7; ++i) row[i]->setGeometry(PanelLeft + i * ButtonStep, ButtonTop, ButtonSize, ButtonSize);
  cmdLoop->setGeometry(cmdLoad->geometry());

  const int x = PanelLeft + 7 * ButtonStep + 6;
  const int right = width() - 16;
  lblRecordMode->setGeometry(x, ButtonTop - 2, 80, 18);
  const int fileLeft = x + 84;
  const int tagWidth = lblTag->width();
  lblLoadedFile->setGeometry(fileLeft, ButtonTop - 2, std::max(60, right - tagWidth - 8 - fileLeft), 18);
  // The series list lies over the file label.
  cboFile->setGeometry(lblLoadedFile->x(), lblLoadedFile->y() - 5, lblLoadedFile->width(), 24);
  cboFile->setFont(lblLoadedFile->font());
  List1->setGeometry(lblLoadedFile->x(), lblLoadedFile->y(), lblLoadedFile->width(), 60);
  List1->setFont(lblLoadedFile->font());

  const int y2 = ButtonTop + 20;
  lblTimeCaption->setGeometry(x, y2, 34, 16);
  lblPlayTime->setGeometry(x + 36, y2, 60, 16);
  lblTotalCaption->setGeometry(x + 100, y2, 42, 16);
  lblTotalTime->setGeometry(x + 144, y2, 60, 16);
  chkOveride->setGeometry(x + 210, y2 - 2, 90, 20);
  if (lblTag->height() != 18) lblTag->resize(48, 18);
  lblTag->move(lblTag->x(), ButtonTop - 2);
  QWidget::resizeEvent(e);
}

void RecordPanel::Show_Panel(bool on) {
  picFilePosition->resize(picFilePosition->width(), on ? 19 : 0);
  picFilePosition->setVisible(on);
  setVisible(on);
  setEnabled(on);
  if (!on) return;
  cboFile->setGeometry(lblLoadedFile->x(), lblLoadedFile->y() - 5, lblLoadedFile->width(), cboFile->height());
  cboFile->setFont(lblLoadedFile->font());
  List1->setGeometry(lblLoadedFile->x(), lblLoadedFile->y(), lblLoadedFile->width(), List1->height());
  List1->setFont(lblLoadedFile->font());
  cmdLoop->setGeometry(cmdLoad->geometry());
  cmdLoop->hide();
}

bool RecordPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    const std::function<void()>* h = watched == cmdLoad         ? &onLoadRightClick
                                     : watched == cmdSave       ? &onSaveRightClick
                                     : watched == lblLoadedFile ? &onLoadedFileRightClick
                                                                : nullptr;
    if (!h) return QWidget::eventFilter(watched, event);
    if (*h) (*h)();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zk
