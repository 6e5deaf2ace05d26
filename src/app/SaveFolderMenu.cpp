#include "app/SaveFolderMenu.h"

#include <QDir>
#include <QStandardPaths>

#include "base/SaveFolder.h"
#include "base/Version.h"

namespace zk {

void Fill_Save_Folder(Context& ctx) {
  Settings& s = ctx.settings;
  if (!s.SavePath.empty()) return;
  // On Linux the documents location is read from the XDG user-dirs file; without an entry
  // it is ~/Documents, which need not exist yet.
  const std::string docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  s.SavePath = Default_Save_Folder(docs, QDir::homePath().toStdString(), ctx.programFolder);
}

void mnuRecOpenFolder_Click(Context& ctx) {
  Fill_Save_Folder(ctx);
  const std::string& folder = ctx.settings.SavePath;
  if (folder.empty()) {
    ctx.prompts.MsgBox("There is no folder to save recordings in. Choose one in Recording Settings.", ProgramTitle,
                       MsgButtons::OK, MsgIcon::Warning);
    return;
  }
  if (!ctx.prompts.OpenFolder(folder))
    ctx.prompts.MsgBox("Could not open " + folder + " in a file manager.", ProgramTitle, MsgButtons::OK,
                       MsgIcon::Warning);
}

void Register_Save_Folder_Commands(CommandTable& commands, Context& ctx) {
  commands.Add("mnuRecOpenFolder", [&ctx] { mnuRecOpenFolder_Click(ctx); });
}

}  // namespace zk
