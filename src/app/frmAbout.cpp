#include "app/frmAbout.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>

#include "app/AppInfo.h"

namespace zk {

namespace {
QFrame* Separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}
}  // namespace

frmAbout::frmAbout(const SessionState& state, Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setModal(true);
  setWindowTitle(QString("About ") + ProgramTitle);
  auto* lblTitle = new QLabel("A Vantorel product by", this);
  auto* Label1 = new QLabel(QString::fromStdString(MakerName()), this);
  auto* Label6 = new QLabel(QString::fromStdString(MakerWebAddress()), this);
  lblSoft_ = new QLabel(QString::fromStdString(VersionNumberText()), this);
  lblFirm_ = new QLabel(QString::fromStdString(state.FirmwareVersion), this);
  lblBoot_ = new QLabel(QString::fromStdString(state.BootLoaderVersion), this);
  lblhard_ = new QLabel(QString::fromStdString(state.SensorSerialNumber), this);
  lblDisclaimer_ = new QLabel("Warning: ...", this);
  lblDisclaimer_->setWordWrap(true);
  lblDisclaimer_->setText(
      lblDisclaimer_->text() +
      " This program shows the readings of the sensor as an instrument picture."
      " It is not a medical device and makes no diagnosis."
      " Use it only as the sensor's manual describes; it is free software under the MIT licence and comes"
      " without any warranty.");
  cmdOK_ = new QPushButton("OK", this);
  cmdSysInfo_ = new QPushButton("&System Info...", this);
  cmdOK_->setDefault(true);

  auto* grid = new QGridLayout(this);
  int row = 0;
  grid->addWidget(lblTitle, row++, 0, 1, 2);
  grid->addWidget(Label1, row++, 0, 1, 2);
  grid->addWidget(Label6, row++, 0, 1, 2);
  grid->addWidget(Separator(this), row++, 0, 1, 2);
  grid->addWidget(new QLabel("Software Version:", this), row, 0);
  grid->addWidget(lblSoft_, row++, 1);
  grid->addWidget(new QLabel("Firmware Version:", this), row, 0);
  grid->addWidget(lblFirm_, row++, 1);
  grid->addWidget(new QLabel("Boot Loader Version:", this), row, 0);
  grid->addWidget(lblBoot_, row++, 1);
  grid->addWidget(new QLabel("Hardware Serial Number:", this), row, 0);
  grid->addWidget(lblhard_, row++, 1);
  grid->addWidget(Separator(this), row++, 0, 1, 2);
  grid->addWidget(lblDisclaimer_, row++, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdSysInfo_);
  buttons->addWidget(cmdOK_);
  grid->addLayout(buttons, row, 0, 1, 2);

  connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
  connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
  // This platform registers no system-information tool.
  prompts_.MsgBox("System Information Is Unavailable At This Time", ProgramTitle, MsgButtons::OK, MsgIcon::None);
}

}  // namespace zk
