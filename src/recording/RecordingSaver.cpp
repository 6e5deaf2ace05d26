#include "recording/RecordingSaver.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/RecordingCodes.h"
#include "base/Version.h"
#include "core/ControlNames.h"
#include "core/Controls.h"
#include "core/SettingsFile.h"
#include "core/UnsavedRecording.h"
#include "recording/RecordingFiles.h"
#include "recording/names/NameClaim.h"
#include "recording/names/RecordNames.h"
#include "zkd/FailureTexts.h"

namespace zk {

namespace {

// The save dialogs: ask before overwriting (2, with 1024).
constexpr int SaveDialogFlags = 1026;
constexpr const char* ZkdSaveFilter = "ZKD file (*.zkd*)|*.zkd";
constexpr const char* NotSavedCaption = "Not saved";
constexpr const char* NotSavedTip = "Not saved: the automatic save failed";

}  // namespace

RecordingSaver::RecordingSaver(Context& ctx, RecordingMemory& memory, RecordingSetupDialog& setup)
    : ctx_(ctx), memory_(memory), setup_(setup) {}

void RecordingSaver::Register_Commands(CommandTable& commands) {
  commands.Add(ctl::mnuRecSettings, [this] { mnuRecSettings_Click(); });
}

// ---------------------------------------------------------------------------------------
// The save button and the recording settings

void RecordingSaver::cmdSave_Click() {
  if (ctx_.state.RecordingUnsaved) {
    // After a failed automatic save the user names the recording.
    if (ctx_.settings.RecordingMode == RecAutoName && !ctx_.state.RecordingSaveFailed)
      Save_Auto_Name();
    else
      Save_Recording_As();
  } else if (const auto leave = Unsaved_Recording_Guard(ctx_)) {
    Show_Settings(*leave);
  }
  ctx_.shell.Update_Command_State();
}

void RecordingSaver::cmdSave_MouseDown(int button) {
  if (button != RightMouseButton || !ctx_.state.RecordingUnsaved) return;
  Settings_Dialog();
}

void RecordingSaver::mnuRecSettings_Click() { Settings_Dialog(); }

void RecordingSaver::Settings_Dialog() {
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;
  Show_Settings(*leave);
  ctx_.shell.Update_Command_State();
}

// The recording in memory goes first: the settings decide how the next one is saved.
void RecordingSaver::Show_Settings(const RecordingLeave& leave) {
  memory_.Flush_RecBuffer(leave);
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
    case RecCapture: c.SetToolTip(ctl::cmdSave, "Save As"); break;
    case RecAutoName:
      c.SetToolTip(ctl::lblLoadedFile, Path_In(s.SavePath, st.RecordName));
      c.SetToolTip(ctl::cmdSave, "Save");
      break;
    case RecAutoSave: Save_Auto_Name(); break;
    default: break;
  }
}

bool RecordingSaver::Save_Auto_Name() {
  Settings& s = ctx_.settings;
  SessionState& st = ctx_.state;
  if (!Prefix_Fits_File_Name(s.SavePrefix)) {
    ctx_.prompts.MsgBox(InvalidPrefixText, InvalidPrefixTitle, MsgButtons::OK, MsgIcon::Critical);
    return Auto_Save_Failed();
  }
  NameClaim claim;
  if (const FileError err = claim.Claim(s, st.RecordName)) {
    Tell_Failure(Writing::NewRecording, claim.Base_Path() + ".zkd", err.number, err.description);
    return Auto_Save_Failed();
  }
  if (!Save_Recording(claim.Base_Path())) return Auto_Save_Failed();
  claim.Keep();
  st.RecordName = claim.Name();
  if (claim.Number() > 0) Use_Number(claim.Number());
  s.LoadPath = s.SavePath;
  Show_Saved(claim.Base_Path());
  return true;
}

bool RecordingSaver::Auto_Save_Failed() {
  memory_.Mark_Save_Failed();
  ctx_.controls.SetCaption(ctl::lblLoadedFile, NotSavedCaption);
  ctx_.controls.SetToolTip(ctl::lblLoadedFile, NotSavedTip);
  return false;
}

void RecordingSaver::Use_Number(int n) {
  Settings& s = ctx_.settings;
  s.SuffixNum = static_cast<int16_t>(std::min(n + 1, INT16_MAX));
  Save_Next_Series_Number(ctx_);
}

