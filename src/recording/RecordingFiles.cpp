#include "recording/RecordingFiles.h"

#include <QStandardPaths>
#include <cctype>
#include <exception>
#include <filesystem>
#include <system_error>

#include "core/Numbers.h"
#include "core/UnsavedRecording.h"
#include "recording/Player.h"
#include "zkd/RecordFile.h"
#include "recording/RecordLoader.h"
#include "recording/Transport.h"

namespace zk {

namespace fs = std::filesystem;

namespace {

constexpr int KeyEnter = 13, KeyUp = 38, KeyDown = 40;
constexpr int RightButton = 2;
constexpr int SeriesLast = 999;

// Dialog flags: ask before overwriting (2); the file must exist (4096), no read-only box (4).
constexpr int SaveDialogFlags = 1026, LoadDialogFlags = 4100;

// The loading progress as a growing box on the seek bar, fifty steps to its full width.
class SeekBarProgress : public LoadProgress {
 public:
  explicit SeekBarProgress(TransportView& bar) : bar_(bar) {}
  void Begin() override { bar_.SeekBar_Clear(); }
  void Show(int fiftieths) override {
    bar_.SeekBar_Box(0, 0, (bar_.SeekBar_ScaleWidth() * fiftieths) / 50, 100, bar_.ButtonFaceColor());
  }

 private:
  TransportView& bar_;
};

// The chosen file without its ".zkd" (in any letter case); a name without it is kept whole,
// so the loader reports the file it looked for.
std::string Base_Path(const std::string& file) {
  if (file.size() > 4) {
    std::string ext = file.substr(file.size() - 4);
    for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext == ".zkd") return file.substr(0, file.size() - 4);
  }
  return file;
}

std::string Folder_Of(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

std::string Failure_Text(const std::string& what, int number, const std::string& description) {
  return "The file could not be " + what + " for the following reason(s): \n" + std::to_string(number) + ": '" +
         description + "'";
}

}  // namespace

bool File_Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec);
}

bool Folder_Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

std::string Documents_Folder() {
  const std::string docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  return Folder_Exists(docs) ? docs : std::string();
}

int Series_Number(const std::string& basePath) {
  if (basePath.size() < 3) return 0;
  int n = 0;
  for (std::size_t i = basePath.size() - 3; i < basePath.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(basePath[i]))) return 0;
    n = n * 10 + (basePath[i] - '0');
  }
  return n;
}

RecordingFiles::RecordingFiles(Context& ctx, Player& player, Transport& transport, TransportView& bar,
                               StreamGate& gate, RecordingMemory& memory, SeriesList& list)
    : ctx_(ctx), player_(player), transport_(transport), bar_(bar), gate_(gate), memory_(memory), list_(list) {}

bool RecordingFiles::Load(const std::string& basePath) {
  SeekBarProgress progress(bar_);
  if (!Load_File(ctx_, basePath, progress)) return false;
  ctx_.state.FileLoaded = true;
  ctx_.controls.SetEnabled("picFilePosition", true);
  player_.Show_Loaded_File(basePath);
  return true;
}

bool RecordingFiles::Open_Recording(const std::string& path) {
  End_Playback();
  gate_.Pause();
  memory_.Flush_RecBuffer();
  const bool ok = Load(Base_Path(path));
  if (ok) ctx_.settings.LoadPath = Folder_Of(path);
  gate_.Resume();
  ctx_.shell.Update_Command_State();
  return ok;
}

// A playback, running or paused, ends before the recording under it is replaced.
void RecordingFiles::End_Playback() {
  if (player_.Active()) transport_.cmdStop_Click();
}

void RecordingFiles::cmdLoad_Click() {
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  if (!Unsaved_Recording_Guard(ctx_)) return;
  End_Playback();
  c.SetEnabled("picRecord", false);
  st.RecordingUnsaved = false;
  gate_.Pause();
  try {
    FileDialogRequest req;
    req.title = "Load File for Playback";
    req.flags = LoadDialogFlags;
    req.filter = "zkd file (*.zkd*)|*.zkd";
    req.initDir = ctx_.settings.LoadPath;
    if (const auto file = ctx_.prompts.OpenFile(req)) {
      const std::string base = Base_Path(*file);
      ctx_.settings.LoadPath = Folder_Of(base);
      memory_.Flush_RecBuffer();
      Load(base);
    }
  } catch (const std::system_error& e) {
    ctx_.prompts.MsgBox(Failure_Text("loaded", e.code().value(), e.what()), ProgramTitle, MsgButtons::OK,
                        MsgIcon::None);
  } catch (const std::exception& e) {
    ctx_.prompts.MsgBox(Failure_Text("loaded", 0, e.what()), ProgramTitle, MsgButtons::OK, MsgIcon::None);
  }
  c.SetEnabled("picRecord", true);
  gate_.Resume();
  ctx_.shell.Update_Command_State();
}

