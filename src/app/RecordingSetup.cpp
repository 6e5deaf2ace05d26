#include "app/RecordingSetup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "base/Numbers.h"
#include "base/RecordingCodes.h"
#include "core/SettingsFile.h"
#include "recording/names/RecordNames.h"
#include "zkd/TagNotes.h"

namespace zk {

namespace {

constexpr const char* WarningText = "Warning..Reset may delete files!";

// Tries to create the file; false only when the system refuses the name itself. An
// existing file is left alone (and its name is evidently fine).
bool Name_Accepted_By(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(path.c_str());
    return true;
  }
  return errno != ENAMETOOLONG && errno != EINVAL && errno != EILSEQ;
}

}  // namespace

std::vector<std::string> Series_Files(const std::string& folder, const std::string& prefix) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  if (folder.empty()) return files;  // no save folder: never the working directory
  for (const char* ext : {".wav", ".zkd"}) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code typeError;
      if (it->is_regular_file(typeError) && Is_Series_File(it->path().filename().string(), prefix, ext))
        files.push_back(it->path().string());
    }
  }
  return files;
}

int Series_Recordings(const std::vector<std::string>& files) {
  std::set<std::string> numbers;
  for (const std::string& f : files) numbers.insert(f.substr(0, f.size() - 4));
  return static_cast<int>(numbers.size());
}

void Delete_Series(const std::string& folder, const std::string& prefix) {
  std::error_code ec;
  for (const std::string& f : Series_Files(folder, prefix)) {
    std::filesystem::remove(f, ec);
    // The notes written on a recording go with it (".zkd" and ".wav" are four letters).
    std::filesystem::remove(NotesPathFor(f.substr(0, f.size() - 4)), ec);
  }
}

std::string Reset_Question(int recordings, const std::string& folder, const std::string& prefix) {
  return "Reset deletes " + std::to_string(recordings) + (recordings == 1 ? " recording" : " recordings") +
         " of the series " + prefix + "001, " + prefix + "002 ... (.zkd and .wav) in " + folder + ". Delete " +
         (recordings == 1 ? "it?" : "them?");
}

void RecordingSetup::Form_Load() {
  const Settings& s = ctx_.settings;
  loading_ = true;
  dlg_.SetCaption("lblSavePath", s.SavePath);
  dlg_.SetChecked("chkRecPrompt", s.RecPromptEnable);
  chkRecPrompt_Click();
  dlg_.SetChecked("chkTimeDate", s.TimeDateEnable);
  chkTimeDate_Click();
  dlg_.SetCaption("txtPrefix", s.SavePrefix);
  prefixBefore_ = s.SavePrefix;

  for (int i : {0, 1}) dlg_.SetEnabled("optSuffixType", i, false);
  dlg_.SetEnabled("cmdReset", false);
  dlg_.SetEnabled("lblSuffixNum", false);
  dlg_.SetVisible("lblWarning", false);

  const int suffix = s.SuffixType == 0 ? 0 : 1;
  dlg_.SetChecked("optSuffixType", suffix, true);
  optSuffixType_Click(suffix);
  if (s.RecordingMode >= RecManual && s.RecordingMode <= RecAutoSave) {
    dlg_.SetChecked("optRecMode", s.RecordingMode, true);
    optRecMode_Click(s.RecordingMode);
  } else {
    // "Capture" (or a value from a hand-edited file) has no button: none is selected, the
    // name controls work as for the automatic names, and the mode stays until one is chosen.
    for (int i : {0, 1}) dlg_.SetEnabled("optSuffixType", i, true);
    dlg_.SetEnabled("chkRecPrompt", true);
    Numeric_Extras(dlg_.Checked("optSuffixType", 0));
  }
  dlg_.SetCaption("lblSuffixNum", Format_000(s.SuffixNum));
  dlg_.SetCaption("lblWarning", WarningText);
  loading_ = false;
}

// Each change is in the settings file at once, so that a crash before the next save or
// exit does not lose it (a recovered recording is saved under these settings).
void RecordingSetup::Remember() {
  if (!loading_) Save_Recording_Choices(ctx_);
}

