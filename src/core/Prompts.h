#pragma once
// Message boxes and common dialogs. The program shows Qt dialogs; tests script answers.
#include <cstdint>
#include <optional>
#include <string>

namespace zk {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgResult { OK, Cancel, Yes, No, Retry };

struct FileDialogRequest {
  std::string title;     // DialogTitle
  std::string filter;    // "description (*.ext)|*.ext"
  std::string fileName;  // initial file name or path
  std::string initDir;   // InitDir
  int flags = 0;         // 0x2: ask before overwriting
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual MsgResult MsgBox(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> OpenFile(const FileDialogRequest& req) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialogRequest& req) = 0;
  virtual std::optional<int32_t> ChooseColor(int32_t initial) = 0;
  // Shows the folder in the desktop's file manager; false when that could not be done.
  virtual bool OpenFolder(const std::string& /*folder*/) { return false; }
};

}  // namespace zk
