#include "app/Lifecycle.h"

#include <filesystem>

#include "app/QtPrompts.h"
#include "base/Numbers.h"
#include "base/PairJournal.h"
#include "base/ProgramFolder.h"
#include "core/Banner.h"
#include "core/SettingsFile.h"
#include "core/UnsavedRecording.h"
#include "display/DerivedColors.h"
#include "link/Delays.h"
#include "link/PortGate.h"
#include "link/PortTable.h"
#include "link/ReadingStart.h"

namespace zk {

Lifecycle::Lifecycle(Context& ctx, SerialPort& port, SensitivityTable& table, Connection& connection,
                     LifecycleHost& host, int simulatorPort)
    : ctx_(ctx), port_(port), table_(table), connection_(connection), host_(host), simulatorPort_(simulatorPort) {}

void Lifecycle::Form_Load() {
  Settings& set = ctx_.settings;
  SessionState& st = ctx_.state;
  ctx_.timers.tmrClock.Start();
  host_.Release_Keys();
  try {
    host_.Measure_Window();
  } catch (const OverflowError&) {
    // The metrics keep their previous values.
  }
  ctx_.state.DummyAudioPath = FindSilentTrack(ctx_.programFolder, host_.ExecutableFolder());
  std::error_code ec;
  std::filesystem::current_path(ctx_.programFolder, ec);
  KeepDialogSettingsIn(ctx_.programFolder);
  if (!Read_Session_File(ctx_, host_.ScreenWidthTwips())) Write_Session_File(ctx_, host_.CurrentPlacement());
  sessionCommPort_ = set.CommPort;
  if (simulatorPort_ != 0) set.CommPort = static_cast<int16_t>(simulatorPort_);
  Load_Settings(ctx_);
  // A save into another folder (Save As, Save File As) or an export killed half way left
  // its temporary file there, or a pair half replaced; the save folder and the spool are
  // seen to by the recovery.
  for (const std::string& folder : {set.LoadPath, ctx_.programFolder})
    if (!folder.empty()) RestorePairsAndSweep(folder);
  host_.PlaceWindow();
  table_.Init_SensTable();
  connection_.Init_Ports();
  Look_For_Sensor();

  ctx_.events.DoEvents();
  ctx_.shell.Splash_Unload();
  ctx_.shell.Apply_Settings_To_Menus();
  Calc_DimTextColor(ctx_);

  Reset_Readouts(st);
  ctx_.view.Draw_Panel();
  ctx_.events.DoEvents();
  host_.Offer_Recovery();
  Start_Readings(ctx_, port_);
  loaded_ = true;
  TDelay(ctx_, 2);
}

void Lifecycle::Look_For_Sensor() {
  Settings& set = ctx_.settings;
  SessionState& st = ctx_.state;
  if (set.CommPort != 0) {
    ctx_.shell.Splash_Info("Checking for Hardware");
    const int port = set.CommPort;
    // A port number beyond the table is never present: the connect search takes over.
    if (port >= 1 && port <= PortTable::MaxPort && st.PortPresent[port] != 0) {
      if (connection_.Check_Version()) st.HardwareFound = true;
      Enter_Live_Mode(st);
    }
  } else {
    ctx_.shell.Splash_Info("Running in Demo Mode");
    st.HardwareFound = true;
    Preset_Status(ctx_, "Demo Mode");
  }
  if (!st.HardwareFound) connection_.mnuConnectionConnect_Click();
}

void Lifecycle::Form_QueryUnload(bool& cancel, bool unattended) {
  cancel = !unattended && !May_Exit();
  if (cancel) return;
  // A playback ends here without a word on the panel, and gives the user's own values
  // back before the settings are written.
  if (player_) player_->Shut_Down();
  // Only a close the user makes ends the recording in memory normally; one the system
  // asks for leaves an unsaved recording's spool for the next start to offer back.
  if (!unattended) host_.Recording_Let_Go();
  Write_Session(unattended);
  Save_Recording_Settings(ctx_);
  Autosave_Settings(unattended);
  ctx_.audio.Close();
  ctx_.state.MciResult = ctx_.audio.Close();
  // No further readings or timer ticks once the program is ending.
  PortGate(ctx_, port_).Hold();
  ctx_.timers.Stop_All();
}

bool Lifecycle::May_Exit() {
  // A recording still running ends as the stop button ends it (saved or kept by its mode),
  // so that the question below covers it.
  if (ctx_.state.OperatingMode == ModeRecording) ctx_.shell.cmdStop_Click();
  return Recording_May_Go(ctx_, "Recording not saved, Exit?").has_value();
}

void Lifecycle::Write_Session(bool unattended) {
  // The simulator's terminal is only this start's stand-in for the remembered port.
  Settings& set = ctx_.settings;
  const int16_t running = set.CommPort;
  if (simulatorPort_ != 0 && running == simulatorPort_) set.CommPort = sessionCommPort_;
  Write_Session_File(ctx_, host_.CurrentPlacement(), unattended);
  set.CommPort = running;
}

void Lifecycle::Autosave_Settings(bool unattended) {
  const Settings& set = ctx_.settings;
  if (set.SettingsAutoSave == AutoSaveOn) Save_Settings(ctx_);
  if (!unattended && set.SettingsAutoSave == AutoSavePrompt && !Settings_Unchanged(ctx_)) {
    const std::string text = "Save settings?\r\n\r\n( to " + set.SettingsFilePath + ")";
    if (ctx_.prompts.MsgBox(text, "Program settings have changed", MsgButtons::YesNo, MsgIcon::None) == MsgResult::Yes)
      Save_Settings(ctx_);
  }
}

}  // namespace zk
