#pragma once
// The window's key preview: while the window is active and no menu or dialog is open, the
// keys pressed in any of its widgets go to the operator's keyboard commands instead.
// Alt and Ctrl combinations stay with the menu bar. A window added with Also_For (the
// overview) passes its keys the same way while it is active, except those typed into one
// of its text fields.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

#include "app/Keyboard.h"

namespace zk {

class KeyFilter : public QObject {
 public:
  KeyFilter(QWidget& window, Keyboard& keyboard) : window_(window), keyboard_(keyboard) {}

  bool Preview() const { return preview_; }
  // Off while the series list is open: its keys go to the list.
  void SetPreview(bool on) { preview_ = on; }
  // The keys pressed in `window` go to the keyboard commands too.
  void Also_For(QWidget& window) { others_.push_back(&window); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Owns(QObject* watched) const;
  bool Passes(const QWidget* top) const;
  QWidget& window_;
  std::vector<QPointer<QWidget>> others_;
  Keyboard& keyboard_;
  bool preview_ = true;
};

}  // namespace zk
