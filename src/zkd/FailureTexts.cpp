#include "zkd/FailureTexts.h"

namespace zk {

namespace {

std::string Reasons(const std::string& what, const std::string& done, int number, const std::string& description) {
  return "The " + what + " could not be " + done + " for the following reason(s): \n" + std::to_string(number) + ": '" +
         description + "'";
}

}  // namespace

std::string CouldNotLoadText(const std::string& kind, int number, const std::string& description) {
  return Reasons(kind + " file", "loaded", number, description);
}

std::string FileFailureText(const std::string& done, int number, const std::string& description) {
  return Reasons("file", done, number, description);
}

std::string RecordingNotSavedText(const std::string& path, const std::string& reason) {
  return "The recording could not be saved as " + path + ":\n" + reason +
         "\n\nIt is still in memory: save it in another folder or under another name.";
}

}  // namespace zk
