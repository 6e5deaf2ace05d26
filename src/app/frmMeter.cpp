#include "app/frmMeter.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace zk {

QGroupBox* frmMeter::Frame(const QString& title, const QStringList& options, std::vector<QRadioButton*>& out,
                           QButtonGroup*& group) {
  auto* box = new QGroupBox(title, this);
  auto* lay = new QVBoxLayout(box);
  group = new QButtonGroup(this);
  group->setExclusive(true);
  for (int i = 0; i < options.size(); ++i) {
    auto* opt = new QRadioButton(options[i], box);
    group->addButton(opt, i);
    lay->addWidget(opt);
    out.push_back(opt);
  }
  return box;
}

frmMeter::frmMeter(Settings& settings, Controls& mainControls, QWidget* mainWindow)
    : QDialog(mainWindow), s_(settings), main_(mainControls), mainWindow_(mainWindow) {
  setWindowTitle("Meter Display Setup");
  setModal(true);
  auto* framMeter =
      Frame("Dial", {"Circular 1", "Traditional", "Traditional Continuous", "Circular 2"}, optDial_, grpDial_);
  auto* framScale = Frame("Scale", {"Traditional", "Simple"}, optScale_, grpScale_);
  auto* framClock = Frame("Clock", {"None", "Analog", "12 Hour", "24 Hour"}, optClock_, grpClock_);
  chkClockLeft_ = new QCheckBox("On Left", framClock);
  framClock->layout()->addWidget(chkClockLeft_);
  framDate_ = Frame("Date", {"Hide", "Short", "Long"}, optDateType_, grpDate_);
  cmdClose_ = new QPushButton("Close", this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(framMeter, 0, 0);
  grid->addWidget(framScale, 0, 1);
  grid->addWidget(framClock, 1, 0);
  grid->addWidget(framDate_, 1, 1);
  grid->addWidget(cmdClose_, 2, 1, Qt::AlignRight);

  // Clicks only: a selection made in code (the load below) does not count as a choice.
  connect(grpDial_, &QButtonGroup::idClicked, this, &frmMeter::optDial_Click);
  connect(grpScale_, &QButtonGroup::idClicked, this, &frmMeter::optScale_Click);
  connect(grpClock_, &QButtonGroup::idClicked, this, &frmMeter::optClock_Click);
  connect(grpDate_, &QButtonGroup::idClicked, this, &frmMeter::optDateType_Click);
  connect(chkClockLeft_, &QCheckBox::clicked, this, &frmMeter::chkClockLeft_Click);
  connect(cmdClose_, &QPushButton::clicked, this, &frmMeter::cmdClose_Click);
  Form_Load();
}

void frmMeter::Form_Load() {
  loading_ = true;
  adjustSize();
  if (mainWindow_) {
    // Centred over the main window, its lower edge 83 pixels above the main window's.
    const QRect m = mainWindow_->frameGeometry();
    const QSize d = frameGeometry().size();
    move(m.left() + m.width() / 2 - d.width() / 2, m.top() + m.height() - d.height() - 83);
  }
  // Stored values outside an option range select no option.
  auto select = [](const std::vector<QRadioButton*>& opts, int32_t v) {
    if (v >= 0 && v < static_cast<int32_t>(opts.size())) opts[v]->setChecked(true);
  };
  select(optDial_, s_.DialType);
  select(optScale_, s_.ScaleType);
  select(optClock_, s_.ClockType);
  select(optDateType_, s_.DateType);
  chkClockLeft_->setChecked(s_.ClockLeft);
  // Selecting the clock runs its handler as well, which sets the date frame.
  optClock_Click(s_.ClockType);
  if (s_.ClockType == 0 || s_.ClockType == 1) SetDateEnabled(false);
  loading_ = false;
}

void frmMeter::SetDateEnabled(bool on) {
  framDate_->setEnabled(on);
  for (auto* o : optDateType_) o->setEnabled(on);
}

void frmMeter::optDial_Click(int index) {
  if (loading_) return;
  s_.DialType = index;
  main_.SetVisible("mnuSetNeedleBD", index == 1);
}

void frmMeter::optScale_Click(int index) {
  if (loading_) return;
  s_.ScaleType = index;
}

void frmMeter::optClock_Click(int index) {
  s_.ClockType = index;
  if (index == 2 || index == 3)
    SetDateEnabled(true);
  else if (index == 0 || index == 1)
    SetDateEnabled(false);
}

void frmMeter::optDateType_Click(int index) { s_.DateType = index; }

void frmMeter::chkClockLeft_Click() { s_.ClockLeft = chkClockLeft_->isChecked(); }

void frmMeter::cmdClose_Click() { accept(); }

}  // namespace zk
