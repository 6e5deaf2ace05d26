#pragma once
// The main window and composition root: it owns the settings, the session state, the
// platform seams, the subsystems and the widgets, wires events to their handlers and
// forwards; the procedures themselves live in their subsystems.
#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/KeyFilter.h"
#include "app/Keyboard.h"
#include "app/Lifecycle.h"
#include "app/PlaybackTrace.h"
#include "app/QtControls.h"
#include "app/QtPrompts.h"
#include "app/QtSeriesList.h"
#include "app/RecentRecordings.h"
#include "app/RecordingReview.h"
#include "app/SeekBarWatch.h"
#include "app/SettingsMenu.h"
#include "app/WindowGeometry.h"
#include "app/frmZkSplash.h"
#include "core/CommandTable.h"
#include "core/Context.h"
#include "core/QtSeams.h"
#include "core/SessionFile.h"
#include "core/Shell.h"
#include "display/ForwardingView.h"
#include "display/LayoutHost.h"
#include "display/MeterDisplay.h"
#include "display/SurfaceWidget.h"
#include "display/WindowLayout.h"
#include "link/Connection.h"
#include "link/PortGate.h"
#include "link/QtSerialPort.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/Alerts.h"
#include "meter/Counters.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "recording/Player.h"
#include "recording/Recorder.h"
#include "recording/RecordingFiles.h"
#include "recording/RecordingMemory.h"
#include "recording/RecordingSaver.h"
#include "recording/Transport.h"

namespace zk {

class RecordPanel;

struct StartOptions {
  std::string programFolder;
  PortTable ports;
  int simulatorPort = 0;               // non-zero: the simulator stands behind this port for this start
  std::string recording;               // a recording to open at start-up (an absolute path)
  bool spool = true;                   // keep a recovery spool of the recording in memory
  Prompts* prompts = nullptr;          // message boxes and dialogs (tests script them)
  std::unique_ptr<AudioDevice> audio;  // default: the machine's sound, or the clock
  // Tests run the window on virtual time and a scripted port: each given seam replaces the
  // system's (the timers must run on the given clock).
  Clock* clock = nullptr;
  Events* events = nullptr;
  std::optional<Timers> timers;
  SerialPort* port = nullptr;
};

class frmMain : public QMainWindow, public Shell, public KeyActions, public LifecycleHost, public RecordingSetupDialog {
  Q_OBJECT
 public:
  explicit frmMain(StartOptions options);
  ~frmMain() override;

  // Start-up: session and settings, placement, sensor or demonstration mode, first drawing.
  void Form_Load();
  // Shut-down; cancel = true keeps the window open.
  void Form_QueryUnload(bool& cancel);
  // Closes the window as the system asks it to (a termination signal): no questions, the
  // session file and the Recording section are written, the settings only when autosave
  // is On, and an unsaved recording is left to the recovery spool. With a box or dialog
  // open the program ends at once from here, without going back to it.
  void CloseWithoutQuestions();

  // Shell.
  void cmdStop_Click() override;
  void Update_Command_State() override;
  void Update_RecordModeLabel() override;
  void Form_Resize() override;
  void Apply_Settings_To_Menus() override;
  void Beep() override;
  void Splash_Show() override;
  void Splash_Info(const std::string& text) override;
  void Splash_Unload() override;

  // KeyActions: the transport buttons.
  void cmdRecord_Click() override;
  void cmdPlay_Click() override;
  void cmdRev_Click() override;
  void cmdFwd_Click() override;
  void cmdLoad_Click() override;
  // File > Open Recording... and a recording of File > Recent Recordings.
  void Open_Recording_Dialog();
  bool Open_Recording_File(const std::string& path);
  void cmdLoad_RightClick() override;
  void cmdLoop_Click();
  void Next_Tag() override;
  void Previous_Tag() override;

  // Commands of the shell.
  void mnuExit_Click();
  void mnuViewRecording_Click();
  void mnuViewMeter_Click();
  void mnuhelpAbout_Click();
  void mnuHelpHelp_Click();

  // RecordingSetupDialog: frmRec, modally.
  void Show_Recording_Setup() override;

  // Runs the command of a menu item, as choosing it does.
  void Choose(const std::string& name, int index = -1);

  // LifecycleHost. The window's placement as the session file stores it: twips that fit
  // 16 bits. A maximised or minimised window gives its normal geometry.
  WindowPlacement CurrentPlacement() const override;
  void Measure_Window() override;
  void Release_Keys() override;
  int ScreenWidthTwips() const override;
  void PlaceWindow() override;
  std::string ExecutableFolder() const override;
  void Offer_Recovery() override;
  void Recording_Let_Go() override;

  // For tests and tools.
  Context& ctx() { return ctx_; }
  QtControls& controls() { return controls_; }
  Keyboard& keyboard() { return keyboard_; }
  MeterDisplay& display() { return display_; }
  RecordPanel& recordPanel() { return *widgets_.picRecord; }
  SettingsMenu& menuCommands() { return menuCommands_; }
  const CommandTable& commands() const { return commands_; }
  SerialPort& port() { return port_; }
  Recorder& recorder() { return recorder_; }
  RecordingMemory& recording() { return recording_; }
  RecordingSaver& saver() { return saver_; }
  Player& player() { return player_; }
  RecordingFiles& recordingFiles() { return *files_; }
  RecordingReview& review() { return *review_; }
  RecentRecordings& recent() { return *recent_; }
  bool KeyPreview() const { return keyFilter_.Preview(); }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;

 private:
  void BuildWidgets();
  void BuildMenus();
  void ConnectTimers();
  void RegisterCommands();

  StartOptions opts_;
  Settings settings_;
  SessionState state_;
  SystemClock clock_;
  QtEvents events_;
  QtPrompts qtPrompts_;
  WindowTimers<QtIntervalTimer> timers_;
  ForwardingView view_;
  QtControls controls_;
  std::unique_ptr<AudioDevice> audio_;
  Context ctx_;

  QtSerialPort qtPort_;
  SerialPort& port_;
  SensitivityTable table_;
  MeterEngine engine_;
  Alerts alerts_;
  Counters counters_;
  MeterDisplay display_;
  // The seek bar the recording's commands draw on; the overview follows what it shows.
  SeekBarWatch seekBar_;
  SyncTest sync_;
  SampleStream stream_;
  Connection connection_;
  MainWidgets widgets_;
  WindowGeometry geometry_;
  WindowLayout layout_;
  Keyboard keyboard_;
  KeyFilter keyFilter_;
  SettingsMenu menuCommands_;
  CommandTable commands_;
  Lifecycle lifecycle_;
  PortGate gate_;
  RecordingMemory recording_;
  RecordingSaver saver_;
  Recorder recorder_;
  Transport transport_;
  Player player_;
  // The series list and the file commands need the panel's widgets first.
  std::unique_ptr<QtSeriesList> seriesList_;
  std::unique_ptr<RecordingFiles> files_;
  std::unique_ptr<PlaybackTrace> trace_;
  std::unique_ptr<RecordingReview> review_;
  std::unique_ptr<RecentRecordings> recent_;

  Splash splash_{state_.VersionText};

  bool inResize_ = false;
  bool closing_ = false;
  bool unattended_ = false;  // closing on a termination signal: no questions
};

}  // namespace zk
