#pragma once
// Everything about writing a recording to disk: the save button (left click saves an
// unsaved recording by the recording mode, or opens the recording settings when nothing is
// unsaved; right click discards an unsaved recording and opens them), the recording
// settings menu, what the recording mode does with a recording that has just stopped, and
// "Save File As" for a copy of the recording in memory (a right click on the file name).
//
// A recording is written as a pair: the sound (when recording with sound) at base path +
// ".wav" and the readings at base path + ".zkd". Both are written to temporary files first
// and replace the older pair only once both are complete, so a failure half way leaves the
// old pair whole; the recording in memory is untouched either way. An automatic name never
// replaces anything: the save claims the first free one (see NameClaim).
#include <optional>
#include <string>

#include "core/CommandTable.h"
#include "core/Context.h"
#include "recording/RecordingMemory.h"
#include "zkd/RecordFile.h"

namespace zk {

// frmRec, shown modally; returns once it is closed.
class RecordingSetupDialog {
 public:
  virtual ~RecordingSetupDialog() = default;
  virtual void Show_Recording_Setup() = 0;
};

class RecordingSaver {
 public:
  RecordingSaver(Context& ctx, RecordingMemory& memory, RecordingSetupDialog& setup);

  // The Recording menu's Settings.
  void Register_Commands(CommandTable& commands);

  // Save button, left click: saves an unsaved recording (by mode), or opens the recording
  // settings when nothing is unsaved.
  void cmdSave_Click();
  // Save button pressed with `button` (right): discards an unsaved recording (after the
  // guard) and opens the recording settings.
  void cmdSave_MouseDown(int button);
  void mnuRecSettings_Click();
  // The right button on the file name writes a copy of a saved or loaded recording under a
  // name the user picks.
  void lblLoadedFile_MouseDown(int button);

  // A recording that has just stopped, by the recording mode: kept unsaved with the save
  // button's tip ("Manual", "Capture", "Auto Name"), or saved at once ("Auto Save"; a
  // failed save leaves it unsaved in memory, to be saved elsewhere).
  void Keep_By_Mode();

 private:
  // What is being written, which decides how a failure is told.
  enum class Writing { NewRecording, Copy };

  // Saves under the automatic name, the first free one in SavePath; true on success.
  bool Save_Auto_Name();
  // The automatic save failed: the recording is marked so (it is asked about before it
  // goes, and the save button asks for a name) and its label says it is not saved.
  bool Auto_Save_Failed();
  // The series number `n` is used: SuffixNum goes past it, in the settings file at once.
  void Use_Number(int n);
  // The base path to write from a save dialog opened with `req`; asks before the file
  // written would replace one the dialog did not ask about (a name typed without ".zkd").
  std::optional<std::string> Choose_Base_Path(FileDialogRequest req);
  // "Save Recording As": the user picks the name; true on success.
  bool Save_Recording_As();
  // Writes the new recording with its header records (when TimeDateEnable is on); true on
  // success.
  bool Save_Recording(const std::string& basePath);
  // Writes the sound and the records as one pair; on failure tells which file and why,
  // replaces nothing and answers false.
  bool Write_Files(const std::string& basePath, const std::optional<RecordHeader>& header, Writing what);
  void Tell_Failure(Writing what, const std::string& path, int number, const std::string& reason);
  // The header to write for a recording saved now: the settings' clock and date types and
  // the session's start values, or nothing when TimeDateEnable is off.
  std::optional<RecordHeader> Header_To_Write() const;
  void Show_Saved(const std::string& basePath);
  void Settings_Dialog();
  void Show_Settings(const RecordingLeave& leave);

  Context& ctx_;
  RecordingMemory& memory_;
  RecordingSetupDialog& setup_;
  std::string saveAsFolder_;  // folder of the last "Save File As"
};

}  // namespace zk
