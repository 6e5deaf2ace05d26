#include "app/frmMain.h"

#include "base/Version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QScreen>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/CommandState.h"
#include "app/FileMenuSettings.h"
#include "app/MenuTree.h"
#include "app/RecordPanel.h"
#include "app/SaveFolderMenu.h"
#include "app/frmAbout.h"
#include "app/frmKeys.h"
#include "app/frmMeter.h"
#include "app/frmRec.h"
#include "app/frmZkSplash.h"
#include "base/Numbers.h"
#include "base/ProgramFolder.h"
#include "core/MenuTicks.h"
#include "core/UnsavedRecording.h"
#include "display/DerivedColors.h"
#include "recording/RecordingRecovery.h"
#include "sound/AudioFactory.h"

namespace zk {

namespace {

Prompts& ChoosePrompts(Prompts* given, QtPrompts& own) { return given ? *given : own; }

}  // namespace

frmMain::frmMain(StartOptions options)
    : opts_(std::move(options)),
      audio_(opts_.audio ? std::move(opts_.audio)
                         : MakeAudioDevice(
                               clock_,
                               [this](const std::string& text) {
                                 ctx_.prompts.MsgBox(text, ProgramTitle, MsgButtons::OK, MsgIcon::Information);
                               },
                               opts_.spool ? JoinPath(opts_.programFolder, RecoveryFolderName) : "")),
      ctx_{settings_,
           state_,
           opts_.clock ? *opts_.clock : clock_,
           opts_.events ? *opts_.events : events_,
           ChoosePrompts(opts_.prompts, qtPrompts_),
           opts_.timers ? *opts_.timers : timers_.All(),
           view_,
           controls_,
           *this,
           *audio_,
           opts_.programFolder},
      qtPort_(opts_.ports),
      port_(opts_.port ? *opts_.port : qtPort_),
      engine_(ctx_, table_),
      alerts_(ctx_),
      counters_(ctx_),
      display_(ctx_, counters_, table_),
      seekBar_(display_,
               [this] {
                 if (review_) review_->Position_Changed();
               }),
      sync_(ctx_, port_, engine_),
      stream_(ctx_, port_, engine_, sync_),
      connection_(ctx_, port_),
      geometry_(*this, display_, widgets_),
      layout_(ctx_, display_, geometry_),
      keyboard_(ctx_, alerts_, counters_, *this),
      keyFilter_(*this, keyboard_),
      menuCommands_(ctx_, geometry_),
      lifecycle_(ctx_, port_, table_, connection_, *this, opts_.simulatorPort),
      gate_(ctx_, port_),
      recording_(ctx_),
      saver_(ctx_, recording_, *this),
      recorder_(ctx_, seekBar_, gate_, recording_, saver_),
      transport_(ctx_, seekBar_),
      player_(ctx_, seekBar_, engine_, gate_, transport_) {
  qtPrompts_.SetOwner(this);
  view_.SetTarget(&display_);
  engine_.SetRecordSink(&recorder_);
  transport_.SetRecorder(&recorder_);
  lifecycle_.SetPlayer(&player_);
  if (opts_.spool) recording_.Spool().SetFolder(JoinPath(opts_.programFolder, RecoveryFolderName));
  setWindowTitle(ProgramTitle);
  BuildWidgets();
  review_ = std::make_unique<RecordingReview>(ctx_, player_, *this, keyFilter_, recording_.Notes());
  recent_ = std::make_unique<RecentRecordings>(
      ctx_, recording_.Notes(), [this] { Open_Recording_Dialog(); },
      [this](const std::string& path) { return Open_Recording_File(path); });
  BuildMenus();
  RegisterCommands();
  ConnectTimers();
  geometry_.Design_Geometry();
  qApp->installEventFilter(&keyFilter_);
  // A change of the desktop's work area or resolution: new metrics and a new layout.
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    auto changed = [this] {
      if (lifecycle_.Loaded() && !closing_) layout_.SysInfo_DisplayChanged();
    };
    connect(s, &QScreen::availableGeometryChanged, this, changed);
    connect(s, &QScreen::geometryChanged, this, changed);
  }
}

