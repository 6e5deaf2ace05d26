#pragma once
// "Recording Setup": the save mode, the warning about unsaved recordings, time and date
// in recordings, the file-name prefix and suffix, the series counter and the save folder.
// Every change goes straight into the settings (RecordingSetup decides what); "Close"
// closes it.
#include <QDialog>
#include <QGroupBox>

#include "app/QtControls.h"
#include "app/RecordingSetup.h"
#include "core/Context.h"

namespace zk {

class frmRec : public QDialog {
  Q_OBJECT
 public:
  frmRec(Context& ctx, QWidget* mainWindow);

  // The dialog's controls by name (optRecMode 1..3, txtPrefix, cmdReset …), for tests.
  QtControls& controls() { return controls_; }
  RecordingSetup& setup() { return setup_; }

 private:
  void Build();
  QGroupBox* Build_Save_Mode();
  QGroupBox* Build_File_Name();
  void Place();
  QWidget* mainWindow_;
  QtControls controls_;
  RecordingSetup setup_;
};

}  // namespace zk
