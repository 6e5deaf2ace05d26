#include "app/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "app/CommandState.h"
#include "app/KeyCodes.h"
#include "app/MenuTree.h"
#include "app/OnScreen.h"
#include "app/RecordPanel.h"
#include "app/frmAbout.h"
#include "app/frmMeter.h"
#include "app/frmRec.h"
#include "app/frmZkSplash.h"
#include "core/MenuTicks.h"
#include "core/Numbers.h"
#include "core/ProgramFolder.h"
#include "core/SettingsCommands.h"
#include "core/SettingsFile.h"
#include "display/DerivedColors.h"
#include "link/Delays.h"
#include "recording/AudioFactory.h"
#include "recording/RecordingRecovery.h"

namespace zk {

namespace {

// The window as the designer left it, before start-up places it (pixels).
constexpr int kDesignLeft = 80, kDesignTop = 60, kDesignWidth = 600, kDesignHeight = 500;

int16_t FitInt16(double twips) {
  return static_cast<int16_t>(std::clamp(RoundHalfEven(twips), -32768.0, 32767.0));
}

Prompts& ChoosePrompts(Prompts* given, QtPrompts& own) { return given ? *given : own; }

}  // namespace

frmMain::frmMain(StartOptions options)
    : opts_(std::move(options)),
      audio_(opts_.audio ? std::move(opts_.audio)
                         : MakeAudioDevice(clock_,
                                           [this](const std::string& text) {
                                             ctx_.prompts.MsgBox(text, "zk3 Zodovaz", MsgButtons::OK,
                                                                 MsgIcon::Information);
                                           })),
      ctx_{settings_,
           state_,
           clock_,
           events_,
           ChoosePrompts(opts_.prompts, qtPrompts_),
           timers_.All(),
           view_,
           controls_,
           *this,
           *audio_,
           opts_.programFolder},
      port_(opts_.ports),
      engine_(ctx_, table_),
      alerts_(ctx_),
      counters_(ctx_),
      display_(ctx_, engine_, counters_, table_),
      sync_(ctx_, port_, engine_),
      stream_(ctx_, port_, engine_, sync_),
      connection_(ctx_, port_),
      layout_(ctx_, display_, *this),
      keyboard_(ctx_, alerts_, counters_, *this),
      menuCommands_(ctx_, *this),
      lifecycle_(ctx_, port_, table_, connection_, *this, opts_.simulatorPort),
      gate_(ctx_, port_),
      recording_(ctx_),
      recorder_(ctx_, display_, gate_, recording_, *this),
      transport_(ctx_, display_) {
  qtPrompts_.SetOwner(this);
  view_.SetTarget(&display_);
  engine_.SetRecordSink(&recorder_);
  transport_.SetRecorder(&recorder_);
  if (opts_.spool) recording_.Spool().SetFolder(JoinPath(opts_.programFolder, RecoveryFolderName));
  setWindowTitle("zk3 Zodovaz");
  BuildWidgets();
  BuildMenus();
  RegisterCommands();
  ConnectTimers();
  setGeometry(kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight);
  qApp->installEventFilter(this);
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
  qApp->removeEventFilter(this);
  view_.SetTarget(nullptr);
  delete splash_;
}

// ---------------------------------------------------------------- construction

void frmMain::BuildWidgets() {
  client_ = new QWidget(this);
  client_->setAutoFillBackground(true);
  setCentralWidget(client_);
  picMeterPanel_ = new SurfaceWidget(display_.picMeterPanel, client_);
  picKnob_ = new SurfaceWidget(display_.picKnob, picMeterPanel_);
  picBD_ = new SurfaceWidget(display_.picBD, picMeterPanel_);
  picGraph_ = new SurfaceWidget(display_.picGraph, client_);
  picGraph_->setVisible(false);
  picRecord_ = new RecordPanel(display_.picFilePosition, client_);
  picRecord_->Register(controls_);
  controls_.Add("picMeterPanel", picMeterPanel_);
  controls_.Add("picKnob", picKnob_);
  controls_.Add("picBD", picBD_);
  controls_.Add("picGraph", picGraph_);

  picKnob_->onMouseDown = [this](int b, int s, float x, float y) { display_.picKnob_MouseDown(b, s, x, y); };
  picKnob_->onMouseMove = [this](int b, int s, float x, float y) { display_.picKnob_MouseMove(b, s, x, y); };
  picBD_->onMouseDown = [this](int b, int s, float x, float y) { display_.picBD_MouseDown(b, s, x, y); };
  picBD_->onMouseUp = [this](int b, int s, float x, float y) { display_.picBD_MouseUp(b, s, x, y); };

  RecordPanel& p = *picRecord_;
  connect(p.cmdRecord, &QPushButton::clicked, this, [this] { cmdRecord_Click(); });
  connect(p.cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
  connect(p.cmdPlay, &QPushButton::clicked, this, [this] { cmdPlay_Click(); });
  connect(p.cmdRev, &QPushButton::clicked, this, [this] { cmdRev_Click(); });
  connect(p.cmdFwd, &QPushButton::clicked, this, [this] { cmdFwd_Click(); });
  connect(p.cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
  connect(p.cmdSave, &QPushButton::clicked, this, [this] { recorder_.cmdSave_Click(); });
  connect(p.cmdLoop, &QPushButton::clicked, this, [this] { cmdLoop_Click(); });
  connect(p.chkOveride, &QCheckBox::clicked, this, [this] { chkOveride_Click(); });
  p.onLoadRightClick = [this] { cmdLoad_RightClick(); };
  p.onSaveRightClick = [this] { recorder_.cmdSave_MouseDown(2); };
}

void frmMain::BuildMenus() {
  BuildMainMenu(menuBar(), controls_, [this](const std::string& name, int index) { Choose(name, index); });
}

void frmMain::ConnectTimers() {
  timers_.tmrClock.SetHandler([this] { connection_.tmrClock_Timer(); });
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
  commands_.Add("mnuhelpAbout", [this] { mnuhelpAbout_Click(); });
  commands_.Add("mnuHelpHelp", [this] { mnuHelpHelp_Click(); });
}

void frmMain::Choose(const std::string& name, int index) { commands_.Run(name, index); }

// ---------------------------------------------------------------- start-up and shut-down

int frmMain::ScreenWidthTwips() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry().width() * kTwipsPerPixel : 1024 * kTwipsPerPixel;
}

WindowPlacement frmMain::CurrentPlacement() const {
  // A maximised window's own geometry can be wider than 16 bits of twips allow, and an
  // out-of-range value makes the next start drop every session value; the normal
  // geometry is the one a restart should restore anyway.
  const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
  QRect g = normal ? QRect(pos(), size()) : normalGeometry();
  if (!normal && !g.isValid()) g = QRect(pos(), QSize(kDesignWidth, kDesignHeight));
  WindowPlacement p;
  p.left = FitInt16(double(g.left()) * kTwipsPerPixel);
  p.top = FitInt16(double(g.top()) * kTwipsPerPixel);
  p.width = FitInt16(double(g.width()) * kTwipsPerPixel);
  p.state = static_cast<int16_t>(WindowState());
  return p;
}

void frmMain::Measure_Window() { layout_.Get_Window_Metrics(); }

void frmMain::Release_Keys() { keyboard_.SetKeyReleased(true); }

std::string frmMain::ExecutableFolder() const { return zk::ExecutableFolder(); }

void frmMain::Offer_Recovery() { RecordingRecovery(ctx_, recorder_, transport_, recording_).Offer_Recovery(); }

void frmMain::Recording_Let_Go() { recording_.Spool().Remove(); }

void frmMain::PlaceWindow() {
  const Settings& s = settings_;
  move(static_cast<int>(RoundHalfEven(float(s.WindowLeft) / kTwipsPerPixel)),
       static_cast<int>(RoundHalfEven(float(s.WindowTop) / kTwipsPerPixel)));
  const int w = static_cast<int>(RoundHalfEven(float(s.WindowWidth) / kTwipsPerPixel));
  resize(std::max(1, w), height());
  BringOnScreen();
  if (s.WindowState == 2)
    setWindowState(Qt::WindowMaximized);
  else if (s.WindowState == 1)
    setWindowState(Qt::WindowMinimized);
  else
    setWindowState(Qt::WindowNoState);
  Form_Resize();
}

void frmMain::BringOnScreen() {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) move(OnScreenPosition(QRect(pos(), size()), screens, primary->availableGeometry()));
}

void frmMain::Form_Load() { lifecycle_.Form_Load(); }

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
  e->accept();
  QCoreApplication::quit();
}