frmMain::~frmMain() {
  qApp->removeEventFilter(&keyFilter_);
  view_.SetTarget(nullptr);
}

// ---------------------------------------------------------------- construction

void frmMain::BuildWidgets() {
  MainWidgets& w = widgets_;
  w.client = new QWidget(this);
  w.client->setAutoFillBackground(true);
  setCentralWidget(w.client);
  w.picMeterPanel = new SurfaceWidget(display_.picMeterPanel, w.client);
  w.picKnob = new SurfaceWidget(display_.picKnob, w.picMeterPanel);
  w.picBD = new SurfaceWidget(display_.picBD, w.picMeterPanel);
  w.picGraph = new SurfaceWidget(display_.picGraph, w.client);
  w.picGraph->setVisible(false);
  // On a screen of another pixel ratio the panel, knob and counter are drawn afresh.
  w.picMeterPanel->onRatioChange = [this] {
    if (lifecycle_.Loaded()) Form_Resize();
  };
  w.picRecord = new RecordPanel(display_.picFilePosition, w.client);
  w.picRecord->Register(controls_);
  controls_.Add("picMeterPanel", w.picMeterPanel);
  controls_.Add("picKnob", w.picKnob);
  controls_.Add("picBD", w.picBD);
  controls_.Add("picGraph", w.picGraph);

  w.picKnob->onMouseDown = [this](int b, int s, float x, float y) { display_.picKnob_MouseDown(b, s, x, y); };
  w.picKnob->onMouseMove = [this](int b, int s, float x, float y) { display_.picKnob_MouseMove(b, s, x, y); };
  w.picBD->onMouseDown = [this](int b, int s, float x, float y) { display_.picBD_MouseDown(b, s, x, y); };
  w.picBD->onMouseUp = [this](int b, int s, float x, float y) { display_.picBD_MouseUp(b, s, x, y); };

  RecordPanel& p = *w.picRecord;
  connect(p.cmdRecord, &QPushButton::clicked, this, [this] { cmdRecord_Click(); });
  connect(p.cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
  connect(p.cmdPlay, &QPushButton::clicked, this, [this] { cmdPlay_Click(); });
  connect(p.cmdRev, &QPushButton::clicked, this, [this] { cmdRev_Click(); });
  connect(p.cmdFwd, &QPushButton::clicked, this, [this] { cmdFwd_Click(); });
  connect(p.cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
  connect(p.cmdSave, &QPushButton::clicked, this, [this] { saver_.cmdSave_Click(); });
  connect(p.cmdLoop, &QPushButton::clicked, this, [this] { cmdLoop_Click(); });
  connect(p.chkOveride, &QCheckBox::clicked, this, [this](bool on) { player_.chkOveride_Click(on); });
  p.onLoadRightClick = [this] { cmdLoad_RightClick(); };
  p.onSaveRightClick = [this] { saver_.cmdSave_MouseDown(RightMouseButton); };

  seriesList_ = std::make_unique<QtSeriesList>(*p.cboFile, [this](bool on) { keyFilter_.SetPreview(on); });
  files_ = std::make_unique<RecordingFiles>(ctx_, player_, transport_, seekBar_, gate_, recording_, *seriesList_);
  seriesList_->SetTarget(files_.get());
  trace_ = std::make_unique<PlaybackTrace>(ctx_, player_);
  p.onLoadedFileRightClick = [this] { saver_.lblLoadedFile_MouseDown(RightMouseButton); };
  SurfaceWidget& bar = *p.picFilePosition;
  bar.setMouseTracking(true);  // the tool tip follows the mouse
  bar.onMouseDown = [this](int b, int, float x, float) { player_.Seek_Bar().picFilePosition_MouseDown(b, x); };
  bar.onMouseMove = [this](int b, int, float x, float) { player_.Seek_Bar().picFilePosition_MouseMove(b, x); };
  bar.onMouseUp = [this](int b, int, float x, float) { player_.Seek_Bar().picFilePosition_MouseUp(b, x); };
}

void frmMain::BuildMenus() {
  BuildMainMenu(menuBar(), controls_, [this](const std::string& name, int index) { Choose(name, index); });
}

void frmMain::ConnectTimers() {
  ctx_.timers.tmrClock.SetHandler([this] {
    connection_.tmrClock_Timer();
    recording_.Spool().Warn_Unprotected();
  });
  display_.Connect_Timers();
  alerts_.Connect_Timers();
  counters_.Connect_Timers();
}

void frmMain::RegisterCommands() {
  Register_Settings_Commands(commands_, ctx_);
  commands_.Add("mnuExit", [this] { mnuExit_Click(); });
  menuCommands_.Register_Commands(commands_);
  alerts_.Register_Commands(commands_);
  connection_.Register_Commands(commands_);
  sync_.Register_Commands(commands_);
  display_.graphMenu.Register_Commands(commands_);
  commands_.Add("mnuViewRecording", [this] { mnuViewRecording_Click(); });
  commands_.Add("mnuViewMeter", [this] { mnuViewMeter_Click(); });
  recorder_.Register_Commands(commands_);
  saver_.Register_Commands(commands_);
  Register_Save_Folder_Commands(commands_, ctx_);
  commands_.Add("mnuhelpAbout", [this] { mnuhelpAbout_Click(); });
  commands_.Add("mnuHelpKeys", [this] {
    frmKeys dlg(this);
    dlg.exec();
  });
  commands_.Add("mnuHelpHelp", [this] { mnuHelpHelp_Click(); });
  review_->Register_Commands(commands_);
  recent_->Register_Commands(commands_);
}

void frmMain::Choose(const std::string& name, int index) { commands_.Run(name, index); }

// ---------------------------------------------------------------- start-up and shut-down

int frmMain::ScreenWidthTwips() const { return geometry_.ScreenWidthTwips(); }

WindowPlacement frmMain::CurrentPlacement() const { return geometry_.CurrentPlacement(settings_); }

void frmMain::Measure_Window() { layout_.Get_Window_Metrics(); }

void frmMain::Release_Keys() { keyboard_.SetKeyReleased(true); }

std::string frmMain::ExecutableFolder() const { return zk::ExecutableFolder(); }

void frmMain::Offer_Recovery() { RecordingRecovery(ctx_, recorder_, transport_, recording_).Offer_Recovery(); }

void frmMain::Recording_Let_Go() { recording_.Spool().Remove(); }

void frmMain::PlaceWindow() {
  geometry_.Place(settings_);
  Form_Resize();
}

void frmMain::Form_Load() {
  lifecycle_.Form_Load();
  if (opts_.recording.empty()) return;
  // A recording named on the command line opens as if chosen in the load dialog. A
  // recording brought back by the recovery is not dropped without the question.
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return;
  if (!settings_.RecordVisible) mnuViewRecording_Click();
  files_->Open_Recording(opts_.recording, *leave);
}

void frmMain::Form_QueryUnload(bool& cancel) { lifecycle_.Form_QueryUnload(cancel, unattended_); }

void frmMain::closeEvent(QCloseEvent* e) {
  if (closing_) {
    e->accept();
    return;
  }
  bool cancel = false;
  Form_QueryUnload(cancel);
  if (cancel) {
    e->ignore();
    return;
  }
  closing_ = true;
  review_->Close();
  e->accept();
  QCoreApplication::quit();
}

void frmMain::mnuExit_Click() { close(); }

void frmMain::CloseWithoutQuestions() {
  // A signal that comes while the shut-down of an earlier one is still under way does not
  // start it again (it would ask for the same files and boxes twice): the program ends.
  const bool again = unattended_;
  unattended_ = true;
  // Without a box open the window closes as its close box would close it.
  if (!again && !QApplication::activeModalWidget() && close()) return;
  // A box or dialog is open (or a close is asking its questions, which makes close() do
  // nothing). Its event loop waits for an answer, and going back to it would let the code
  // that opened it go on with an answer nobody gave — a No to a question about the
  // recording could drop it. So the shut-down is done here and the program ends at once.
  if (!again && !closing_) {
    closing_ = true;
    bool cancel = false;
    lifecycle_.Form_QueryUnload(cancel, true);
  }
  recording_.Spool().Keep();
  std::fflush(nullptr);
  std::_Exit(0);
}

// ---------------------------------------------------------------- Shell

void frmMain::cmdStop_Click() { transport_.cmdStop_Click(); }

void frmMain::Update_Command_State() {
  zk::Update_Command_State(ctx_);
  review_->Update_Menus();
  recent_->Update_Menus();
}

void frmMain::Next_Tag() { review_->Next_Tag(); }

void frmMain::Previous_Tag() { review_->Previous_Tag(); }

void frmMain::Update_RecordModeLabel() { zk::Update_RecordModeLabel(ctx_); }

void frmMain::Form_Resize() {
  if (inResize_) return;  // the layout's own size changes lay out nothing new
  inResize_ = true;
  layout_.Form_Resize();
  geometry_.Keep_In_Work_Area();
  inResize_ = false;
}

void frmMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (lifecycle_.Loaded()) Form_Resize();
}

// The window manager's frame is known only once the window is shown, and it counts in the
// height that must fit the screen: a new frame lays the window out again.
void frmMain::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  if (lifecycle_.Loaded() && !closing_ && geometry_.Frame_Changed()) Form_Resize();
}

