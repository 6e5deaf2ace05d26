#include "recording/names/RecordNames.h"

#include <cctype>
#include <climits>
#include <filesystem>

#include "base/Numbers.h"
#include "base/RecordingCodes.h"

namespace zk {

namespace {

constexpr std::size_t SeriesDigits = 3;

bool Is_Digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string RecordNameSuffixText(const Settings& s) { return s.SuffixType == 0 ? "nnn" : "Date__Time"; }

std::string New_RecordName(const Settings& s, const DateTime& now) {
  if (s.SuffixType == 0) return s.SavePrefix + Format_000(s.SuffixNum);
  return s.SavePrefix + Format_00(now.year % 100) + "-" + Format_00(now.month) + "-" + Format_00(now.day) + "__" +
         Format_00(now.hour) + "." + Format_00(now.minute) + "." + Format_00(now.second);
}

bool Prefix_Fits_File_Name(const std::string& prefix) {
  if (prefix == "." || prefix == "..") return false;
  for (unsigned char c : prefix)
    if (c == '/' || c < 0x20 || c == 0x7F) return false;
  return prefix.size() + std::string("000.zkd").size() <= NAME_MAX;
}

std::string Path_In(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (std::filesystem::path(folder) / name).string();
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

std::string Folder_Of(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Name_Of(const std::string& path) { return path.substr(Folder_Of(path).size()); }

std::string Base_Path_Of(const std::string& chosen) {
  const std::string ending = ".zkd";
  if (chosen.size() > ending.size()) {
    std::string ext = chosen.substr(chosen.size() - ending.size());
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ending) return chosen.substr(0, chosen.size() - ending.size());
  }
  return chosen;
}

int Series_Number(const std::string& basePath) {
  if (basePath.size() < SeriesDigits) return 0;
  int n = 0;
  for (std::size_t i = basePath.size() - SeriesDigits; i < basePath.size(); ++i) {
    if (!Is_Digit(basePath[i])) return 0;
    n = n * 10 + (basePath[i] - '0');
  }
  return n;
}

bool Is_Series_File(const std::string& fileName, const std::string& prefix, const std::string& ext) {
  if (fileName.size() != prefix.size() + SeriesDigits + ext.size()) return false;
  if (fileName.compare(0, prefix.size(), prefix) != 0) return false;
  if (fileName.compare(prefix.size() + SeriesDigits, ext.size(), ext) != 0) return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + SeriesDigits; ++i)
    if (!Is_Digit(fileName[i])) return false;
  return true;
}

}  // namespace zk
