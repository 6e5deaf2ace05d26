#include "app/frmRec.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zk {

frmRec::frmRec(Context& ctx, QWidget* mainWindow)
    : QDialog(mainWindow), mainWindow_(mainWindow), setup_(ctx, controls_) {
  setWindowTitle("Recording Setup");
  setModal(true);
  Build();
  setup_.Form_Load();
  Place();
}

void frmRec::Build() {
  QtControls& c = controls_;
  QGroupBox* framSaveMode = Build_Save_Mode();
  QGroupBox* Frame1 = Build_File_Name();

  auto* lblSavePath = new QLabel(this);
  lblSavePath->setMinimumWidth(260);
  lblSavePath->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the path may be copied
  auto* cmdBrowseSaveFolder = new QPushButton("Browse", this);
  auto* cmdClose = new QPushButton("Close", this);
  c.Add("lblSavePath", lblSavePath);
  c.Add("cmdBrowseSaveFolder", cmdBrowseSaveFolder);
  c.Add("cmdClose", cmdClose);

  auto* grid = new QGridLayout(this);
  grid->addWidget(framSaveMode, 0, 0);
  grid->addWidget(Frame1, 0, 1);
  grid->addWidget(new QLabel("Save to Folder:", this), 1, 0, 1, 2);
  grid->addWidget(lblSavePath, 2, 0, 1, 2);
  grid->addWidget(cmdBrowseSaveFolder, 3, 0, Qt::AlignLeft);
  grid->addWidget(cmdClose, 3, 1, Qt::AlignRight);

  RecordingSetup& s = setup_;
  connect(cmdBrowseSaveFolder, &QPushButton::clicked, this, [&s] { s.cmdBrowseSaveFolder_Click(); });
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

// The save mode frame: the three modes and the two check boxes. Clicks only reach the
// logic: what the load selects in code is not a choice of the user's.
QGroupBox* frmRec::Build_Save_Mode() {
  QtControls& c = controls_;
  auto* framSaveMode = new QGroupBox("Save Mode", this);
  auto* modeLayout = new QVBoxLayout(framSaveMode);
  auto* modes = new QButtonGroup(this);
  const struct {
    int index;
    const char *caption, *tip;
  } modeButtons[] = {{3, "Auto Save", "Auto name and auto save"},
                     {2, "Auto Name", "Auto name and manually save"},
                     {1, "Manual", "Maunually name and save"}};
  for (const auto& m : modeButtons) {
    auto* opt = new QRadioButton(m.caption, framSaveMode);
    opt->setToolTip(m.tip);
    modes->addButton(opt, m.index);
    modeLayout->addWidget(opt);
    c.Add("optRecMode", m.index, opt);
  }
  auto* chkRecPrompt = new QCheckBox("Warn me about unsaved recordings", framSaveMode);
  auto* chkTimeDate = new QCheckBox("Include Time and Date", framSaveMode);
  modeLayout->addWidget(chkRecPrompt);
  modeLayout->addWidget(chkTimeDate);
  c.Add("framSaveMode", framSaveMode);
  c.Add("chkRecPrompt", chkRecPrompt);
  c.Add("chkTimeDate", chkTimeDate);

  RecordingSetup& s = setup_;
  connect(modes, &QButtonGroup::idClicked, this, [&s](int i) { s.optRecMode_Click(i); });
  connect(chkRecPrompt, &QCheckBox::clicked, this, [&s] { s.chkRecPrompt_Click(); });
  connect(chkTimeDate, &QCheckBox::clicked, this, [&s] { s.chkTimeDate_Click(); });
  return framSaveMode;
}

// The file name frame: the prefix, the suffix type with the next number and its reset,
// and the warning line.
QGroupBox* frmRec::Build_File_Name() {
  QtControls& c = controls_;
  auto* Frame1 = new QGroupBox("File Name", this);
  auto* nameLayout = new QGridLayout(Frame1);
  auto* txtPrefix = new QLineEdit(Frame1);
  nameLayout->addWidget(new QLabel("Filename prefix", Frame1), 0, 0);
  nameLayout->addWidget(txtPrefix, 0, 1, 1, 2);
  auto* suffixes = new QButtonGroup(this);
  const char* suffixCaptions[] = {"Numeric suffix", "Date/Time suffix"};
  for (int i = 0; i < 2; ++i) {
    auto* opt = new QRadioButton(suffixCaptions[i], Frame1);
    suffixes->addButton(opt, i);
    nameLayout->addWidget(opt, 1 + i, 0);
    c.Add("optSuffixType", i, opt);
  }
  auto* lblSuffixNum = new QLabel(Frame1);
  auto* cmdReset = new QPushButton("Reset", Frame1);
  auto* lblWarning = new QLabel(Frame1);
  lblWarning->setStyleSheet("color: #c00000;");
  nameLayout->addWidget(lblSuffixNum, 1, 1);
  nameLayout->addWidget(cmdReset, 1, 2);
  nameLayout->addWidget(lblWarning, 3, 0, 1, 3);
  c.Add("Frame1", Frame1);
  c.Add("txtPrefix", txtPrefix);
  c.Add("lblSuffixNum", lblSuffixNum);
  c.Add("cmdReset", cmdReset);
  c.Add("lblWarning", lblWarning);

  RecordingSetup& s = setup_;
  connect(suffixes, &QButtonGroup::idClicked, this, [&s](int i) { s.optSuffixType_Click(i); });
  // Leaving the prefix box (or Enter in it) validates it.
  connect(txtPrefix, &QLineEdit::editingFinished, this, [&s] { s.txtPrefix_Validate(); });
  connect(cmdReset, &QPushButton::clicked, this, [&s] { s.cmdReset_Click(); });
  return Frame1;
}

// Centred over the main window, its lower edge 83 pixels above the main window's.
void frmRec::Place() {
  adjustSize();
  if (!mainWindow_) return;
  const QRect m = mainWindow_->frameGeometry();
  const QSize d = frameGeometry().size();
  move(m.left() + m.width() / 2 - d.width() / 2, m.top() + m.height() - d.height() - 83);
}

}  // namespace zk
