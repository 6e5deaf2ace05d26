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

// The splash window as the shell shows it: made at the first showing, centred on the
// primary screen; its information line and its hiding do nothing before then.
class Splash {
 public:
  // versionText receives "Version 1.0.0" when the window is made.
  explicit Splash(std::string& versionText) : versionText_(versionText) {}
  ~Splash() { delete window_; }
  Splash(const Splash&) = delete;
  Splash& operator=(const Splash&) = delete;

  void Show();
  void Info(const std::string& text);
  void Unload();

 private:
  std::string& versionText_;
  frmZkSplash* window_ = nullptr;
};

}  // namespace zk