void RecordingSetup::Start_Series() {
  ctx_.settings.SuffixNum = 1;
  dlg_.SetCaption("lblSuffixNum", "001");
  // Written as it is: the reset is the user's word, which the save's "never goes back"
  // must not undo with the number stored before.
  Save_Recording_Key(ctx_, "SuffixNum");
}

void RecordingSetup::Numeric_Extras(bool on) {
  dlg_.SetVisible("lblWarning", on);
  dlg_.SetEnabled("lblSuffixNum", on);
  dlg_.SetEnabled("cmdReset", on && ctx_.settings.SuffixNum > 1);
}

void RecordingSetup::optRecMode_Click(int index) {
  ctx_.settings.RecordingMode = index;
  Remember();
  const bool automatic = index != RecManual;
  for (int i : {0, 1}) dlg_.SetEnabled("optSuffixType", i, automatic);
  // Auto Save leaves a recording unsaved only when its save failed, and such a recording is
  // asked about whatever this box says.
  dlg_.SetEnabled("chkRecPrompt", index != RecAutoSave);
  if (!automatic)
    Numeric_Extras(false);
  else if (dlg_.Checked("optSuffixType", 0))
    Numeric_Extras(true);
}

void RecordingSetup::optSuffixType_Click(int index) {
  ctx_.settings.SuffixType = index;
  Remember();
  Numeric_Extras(index == 0);
}

void RecordingSetup::chkRecPrompt_Click() {
  ctx_.settings.RecPromptEnable = dlg_.Checked("chkRecPrompt");
  Remember();
}

void RecordingSetup::chkTimeDate_Click() {
  ctx_.settings.TimeDateEnable = dlg_.Checked("chkTimeDate");
  Remember();
}

void RecordingSetup::txtPrefix_Validate() {
  const std::string text = dlg_.Caption("txtPrefix");
  if (text == prefixBefore_) return;
  if (!Validate_Prefix(text)) {
    dlg_.SetCaption("txtPrefix", prefixBefore_);
    return;
  }
  ctx_.settings.SavePrefix = text;
  prefixBefore_ = text;
  Remember();
  // A new prefix starts its series at 001 — without deleting anything: recordings already
  // named so keep their names, and a save takes the first number free.
  Start_Series();
  Numeric_Extras(dlg_.Checked("optSuffixType", 0) && ctx_.settings.RecordingMode != RecManual);
}

bool RecordingSetup::Validate_Prefix(const std::string& prefix) {
  const std::string& folder = ctx_.settings.SavePath;
  // Without a save folder nothing is tried on disk: that would be the working directory.
  const bool ok =
      Prefix_Fits_File_Name(prefix) && (folder.empty() || Name_Accepted_By(Path_In(folder, prefix + "000.zkd")));
  if (!ok) ctx_.prompts.MsgBox(InvalidPrefixText, InvalidPrefixTitle, MsgButtons::OK, MsgIcon::Critical);
  return ok;
}

void RecordingSetup::cmdReset_Click() {
  const Settings& s = ctx_.settings;
  const std::vector<std::string> files = Series_Files(s.SavePath, s.SavePrefix);
  if (!files.empty()) {
    const std::string question = Reset_Question(Series_Recordings(files), s.SavePath, s.SavePrefix);
    if (ctx_.prompts.MsgBox(question, "Reset", MsgButtons::YesNo, MsgIcon::Warning) != MsgResult::Yes) return;
    Delete_Series(s.SavePath, s.SavePrefix);
  }
  Start_Series();
  Numeric_Extras(true);
}

void RecordingSetup::cmdBrowseSaveFolder_Click() {
  Settings& s = ctx_.settings;
  FileDialogRequest req;
  req.title = "Select Save Folder";
  req.filter = "ZKD file (*.zkd*)|*.zkd";
  req.fileName = "Date-Time";
  req.initDir = s.SavePath;
  req.flags = 1024;
  const auto chosen = ctx_.prompts.SaveFile(req);
  if (!chosen) return;
  const std::string folder = Folder_Of(*chosen);
  if (folder.empty()) return;
  s.SavePath = folder;
  dlg_.SetCaption("lblSavePath", s.SavePath);
  Remember();
}

}  // namespace zk
