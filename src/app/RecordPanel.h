#pragma once
// picRecord: the record and playback panel under the meter, with its transport buttons,
// the recording-mode and file labels, the time labels, the tag counter, the seek bar, the
// series list and the playback override box.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "app/QtControls.h"
#include "display/Surface.h"
#include "display/SurfaceWidget.h"

namespace zk {

class RecordPanel : public QWidget {
  Q_OBJECT
 public:
  RecordPanel(Surface& filePosition, QWidget* parent);

  // Registers the panel and its controls under their names.
  void Register(QtControls& controls);
  // Shows the panel with its seek bar (the series list and the file list over the file
  // label, the loop button in the load button's place and hidden), or hides both.
  void Show_Panel(bool on);

  QPushButton *cmdRecord, *cmdStop, *cmdPlay, *cmdRev, *cmdFwd, *cmdLoad, *cmdSave, *cmdLoop;
  QLabel *lblRecordMode, *lblLoadedFile, *lblPlayTime, *lblTotalTime, *lblTag;
  QLabel *lblTimeCaption, *lblTotalCaption;
  QComboBox* cboFile;
  QListWidget* List1;
  QCheckBox* chkOveride;
  SurfaceWidget* picFilePosition;

  // A press of the right mouse button on the load and save buttons and on the file name.
  std::function<void()> onLoadRightClick, onSaveRightClick, onLoadedFileRightClick;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* Button(const char* tip);
};

}  // namespace zk
