#pragma once
// "Meter Display Setup": dial, scale, clock and date styles. Every choice goes straight
// into the settings; the main window lays itself out again when the dialog closes.
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "core/Controls.h"
#include "core/Settings.h"

namespace zk {

class frmMeter : public QDialog {
  Q_OBJECT
 public:
  // mainControls: the main window's controls (the BD counter menu follows the dial).
  frmMeter(Settings& settings, Controls& mainControls, QWidget* mainWindow);

  void optDial_Click(int index);
  void optScale_Click(int index);
  void optClock_Click(int index);
  void optDateType_Click(int index);
  void chkClockLeft_Click();
  void cmdClose_Click();

  QRadioButton* optDial(int i) const { return optDial_.at(i); }
  QRadioButton* optScale(int i) const { return optScale_.at(i); }
  QRadioButton* optClock(int i) const { return optClock_.at(i); }
  QRadioButton* optDateType(int i) const { return optDateType_.at(i); }
  QCheckBox* chkClockLeft() const { return chkClockLeft_; }
  QGroupBox* framDate() const { return framDate_; }

 private:
  void Form_Load();
  void SetDateEnabled(bool on);
  QGroupBox* Frame(const QString& title, const QStringList& options, std::vector<QRadioButton*>& out,
                   QButtonGroup*& group);
  Settings& s_;
  Controls& main_;
  QWidget* mainWindow_;
  bool loading_ = false;
  std::vector<QRadioButton*> optDial_, optScale_, optClock_, optDateType_;
  QButtonGroup *grpDial_ = nullptr, *grpScale_ = nullptr, *grpClock_ = nullptr, *grpDate_ = nullptr;
  QCheckBox* chkClockLeft_ = nullptr;
  QGroupBox* framDate_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
};

}  // namespace zk