void frmMain::mnuExit_Click() { close(); }

void frmMain::CloseWithoutQuestions() {
  unattended_ = true;
  close();
}

// ---------------------------------------------------------------- Shell

void frmMain::cmdStop_Click() { transport_.cmdStop_Click(); }

void frmMain::Update_Command_State() { zk::Update_Command_State(ctx_); }

void frmMain::Update_RecordModeLabel() { recorder_.Update_RecordModeLabel(); }

void frmMain::Form_Resize() {
  if (inResize_) return;  // the layout's own size changes lay out nothing new
  inResize_ = true;
  layout_.Form_Resize();
  inResize_ = false;
}

void frmMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (lifecycle_.Loaded()) Form_Resize();
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

void frmMain::Splash_Show() {
  if (!splash_) {
    splash_ = new frmZkSplash(state_.VersionText);
    splash_->adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen())
      splash_->move(s->availableGeometry().center() - splash_->rect().center());
  }
  splash_->show();
  splash_->raise();
}

void frmMain::Splash_Info(const std::string& text) {
  if (!splash_) return;
  splash_->SetInfo(text);
}

void frmMain::Splash_Unload() {
  if (splash_) splash_->hide();
}

// ---------------------------------------------------------------- record panel

void frmMain::cmdRecord_Click() { recorder_.cmdRecord_Click(); }
void frmMain::cmdPlay_Click() {}
void frmMain::cmdRev_Click() {}
void frmMain::cmdFwd_Click() {}
void frmMain::cmdLoad_Click() {}
void frmMain::cmdLoad_RightClick() {}
void frmMain::cmdLoop_Click() {}

