#include "app/QtSeriesList.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "app/KeyCodes.h"

namespace zk {

QtSeriesList::QtSeriesList(QComboBox& box, std::function<void(bool)> keyPreview)
    : box_(box), keyPreview_(std::move(keyPreview)) {
  box_.installEventFilter(this);
  box_.view()->installEventFilter(this);
  // A choice by mouse or keyboard; arrow keys on the closed list choose too, which is why
  // the files ignore a click while an arrow key is held.
  QObject::connect(&box_, &QComboBox::activated, this, [this](int) {
    if (files_) files_->cboFile_Click();
  });
}

void QtSeriesList::Clear() {
  const QSignalBlocker quiet(&box_);
  box_.clear();
}

void QtSeriesList::AddItem(const std::string& text) {
  const QSignalBlocker quiet(&box_);
  box_.addItem(QString::fromStdString(text));
}

void QtSeriesList::SetListIndex(int index) {
  const QSignalBlocker quiet(&box_);
  box_.setCurrentIndex(index);
}

std::string QtSeriesList::Text() const { return box_.currentText().toStdString(); }

void QtSeriesList::DropDown() { box_.showPopup(); }

bool QtSeriesList::eventFilter(QObject* watched, QEvent* event) {
  if (!files_) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(event);
      const int code = VirtualKeyCode(k->key());
      files_->cboFile_KeyDown(code);
      if (watched == &box_ && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
        files_->cboFile_KeyPress(13);
        return true;
      }
      break;
    }
    case QEvent::KeyRelease:
      if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
        files_->cboFile_KeyUp(VirtualKeyCode(static_cast<QKeyEvent*>(event)->key()));
      break;
    case QEvent::MouseButtonDblClick: files_->cboFile_DblClick(); break;
    case QEvent::FocusOut:
      // The list's own drop-down takes the focus for a moment; that is no leaving.
      if (watched == &box_ && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
          !box_.view()->isVisible())
        files_->cboFile_LostFocus();
      break;
    default: break;
  }
  return false;
}

}  // namespace zk
