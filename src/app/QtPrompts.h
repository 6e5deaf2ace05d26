#pragma once
// Message boxes and the file and colour dialogs, shown with Qt.
#include <QPointer>
#include <QWidget>
#include <string>

#include "core/Prompts.h"

namespace zk {

class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  MsgResult MsgBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) override;
  std::optional<std::string> OpenFile(const FileDialogRequest& req) override;
  std::optional<std::string> SaveFile(const FileDialogRequest& req) override;
  std::optional<int32_t> ChooseColor(int32_t initial) override;
  bool OpenFolder(const std::string& folder) override;

 private:
  QPointer<QWidget> owner_;
};

// Qt's file dialog remembers its last folder and view in Qt's own settings file, by
// default in the user's configuration folder. This puts that file into `folder` (the
// program folder), so that the program writes nothing outside it.
void KeepDialogSettingsIn(const std::string& folder);

// "description (*.ext)|*.ext|..." as a Qt name filter list ("description (*.ext)").
QString QtNameFilters(const std::string& filter);
// Colours are 0x00BBGGRR.
QColor ToQColor(int32_t bgr);
int32_t FromQColor(const QColor& c);

}  // namespace zk
