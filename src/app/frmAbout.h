#pragma once
// The About box: program version, the sensor's identity, a disclaimer and the system
// information button.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "core/Prompts.h"
#include "core/SessionState.h"

namespace zk {

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  frmAbout(const SessionState& state, Prompts& prompts, QWidget* parent);

  void cmdOK_Click();
  void cmdSysInfo_Click();

  QLabel* lblSoft() const { return lblSoft_; }
  QLabel* lblFirm() const { return lblFirm_; }
  QLabel* lblBoot() const { return lblBoot_; }
  QLabel* lblhard() const { return lblhard_; }
  QPushButton* cmdSysInfo() const { return cmdSysInfo_; }

 private:
  void StartSysInfo();
  Prompts& prompts_;
  QLabel *lblSoft_, *lblFirm_, *lblBoot_, *lblhard_, *lblDisclaimer_;
  QPushButton *cmdOK_, *cmdSysInfo_;
};

}  // namespace zk
