#include "app/RecentRecordings.h"

#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <filesystem>

#include "base/ProgramFolder.h"
#include "base/Version.h"

namespace zk {

namespace {

constexpr const char* Key = "RecentRecordings/Files";

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

// An ampersand in a name is shown, not taken for an access key.
std::string Shown_As_Is(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '&' ? std::string("&&") : std::string(1, c);
  return shown;
}

}  // namespace

std::vector<std::string> RecentList::Paths() const {
  std::vector<std::string> out;
  if (path_.empty()) return out;
  const QSettings s(QString::fromStdString(path_), QSettings::IniFormat);
  for (const QString& p : s.value(Key).toStringList()) {
    const std::string path = p.toStdString();
    // A hand-edited list: no empty entries, no repeats, no more than the menu holds.
    if (path.empty() || std::find(out.begin(), out.end(), path) != out.end()) continue;
    out.push_back(path);
    if (static_cast<int>(out.size()) == RecentRecordingsMax) break;
  }
  return out;
}

void RecentList::Store(const std::vector<std::string>& paths) {
  if (path_.empty()) return;
  QSettings s(QString::fromStdString(path_), QSettings::IniFormat);
  QStringList list;
  for (const std::string& p : paths) list << QString::fromStdString(p);
  s.setValue(Key, list);
  s.sync();
}

void RecentList::Add(const std::string& zkdPath) {
  const std::string path = Absolute(zkdPath);
  std::vector<std::string> paths = Paths();
  paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
  paths.insert(paths.begin(), path);
  if (static_cast<int>(paths.size()) > RecentRecordingsMax) paths.resize(RecentRecordingsMax);
  Store(paths);
}

void RecentList::Remove(const std::string& zkdPath) {
  std::vector<std::string> paths = Paths();
  paths.erase(std::remove(paths.begin(), paths.end(), zkdPath), paths.end());
  Store(paths);
}

std::string RecentCaption(int index, const std::string& zkdPath, bool missing) {
  const std::filesystem::path p(zkdPath);
  return (index < 9 ? "&" + std::to_string(index + 1) + " " : "1&0 ") + Shown_As_Is(p.stem().string()) + " - " +
         Shown_As_Is(p.parent_path().string()) + (missing ? "  (missing)" : "");
}

RecentRecordings::RecentRecordings(Context& ctx, const RecordingNotes& notes, std::function<void()> dialog, Opener open)
    : ctx_(ctx),
      notes_(notes),
      dialog_(std::move(dialog)),
      open_(std::move(open)),
      list_(ctx.programFolder.empty() ? std::string() : JoinPath(ctx.programFolder, RecentSettingsFileName)) {}

void RecentRecordings::Register_Commands(CommandTable& commands) {
  commands.Add("mnuFileOpen", [this] {
    if (dialog_) dialog_();
  });
  commands.AddIndexed("mnuFileRecentItem", [this](int index) { mnuFileRecentItem_Click(index); });
}

void RecentRecordings::Update_Menus() {
  Controls& c = ctx_.controls;
  const std::string& base = notes_.BasePath();
  if (base != added_) {
    if (!base.empty()) list_.Add(base + ".zkd");
    added_ = base;
  }
  shown_ = list_.Paths();
  for (int i = 0; i < RecentRecordingsMax; ++i) {
    const bool used = i < static_cast<int>(shown_.size());
    if (used) {
      std::error_code ec;
      const bool missing = !std::filesystem::is_regular_file(shown_[static_cast<std::size_t>(i)], ec);
      c.SetCaption("mnuFileRecentItem", i, RecentCaption(i, shown_[static_cast<std::size_t>(i)], missing));
    }
    c.SetVisible("mnuFileRecentItem", i, used);
    c.SetEnabled("mnuFileRecentItem", i, used);
  }
  const bool recording = ctx_.state.OperatingMode == ModeRecording;
  c.SetEnabled("mnuFileOpen", !recording);
  c.SetEnabled("mnuFileRecent", !shown_.empty() && !recording);
}

void RecentRecordings::mnuFileRecentItem_Click(int index) {
  if (index < 0 || index >= static_cast<int>(shown_.size())) return;
  const std::string path = shown_[static_cast<std::size_t>(index)];
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    list_.Remove(path);
    Update_Menus();
    ctx_.prompts.MsgBox(path + " is no longer there; it has been removed from the recent recordings.", ProgramTitle,
                        MsgButtons::OK, MsgIcon::Information);
    return;
  }
  if (open_) open_(path);
}

}  // namespace zk
