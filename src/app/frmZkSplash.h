#pragma once
// The splash window shown while the main window loads and while the connect search runs.
#include <QLabel>
#include <QWidget>
#include <string>

namespace zk {

class frmZkSplash : public QWidget {
  Q_OBJECT
 public:
  // versionText receives "Version 1.0.0".
  explicit frmZkSplash(std::string& versionText);
  void SetInfo(const std::string& text);
  std::string Info() const { return lblInfo_->text().toStdString(); }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QLabel* lblInfo_;
};

}  // namespace zk