void frmMain::mnuViewRecording_Click() {
  Settings& s = settings_;
  s.RecordVisible = !s.RecordVisible;
  Controls& c = controls_;
  RecordPanel& p = *picRecord_;
  if (!s.RecordVisible) {
    c.SetEnabled("mnuRecording", false);
    c.SetChecked("mnuViewRecording", false);
    p.picFilePosition->resize(p.picFilePosition->width(), 0);
    p.picFilePosition->hide();
    p.hide();
    p.setEnabled(false);
    recording_.Drop();  // an unsaved recording is lost without a question
  } else {
    c.SetEnabled("mnuRecording", true);
    c.SetChecked("mnuViewRecording", true);
    p.picFilePosition->resize(p.picFilePosition->width(), 19);
    p.picFilePosition->show();
    p.show();
    p.setEnabled(true);
    c.SetPicture("cmdRecord", -1, "Record");
    c.SetPicture("cmdStop", -1, "Stop");
    c.SetPicture("cmdPlay", -1, "Play");
    c.SetPicture("cmdLoad", -1, "Load");
    c.SetPicture("cmdFwd", -1, "Fwd");
    c.SetPicture("cmdRev", -1, "Rev");
    c.SetToolTip("cmdLoad", -1, "Open");
    p.cboFile->setGeometry(p.lblLoadedFile->x(), p.lblLoadedFile->y() - 5, p.lblLoadedFile->width(),
                           p.cboFile->height());
    p.cboFile->setFont(p.lblLoadedFile->font());
    p.List1->setGeometry(p.lblLoadedFile->x(), p.lblLoadedFile->y(), p.lblLoadedFile->width(),
                         p.List1->height());
    p.List1->setFont(p.lblLoadedFile->font());
    p.cmdLoop->setGeometry(p.cmdLoad->geometry());
    p.cmdLoop->hide();
    state_.RecordingUnsaved = false;
    if (s.SavePath.empty()) {
      const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      std::error_code ec;
      if (!docs.isEmpty() && std::filesystem::is_directory(docs.toStdString(), ec))
        s.SavePath = docs.toStdString() + "/";
    }
    if (s.AudioEnable)
      recorder_.mnuRecAudioOn_Click();
    else
      recorder_.mnuRecAudioOff_Click();
    c.SetPicture("cmdLoop", -1, s.PlayLoopEnable ? "Loop" : "Single");
  }
  Update_Command_State();
  Form_Resize();
}

