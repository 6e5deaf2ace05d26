#include "recording/RecordingFiles.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "base/Numbers.h"
#include "core/ControlNames.h"
#include "core/UnsavedRecording.h"
#include "recording/Player.h"
#include "recording/RecordLoader.h"
#include "recording/Transport.h"
#include "recording/names/RecordNames.h"
#include "zkd/FailureTexts.h"

namespace zk {

namespace fs = std::filesystem;

namespace {

constexpr int KeyEnter = 13, KeyUp = 38, KeyDown = 40;
constexpr int SeriesLast = 999;

// Load dialog flags: the file must exist (4096), no read-only box (4).
constexpr int LoadDialogFlags = 4100;

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

}  // namespace

bool File_Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec);
}

bool Folder_Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

RecordingFiles::RecordingFiles(Context& ctx, Player& player, Transport& transport, TransportView& bar, StreamGate& gate,
                               RecordingMemory& memory, SeriesList& list)
    : ctx_(ctx), player_(player), transport_(transport), bar_(bar), gate_(gate), memory_(memory), list_(list) {}

bool RecordingFiles::Load(const std::string& basePath) {
  SeekBarProgress progress(bar_);
  if (!Load_File(ctx_, basePath, progress)) return false;
  memory_.Mark_Loaded();
  ctx_.controls.SetEnabled(ctl::picFilePosition, true);
  player_.Show_Loaded_File(basePath);
  memory_.Notes().Loaded(basePath);
  return true;
}

bool RecordingFiles::Open_Recording(const std::string& path, const RecordingLeave& leave) {
  End_Playback();
  gate_.Pause();
  memory_.Flush_RecBuffer(leave);
  const bool ok = Load(Base_Path_Of(path));
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
  Controls& c = ctx_.controls;
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;
  End_Playback();
  c.SetEnabled(ctl::picRecord, false);
  gate_.Pause();
  try {
    FileDialogRequest req;
    req.title = "Load File for Playback";
    req.flags = LoadDialogFlags;
    req.filter = "zkd file (*.zkd*)|*.zkd";
    req.initDir = ctx_.settings.LoadPath;
    if (const auto file = ctx_.prompts.OpenFile(req)) {
      const std::string base = Base_Path_Of(*file);
      ctx_.settings.LoadPath = Folder_Of(base);
      memory_.Flush_RecBuffer(*leave);  // only now: a cancelled dialog changes nothing
      Load(base);
    }
  } catch (const std::system_error& e) {
    ctx_.prompts.MsgBox(FileFailureText("loaded", e.code().value(), e.what()), ProgramTitle, MsgButtons::OK,
                        MsgIcon::None);
  } catch (const std::exception& e) {
    ctx_.prompts.MsgBox(FileFailureText("loaded", 0, e.what()), ProgramTitle, MsgButtons::OK, MsgIcon::None);
  }
  c.SetEnabled(ctl::picRecord, true);
  gate_.Resume();
  ctx_.shell.Update_Command_State();
}

void RecordingFiles::cmdLoad_MouseDown(int button) {
  if (button != RightMouseButton) return;
  Controls& c = ctx_.controls;
  const std::string loaded = c.ToolTip(ctl::lblLoadedFile);
  const int number = Series_Number(loaded);
  if (number < 1) return;
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;
  End_Playback();
  gate_.Pause();
  sequenceStem_ = loaded.substr(0, loaded.size() - 3);
  memory_.Flush_RecBuffer(*leave);
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
  c.SetEnabled(ctl::cboFile, true);
  c.SetVisible(ctl::cboFile, true);
  c.SetVisible(ctl::lblLoadedFile, false);
  c.SetFocus(ctl::cboFile);
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
  // The list was opened on an empty memory; a recording made while it stayed open is not
  // replaced without the guard.
  if (!sequenceStem_.empty() && !entry.empty()) {
    if (const auto leave = Unsaved_Recording_Guard(ctx_)) {
      memory_.Flush_RecBuffer(*leave);
      Load(sequenceStem_ + entry);
    }
  }
  Close_List();
  ctx_.shell.Update_Command_State();
}

// The list gives way to the file name again; the readings held while it was open go on.
void RecordingFiles::Close_List() {
  Controls& c = ctx_.controls;
  c.SetEnabled(ctl::cboFile, false);
  c.SetVisible(ctl::cboFile, false);
  c.SetVisible(ctl::lblLoadedFile, true);
  gate_.Resume();
  list_.SetKeyPreview(true);
}

void RecordingFiles::cboFile_LostFocus() {
  if (!ctx_.controls.Visible(ctl::cboFile)) return;
  // Nothing is loaded, but the live readings must not stay held.
  Close_List();
}

}  // namespace zk