void frmMain::Apply_Settings_To_Menus() {
  Settings& s = settings_;
  Tick_One(controls_, "mnuSettingsNeedleWidth", 0, 8, s.Needle_Width);
  Tick_One(controls_, "mnuSetColNeedleShadow_Index", 0, 5, s.ShadowNeedleColor_Index);
  Calc_ShadowNeedleColor(ctx_);
  Calc_FaintNeedleColor(ctx_);
  alerts_.mnuSettingsBodyMotionThreshold_Click(s.BM_Threshold_Index);
  alerts_.mnuSettingsLagThreshold_Click(s.DataLag_Index);

  s.RecordVisible = !s.RecordVisible;
  mnuViewRecording_Click();
  Update_RecordModeLabel();

  // The two indices are texts as read; one that is no 16-bit number leaves its menu as is.
  if (auto h = ParseInt16(s.GraphHeight_Index)) display_.mnuGraphHeightIndex_Click(*h);
  if (auto w = ParseInt16(s.GraphPenWidth_Index)) display_.mnuGraphPenWidthIndex_Click(*w);

  s.GraphVisible = !s.GraphVisible;
  display_.mnuViewGraph_Click();
  s.GridX = !s.GridX;
  display_.mnuGraphGridX_Click();
  s.GridY = !s.GridY;
  display_.mnuGraphGridY_Click();
  s.GraphInvert = !s.GraphInvert;
  display_.mnuGraphInvert_Click();

  alerts_.mnuSettingsExtSwMode_Click(s.SwitchMode_Index);
  Tick_Pair(controls_, "mnuSetBmFreezeOn", "mnuSetBmFreezeOff", s.FreezeEnable);
  Tick_Pair(controls_, "mnuSetNeedleBDOn", "mnuSetNeedleBDOff", s.NeedleBdEnable);
  menuCommands_.Show_AutoSave(s.SettingsAutoSave);
}