void frmMain::chkOveride_Click() {
  state_.ResetPending = true;
  if (!picRecord_->chkOveride->isChecked()) {
    state_.PlaybackOverride = false;
    controls_.SetEnabled("mnuSettingsBmFreeze", false);
  } else {
    state_.PlaybackOverride = true;
    controls_.SetEnabled("mnuSettingsBmFreeze", true);
    controls_.SetEnabled("mnuViewMeter", true);
    settings_.SensitivityIndex = state_.SavedSensitivityIndex;
    settings_.FreezeEnable = state_.SavedFreezeEnable;
    settings_.DialType = state_.SavedDialType;
    state_.BdCountEnabled = state_.SavedBdCountEnabled;
    state_.BdTotal = state_.SavedBdTotal;
  }
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

// ---------------------------------------------------------------- keyboard

bool frmMain::OwnsKeyEvent(QObject* watched) const {
  if (!keyPreview_ || !isActiveWindow()) return false;
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  return w && w->window() == this;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && OwnsKeyEvent(watched)) {
    auto* k = static_cast<QKeyEvent*>(event);
    // Menu access keys (Alt) and Ctrl combinations stay with the menu bar.
    if (k->modifiers() & (Qt::AltModifier | Qt::ControlModifier) || k->key() == Qt::Key_Alt)
      return false;
    if (type == QEvent::KeyPress) {
      int code = VirtualKeyCode(k->key());
      keyboard_.Form_KeyDown(code, k->modifiers() & Qt::ShiftModifier);
    } else if (!k->isAutoRepeat()) {
      // The keyboard's auto-repeat sends releases too; only the real release re-arms.
      keyboard_.Form_KeyUp(VirtualKeyCode(k->key()));
    }
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- LayoutHost

int frmMain::WindowState() const {
  if (isMinimized()) return 1;
  if (isMaximized()) return 2;
  return 0;
}

int32_t frmMain::WindowWidthTwips() const { return width() * kTwipsPerPixel; }
int32_t frmMain::WindowHeightTwips() const { return height() * kTwipsPerPixel; }

void frmMain::SetWindowWidthTwips(int32_t w) {
  const int px = std::max(1, static_cast<int>(RoundHalfEven(double(w) / kTwipsPerPixel)));
  if (px != width()) resize(px, height());
}

void frmMain::SetWindowHeightTwips(int32_t h) {
  const int px = std::max(1, static_cast<int>(RoundHalfEven(double(h) / kTwipsPerPixel)));
  if (px != height()) resize(width(), px);
}

// The menu bar is the window's only non-client part here; the client is the rest.
int frmMain::ClientWidth() const { return width(); }

int32_t frmMain::WorkAreaWidthTwips() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return (s ? s->availableGeometry().width() : 1024) * kTwipsPerPixel;
}

int32_t frmMain::WorkAreaHeightTwips() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return (s ? s->availableGeometry().height() : 768) * kTwipsPerPixel;
}

SystemMetrics frmMain::Metrics() const {
  SystemMetrics m;
  m.captionHeight = 0;  // the window manager's title bar lies outside the window
  m.menuHeight = menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
  m.frameWidth = 0;
  m.frameHeight = 0;
  return m;
}

namespace {
void SetGeometry(QWidget* w, Surface* s, const QRect& r) {
  w->setGeometry(r);
  if (s) s->Resize(r.width(), r.height());
}
}  // namespace

void frmMain::SetMeterPanelGeometry(const QRect& r) { SetGeometry(picMeterPanel_, &display_.picMeterPanel, r); }
void frmMain::SetGraphGeometry(const QRect& r) { SetGeometry(picGraph_, &display_.picGraph, r); }
void frmMain::SetRecordPanelGeometry(const QRect& r) { SetGeometry(picRecord_, nullptr, r); }
void frmMain::SetFilePositionGeometry(const QRect& r) {
  SetGeometry(picRecord_->picFilePosition, &display_.picFilePosition, r);
}
void frmMain::SetKnobGeometry(const QRect& r) { SetGeometry(picKnob_, &display_.picKnob, r); }
void frmMain::SetBdGeometry(const QRect& r) { SetGeometry(picBD_, &display_.picBD, r); }
int frmMain::TagLabelWidth() const { return picRecord_->lblTag->width(); }
void frmMain::SetTagLabelLeft(int left) { picRecord_->lblTag->move(left, picRecord_->lblTag->y()); }

void frmMain::SetWindowBackColor(int32_t color) {
  QPalette pal = client_->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  client_->setPalette(pal);
}

void frmMain::SetRecordPanelBackColor(int32_t color) {
  QPalette pal = picRecord_->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  picRecord_->setPalette(pal);
}

int32_t frmMain::AppWorkspaceColor() const { return FromQColor(palette().color(QPalette::Mid)); }
int32_t frmMain::ButtonFaceColor() const { return FromQColor(palette().color(QPalette::Button)); }

// ---------------------------------------------------------------- ColourTargets

void frmMain::SetKnobColors(int32_t color) {
  display_.picKnob.ForeColor = color;
  display_.picKnob.FillColor = color;
}

void frmMain::SetGraphBackColor(int32_t color) { display_.picGraph.SetBackColor(color); }

}  // namespace zk