void RecordingFiles::cmdLoad_MouseDown(int button) {
  if (button != RightButton) return;
  Controls& c = ctx_.controls;
  const std::string loaded = c.ToolTip("lblLoadedFile");
  const int number = Series_Number(loaded);
  if (number < 1) return;
  if (!Unsaved_Recording_Guard(ctx_)) return;
  End_Playback();
  ctx_.state.RecordingUnsaved = false;
  gate_.Pause();
  sequenceStem_ = loaded.substr(0, loaded.size() - 3);
  memory_.Flush_RecBuffer();
  list_.Clear();
  int entries = 0;
  for (int i = 1; i <= SeriesLast; ++i) {
    const std::string text = Format_000(i);
    if (!File_Exists(sequenceStem_ + text + ".zkd")) continue;
    list_.AddItem(text);
    if (i == number) {
      // Selecting the loaded entry loads it again, as a click on it does.
      list_.SetListIndex(entries);
      cboFile_Click();
    }
    ++entries;
  }
  c.SetEnabled("cboFile", true);
  c.SetVisible("cboFile", true);
  c.SetVisible("lblLoadedFile", false);
  c.SetFocus("cboFile");
  list_.DropDown();
  list_.SetKeyPreview(false);
  ctx_.shell.Update_Command_State();
}

void RecordingFiles::cboFile_Click() {
  if (arrowKeyFlag_) return;
  Take_Entry();
}

void RecordingFiles::cboFile_KeyPress(int keyAscii) {
  if (keyAscii == KeyEnter) Take_Entry();
}

void RecordingFiles::cboFile_KeyDown(int keyCode) {
  if (keyCode == KeyUp || keyCode == KeyDown) arrowKeyFlag_ = true;
}

void RecordingFiles::cboFile_KeyUp(int keyCode) {
  if (keyCode == KeyUp || keyCode == KeyDown) arrowKeyFlag_ = false;
}

void RecordingFiles::cboFile_DblClick() { ctx_.shell.Beep(); }

void RecordingFiles::Take_Entry() {
  const std::string entry = list_.Text();
  if (!sequenceStem_.empty() && !entry.empty()) Load(sequenceStem_ + entry);
  Close_List();
  ctx_.shell.Update_Command_State();
}

// The list gives way to the file name again; the readings held while it was open go on.
void RecordingFiles::Close_List() {
  Controls& c = ctx_.controls;
  c.SetEnabled("cboFile", false);
  c.SetVisible("cboFile", false);
  c.SetVisible("lblLoadedFile", true);
  gate_.Resume();
  list_.SetKeyPreview(true);
}

void RecordingFiles::cboFile_LostFocus() {
  if (!ctx_.controls.Visible("cboFile")) return;
  // Nothing is loaded, but the live readings must not stay held.
  Close_List();
}

void RecordingFiles::lblLoadedFile_MouseDown(int button) {
  SessionState& st = ctx_.state;
  if (button != RightButton || !st.FileLoaded || st.RecordingUnsaved) return;
  FileDialogRequest req;
  req.title = "Save File As";
  req.flags = SaveDialogFlags;
  req.filter = "ZKD file (*.zkd*)|*.zkd";
  req.initDir = saveAsFolder_;
  const auto file = ctx_.prompts.SaveFile(req);
  if (!file) return;
  const std::string base = Base_Path(*file);
  saveAsFolder_ = Folder_Of(base);
  if (ctx_.settings.AudioEnable) {
    st.MciResult = ctx_.audio.SaveWav(base + ".wav");
    // An older sound of that name would not belong to the new copy.
    std::error_code ec;
    if (st.MciResult != 0) fs::remove(base + ".wav", ec);
  }
  // The records keep the header records they were loaded or saved with.
  if (const FileError err = WriteRecordFile(base + ".zkd", st.RecordBuffer, st.RecordCount, std::nullopt))
    ctx_.prompts.MsgBox(Failure_Text("saved", err.number, err.description), ProgramTitle, MsgButtons::OK,
                        MsgIcon::None);
}

}  // namespace zk