void frmMain::Beep() { QApplication::beep(); }

void frmMain::Splash_Show() { splash_.Show(); }
void frmMain::Splash_Info(const std::string& text) { splash_.Info(text); }
void frmMain::Splash_Unload() { splash_.Unload(); }

// ---------------------------------------------------------------- record panel

void frmMain::cmdRecord_Click() { recorder_.cmdRecord_Click(); }
void frmMain::cmdPlay_Click() { player_.cmdPlay_Click(); }
void frmMain::cmdRev_Click() { player_.cmdRev_Click(); }
void frmMain::cmdFwd_Click() { player_.cmdFwd_Click(); }
void frmMain::cmdLoad_Click() { files_->cmdLoad_Click(); }

// File > Open Recording... is the Open button; the panel it belongs to is shown first.
void frmMain::Open_Recording_Dialog() {
  if (!settings_.RecordVisible) mnuViewRecording_Click();
  if (settings_.RecordVisible) cmdLoad_Click();
}

// A recording of File > Recent Recordings opens as one named on the command line.
bool frmMain::Open_Recording_File(const std::string& path) {
  const auto leave = Unsaved_Recording_Guard(ctx_);
  if (!leave) return false;
  if (!settings_.RecordVisible) mnuViewRecording_Click();
  return settings_.RecordVisible && files_->Open_Recording(path, *leave);
}
void frmMain::cmdLoad_RightClick() { files_->cmdLoad_MouseDown(RightMouseButton); }
void frmMain::cmdLoop_Click() { player_.cmdLoop_Click(); }

