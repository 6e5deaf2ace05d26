#include "recording/RecordingSaver.h"

#include "core/Controls.h"
#include "core/RecordingCodes.h"
#include "core/UnsavedRecording.h"
#include "core/Version.h"
#include "recording/RecordNames.h"
#include "zkd/FailureTexts.h"

namespace zk {

namespace {

// The save dialogs: ask before overwriting (2, with 1024).
constexpr int SaveDialogFlags = 1026;
constexpr const char* ZkdSaveFilter = "ZKD file (*.zkd*)|*.zkd";

}  // namespace

RecordingSaver::RecordingSaver(Context& ctx, RecordingMemory& memory, RecordingSetupDialog& setup)
    : ctx_(ctx), memory_(memory), setup_(setup) {}

void RecordingSaver::Register_Commands(CommandTable& commands) {
  commands.Add("mnuRecSettings", [this] { mnuRecSettings_Click(); });
}

// ---------------------------------------------------------------------------------------
// The save button and the recording settings

void RecordingSaver::cmdSave_Click() {
  if (ctx_.state.RecordingUnsaved) {
    if (ctx_.settings.RecordingMode == RecAutoName)
      Save_Auto_Name();
    else
      Save_Recording_As();
  } else {
    Show_Settings();
  }
  ctx_.shell.Update_Command_State();
}

void RecordingSaver::cmdSave_MouseDown(int button) {
  if (button != RightMouseButton || !ctx_.state.RecordingUnsaved) return;
  Settings_Dialog();
}

void RecordingSaver::mnuRecSettings_Click() { Settings_Dialog(); }

void RecordingSaver::Settings_Dialog() {
  if (!Unsaved_Recording_Guard(ctx_)) return;
  Show_Settings();
  ctx_.shell.Update_Command_State();
}

// The recording in memory goes first: the settings decide how the next one is saved.
void RecordingSaver::Show_Settings() {
  memory_.Flush_RecBuffer();
  setup_.Show_Recording_Setup();
  ctx_.shell.Update_RecordModeLabel();
}

// ---------------------------------------------------------------------------------------
// A new recording, by the recording mode

void RecordingSaver::Keep_By_Mode() {
  Settings& s = ctx_.settings;
  SessionState& st = ctx_.state;
  Controls& c = ctx_.controls;
  switch (s.RecordingMode) {
    case RecManual:
    case RecCapture: c.SetToolTip("cmdSave", "Save As"); break;
    case RecAutoName:
      c.SetToolTip("lblLoadedFile", s.SavePath + st.RecordName);
      c.SetToolTip("cmdSave", "Save");
      break;
    case RecAutoSave:
      if (!Save_Auto_Name()) c.SetToolTip("lblLoadedFile", s.SavePath + st.RecordName);
      break;
    default: break;
  }
}

bool RecordingSaver::Save_Auto_Name() {
  Settings& s = ctx_.settings;
  const std::string base = s.SavePath + ctx_.state.RecordName;
  if (!Save_Recording(base)) return false;
  s.LoadPath = s.SavePath;
  Show_Saved(base);
  if (s.SuffixType == 0) ++s.SuffixNum;
  return true;
}

// Manual mode, and any recording whose automatic save failed or that was only captured:
// the user names it. Manual mode takes the chosen folder as its save folder.
bool RecordingSaver::Save_Recording_As() {
  Settings& s = ctx_.settings;
  SessionState& st = ctx_.state;
  const bool manual = s.RecordingMode == RecManual;
  FileDialogRequest req;
  req.title = "Save Recording As";
  req.filter = ZkdSaveFilter;
  req.fileName = manual ? s.SavePrefix : st.RecordName;
  req.initDir = s.SavePath;
  req.flags = SaveDialogFlags;
  const auto chosen = ctx_.prompts.SaveFile(req);
  if (!chosen) return false;
  const std::string base = Base_Path_Of(*chosen);
  const std::string folder = Folder_Of(base);
  const std::string name = Name_Of(base);
  if (name.empty()) return false;
  if (!Save_Recording(base)) return false;
  st.RecordName = name;
  if (manual) {
    s.SavePath = folder;
    ctx_.controls.SetToolTip("lblRecordMode", "");
  }
  s.LoadPath = folder;
  Show_Saved(base);
  return true;
}

void RecordingSaver::Show_Saved(const std::string& basePath) {
  SessionState& st = ctx_.state;
  ctx_.controls.SetCaption("lblLoadedFile", st.RecordName);
  ctx_.controls.SetToolTip("lblLoadedFile", basePath);
  st.RecordingUnsaved = false;
  memory_.Spool().Remove();  // saved: the recording no longer needs its spool
}

bool RecordingSaver::Save_Recording(const std::string& basePath) {
  return Write_Files(basePath, Header_To_Write(), Writing::NewRecording);
}

std::optional<RecordHeader> RecordingSaver::Header_To_Write() const {
  if (!ctx_.settings.TimeDateEnable) return std::nullopt;
  return RecordHeader{ctx_.settings.ClockType, ctx_.settings.DateType, ctx_.state.RecordStartSeconds,
                      ctx_.state.RecordStartDay};
}

// ---------------------------------------------------------------------------------------
// A copy of the recording in memory

void RecordingSaver::lblLoadedFile_MouseDown(int button) {
  const SessionState& st = ctx_.state;
  if (button != RightMouseButton || !st.FileLoaded || st.RecordingUnsaved) return;
  FileDialogRequest req;
  req.title = "Save File As";
  req.flags = SaveDialogFlags;
  req.filter = ZkdSaveFilter;
  req.initDir = saveAsFolder_;
  const auto file = ctx_.prompts.SaveFile(req);
  if (!file) return;
  const std::string base = Base_Path_Of(*file);
  saveAsFolder_ = Folder_Of(base);
  // The records keep the header records they were loaded or saved with.
  Write_Files(base, std::nullopt, Writing::Copy);
}

// ---------------------------------------------------------------------------------------
// Writing

bool RecordingSaver::Write_Files(const std::string& basePath, const std::optional<RecordHeader>& header, Writing what) {
  SessionState& st = ctx_.state;
  if (ctx_.settings.AudioEnable) {
    const std::string wav = basePath + ".wav";
    st.MciResult = ctx_.audio.SaveWav(wav);
    if (st.MciResult != 0) {
      std::string reason;
      if (!ctx_.audio.ErrorText(st.MciResult, reason)) reason = "error " + std::to_string(st.MciResult);
      Tell_Failure(what, wav, st.MciResult, reason);
      return false;
    }
  }
  const std::string zkd = basePath + ".zkd";
  if (const FileError err = WriteRecordFile(zkd, st.RecordBuffer, st.RecordCount, header)) {
    Tell_Failure(what, zkd, err.number, err.description);
    return false;
  }
  return true;
}

void RecordingSaver::Tell_Failure(Writing what, const std::string& path, int number, const std::string& reason) {
  if (what == Writing::NewRecording)
    ctx_.prompts.MsgBox(RecordingNotSavedText(path, reason), SaveRecordingTitle, MsgButtons::OK, MsgIcon::Critical);
  else
    ctx_.prompts.MsgBox(FileFailureText("saved", number, reason), ProgramTitle, MsgButtons::OK, MsgIcon::None);
}

}  // namespace zk
