#include "recording/RecordNames.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/Numbers.h"
#include "core/RecordingCodes.h"

namespace zk {

std::string RecordNameSuffixText(const Settings& s) { return s.SuffixType == 0 ? "nnn" : "Date__Time"; }

std::string New_RecordName(const Settings& s, const DateTime& now) {
  if (s.SuffixType == 0) return s.SavePrefix + Format_000(s.SuffixNum);
  return s.SavePrefix + Format_00(now.year % 100) + "-" + Format_00(now.month) + "-" + Format_00(now.day) + "__" +
         Format_00(now.hour) + "." + Format_00(now.minute) + "." + Format_00(now.second);
}

const char* RecordingModeCaption(int32_t mode) {
  switch (mode) {
    case RecManual: return "Manual";
    case RecAutoName: return "Auto Name";
    case RecAutoSave: return "Auto Save";
    case RecCapture: return "Capture";
    default: return nullptr;
  }
}

void Update_RecordModeLabel(Context& ctx) {
  Settings& s = ctx.settings;
  std::error_code ec;
  if (!s.SavePath.empty() && !std::filesystem::is_directory(s.SavePath, ec)) s.SavePath.clear();
  const char* caption = RecordingModeCaption(s.RecordingMode);
  if (!caption) return;
  ctx.controls.SetCaption("lblRecordMode", caption);
  ctx.controls.SetToolTip("lblRecordMode", -1,
                          s.RecordingMode == RecManual ? "" : s.SavePath + s.SavePrefix + RecordNameSuffixText(s));
}

std::string Folder_Of(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Name_Of(const std::string& path) { return path.substr(Folder_Of(path).size()); }

std::string Base_Path_Of(const std::string& chosen) {
  constexpr std::size_t n = 4;  // ".zkd"
  if (chosen.size() > n) {
    std::string ext = chosen.substr(chosen.size() - n);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".zkd") return chosen.substr(0, chosen.size() - n);
  }
  return chosen;
}

}  // namespace zk
