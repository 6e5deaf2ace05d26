#pragma once
// The window's key preview: while the window is active and no menu or dialog is open, the
// keys pressed in any of its widgets go to the operator's keyboard commands instead.
// Alt and Ctrl combinations stay with the menu bar.
#include <QObject>
#include <QWidget>

#include "app/Keyboard.h"

namespace zk {

class KeyFilter : public QObject {
 public:
  KeyFilter(QWidget& window, Keyboard& keyboard) : window_(window), keyboard_(keyboard) {}

  bool Preview() const { return preview_; }
  // Off while the series list is open: its keys go to the list.
  void SetPreview(bool on) { preview_ = on; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Owns(QObject* watched) const;
  QWidget& window_;
  Keyboard& keyboard_;
  bool preview_ = true;
};

}  // namespace zk
