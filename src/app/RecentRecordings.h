#pragma once
// File > Open Recording... (the Open button's dialog) and File > Recent Recordings: the last ten recordings opened or
// saved, newest first, kept in the program's own user settings file ("zodovaz.conf" in the program folder, Qt's INI
// format, group [RecentRecordings]) — apart from the settings files the user loads and saves. Each menu item names the
// recording and its folder; one whose file has gone says so, and choosing it removes it from the list with a message.
#include <functional>
#include <string>
#include <vector>

#include "core/CommandTable.h"
#include "core/Context.h"
#include "recording/RecordingNotes.h"

namespace zk {

inline constexpr int RecentRecordingsMax = 10;
inline constexpr const char* RecentSettingsFileName = "zodovaz.conf";

// The list as stored: absolute ".zkd" paths, newest first, at most RecentRecordingsMax.
class RecentList {
 public:
  explicit RecentList(std::string settingsPath) : path_(std::move(settingsPath)) {}
  std::vector<std::string> Paths() const;
  // `zkdPath` goes to the top (once).
  void Add(const std::string& zkdPath);
  void Remove(const std::string& zkdPath);

 private:
  void Store(const std::vector<std::string>& paths);
  std::string path_;
};

// The menu item's caption for a recording: "&1 name - folder", with "(missing)" when the
// file is gone.
std::string RecentCaption(int index, const std::string& zkdPath, bool missing);

class RecentRecordings {
 public:
  // `dialog` is the Open button (File > Open Recording...); `open` opens a recording as
  // the Open button's dialog does once a file is chosen (with the guard of an unsaved
  // recording) and answers whether it loaded.
  using Opener = std::function<bool(const std::string& zkdPath)>;
  // The recording in memory is known by the file its notes follow (RecordingNotes), which
  // it has from the moment it is loaded or saved.
  RecentRecordings(Context& ctx, const RecordingNotes& notes, std::function<void()> dialog, Opener open);

  void Register_Commands(CommandTable& commands);
  // A recording opened or saved since the last look heads the list; the list is shown in
  // the menu (items hidden past its end; the submenu greyed while empty or while
  // recording). Runs after every command.
  void Update_Menus();
  void mnuFileRecentItem_Click(int index);
  RecentList& List() { return list_; }

 private:
  Context& ctx_;
  const RecordingNotes& notes_;
  std::function<void()> dialog_;
  Opener open_;
  std::string added_;  // the base path last put at the top
  RecentList list_;
  std::vector<std::string> shown_;  // the paths of the menu's items, in order
};

}  // namespace zk