void frmMain::mnuViewRecording_Click() {
  Settings& s = settings_;
  s.RecordVisible = !s.RecordVisible;
  Controls& c = controls_;
  RecordPanel& p = *widgets_.picRecord;
  if (!s.RecordVisible) {
    // Hiding the panel drops the recording in memory: an unsaved one is asked about
    // first, and No leaves the panel and the recording as they were.
    const auto leave = Unsaved_Recording_Guard(ctx_);
    if (!leave) {
      s.RecordVisible = true;
      return;
    }
    c.SetEnabled("mnuRecording", false);
    c.SetChecked("mnuViewRecording", false);
    p.Show_Panel(false);
    recording_.Flush_RecBuffer(*leave);
  } else {
    c.SetEnabled("mnuRecording", true);
    c.SetChecked("mnuViewRecording", true);
    p.Show_Panel(true);
    c.SetPicture("cmdRecord", -1, "Record");
    c.SetPicture("cmdStop", -1, "Stop");
    c.SetPicture("cmdPlay", -1, "Play");
    c.SetPicture("cmdLoad", -1, "Load");
    c.SetPicture("cmdFwd", -1, "Fwd");
    c.SetPicture("cmdRev", -1, "Rev");
    c.SetToolTip("cmdLoad", -1, "Open");
    Fill_Save_Folder(ctx_);
    // The panel comes back with the settings' sound choice. Hiding it dropped the
    // recording; a panel laid out again while shown (new settings applied) keeps it.
    recorder_.Use_Sound(s.AudioEnable);
    c.SetPicture("cmdLoop", -1, s.PlayLoopEnable ? "Loop" : "Single");
  }
  Update_Command_State();
  Form_Resize();
}

// ---------------------------------------------------------------- dialogs

void frmMain::mnuViewMeter_Click() {
  gate_.Pause();
  {
    frmMeter dlg(settings_, controls_, this);
    dlg.exec();
  }
  Form_Resize();
  gate_.Resume();
}

void frmMain::Show_Recording_Setup() {
  Fill_Save_Folder(ctx_);  // the dialog names the folder recordings will go to
  frmRec dlg(ctx_, this);
  dlg.exec();
}

void frmMain::mnuhelpAbout_Click() {
  frmAbout dlg(state_, ctx_.prompts, this);
  dlg.exec();
}

void frmMain::mnuHelpHelp_Click() {
  const std::string manual = JoinPath(opts_.programFolder, "zk3 Zodovaz User Guide V1.0.pdf");
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual)));
}

}  // namespace zk