std::optional<std::string> RecordingSaver::Choose_Base_Path(FileDialogRequest req) {
  for (;;) {
    const auto chosen = ctx_.prompts.SaveFile(req);
    if (!chosen) return std::nullopt;
    const std::string base = Base_Path_Of(*chosen);
    // The save writes the .zkd and, with sound, the .wav: each of them that exists is asked
    // about, except the file the dialog has just asked about itself.
    std::vector<std::string> existing;
    for (const std::string& written : {base + ".zkd", base + ".wav"}) {
      if (written == base + ".wav" && !ctx_.settings.AudioEnable) continue;
      if (written != *chosen && File_Exists(written)) existing.push_back(Name_Of(written));
    }
    if (existing.empty()) return base;
    const std::string question =
        existing.size() == 1 ? existing[0] + " already exists.\nDo you want to replace it?"
                             : existing[0] + " and " + existing[1] + " already exist.\nDo you want to replace them?";
    if (ctx_.prompts.MsgBox(question, req.title, MsgButtons::YesNo, MsgIcon::Warning) == MsgResult::Yes) return base;
    req.fileName = *chosen;  // No: the dialog again, to pick another name
  }
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
  const auto chosen = Choose_Base_Path(req);
  if (!chosen) return false;
  const std::string base = *chosen;
  const std::string folder = Folder_Of(base);
  const std::string name = Name_Of(base);
  if (name.empty()) return false;
  if (!Save_Recording(base)) return false;
  st.RecordName = name;
  if (manual) {
    s.SavePath = folder;
    ctx_.controls.SetToolTip(ctl::lblRecordMode, "");
  }
  s.LoadPath = folder;
  Show_Saved(base);
  return true;
}

void RecordingSaver::Show_Saved(const std::string& basePath) {
  SessionState& st = ctx_.state;
  ctx_.controls.SetCaption(ctl::lblLoadedFile, st.RecordName);
  ctx_.controls.SetToolTip(ctl::lblLoadedFile, basePath);
  memory_.Mark_Saved();
  memory_.Spool().Remove();  // saved: the recording no longer needs its spool
}

bool RecordingSaver::Save_Recording(const std::string& basePath) {
  const std::optional<RecordHeader> header = Header_To_Write();
  if (!Write_Files(basePath, header, Writing::NewRecording)) return false;
  memory_.Keep_Saved_Header(header);
  // The pair is saved; the notes follow it (a failure there is told, the pair stays).
  memory_.Notes().Saved(basePath);
  return true;
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
  const auto base = Choose_Base_Path(req);
  if (!base) return;
  saveAsFolder_ = Folder_Of(*base);
  // The copy has the header records the recording was loaded or saved with: a loaded one
  // holds them in its buffer, a recording made here has them added as at its save.
  if (Write_Files(*base, memory_.Saved_Header(), Writing::Copy)) memory_.Notes().Copied(*base);
}

// ---------------------------------------------------------------------------------------
// Writing

bool RecordingSaver::Write_Files(const std::string& basePath, const std::optional<RecordHeader>& header, Writing what) {
  SessionState& st = ctx_.state;
  StagedFile wav, zkd;
  std::vector<StagedFile*> pair;
  if (ctx_.settings.AudioEnable) {
    // The sound device writes the whole file itself, here onto the staged file's path.
    const std::string path = basePath + ".wav";
    FileError err = wav.Open(path);
    if (!err) err = wav.Close();
    if (err) {
      Tell_Failure(what, path, err.number, err.description);
      return false;
    }
    st.MciResult = ctx_.audio.SaveWav(wav.TempPath());
    if (st.MciResult != 0) {
      std::string reason;
      if (!ctx_.audio.ErrorText(st.MciResult, reason)) reason = "error " + std::to_string(st.MciResult);
      Tell_Failure(what, path, st.MciResult, reason);
      return false;
    }
    pair.push_back(&wav);
  }
  const std::string path = basePath + ".zkd";
  FileError err = zkd.Open(path);
  if (!err) err = WriteRecords(zkd.Fd(), st.RecordBuffer, st.RecordCount, header);
  if (!err) err = zkd.Finish();
  pair.push_back(&zkd);
  if (!err) err = CommitTogether(pair);
  if (err) {
    Tell_Failure(what, path, err.number, err.description);
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
