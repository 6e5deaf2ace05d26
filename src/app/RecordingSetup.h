#pragma once
// What the "Recording Setup" dialog (frmRec) does: every change goes straight into the
// recording settings. The dialog's controls are reached by name through `dialog`:
// optRecMode(1..3), chkRecPrompt, chkTimeDate, txtPrefix, optSuffixType(0..1),
// lblSuffixNum, cmdReset, lblWarning, lblSavePath. Also the deletion of a numbered series,
// which the dialog's reset does.
#include <string>
#include <vector>

#include "core/Context.h"

namespace zk {

// Every ".wav" and then every ".zkd" of the series `prefix` (prefix001, prefix002 ...) in
// `folder` (which ends in "/"). Other files, including other recordings whose names merely
// start with the prefix, are not of it; an empty or missing folder holds none.
std::vector<std::string> Series_Files(const std::string& folder, const std::string& prefix);
// How many recordings (numbers) those files are.
int Series_Recordings(const std::vector<std::string>& files);
// Deletes the series' files; files that cannot be deleted are left.
void Delete_Series(const std::string& folder, const std::string& prefix);

class RecordingSetup {
 public:
  RecordingSetup(Context& ctx, Controls& dialog) : ctx_(ctx), dlg_(dialog) {}

  // Fills the controls from the settings and sets their enabled state.
  void Form_Load();
  void optRecMode_Click(int index);
  void optSuffixType_Click(int index);
  // The check boxes as they are now.
  void chkRecPrompt_Click();
  void chkTimeDate_Click();
  // The prefix box lost the focus: a changed, acceptable prefix becomes SavePrefix and
  // starts a new series at 001, deleting nothing; an unacceptable one is put back.
  void txtPrefix_Validate();
  // False (after telling the user) for a prefix that cannot begin a file name here.
  bool Validate_Prefix(const std::string& prefix);
  // The counter back to 001; the series of the prefix in the save folder is deleted after
  // a question that says how many recordings go (No changes nothing).
  void cmdReset_Click();
  // The save folder is the folder of a name confirmed in a save dialog.
  void cmdBrowseSaveFolder_Click();

 private:
  void Numeric_Extras(bool on);
  void Remember();
  void Start_Series();
  Context& ctx_;
  Controls& dlg_;
  std::string prefixBefore_;  // the last accepted prefix
  bool loading_ = false;      // Form_Load fills the controls: nothing to write yet
};

}  // namespace zk
