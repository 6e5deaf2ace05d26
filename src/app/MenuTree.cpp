#include "app/MenuTree.h"

#include <QKeyEvent>
#include <QMenu>

#include "app/KeyCodes.h"
#include "app/Keyboard.h"
#include "link/PortTable.h"

namespace zk {

namespace {

std::vector<MenuItemSpec> BuildSpec() {
  std::vector<MenuItemSpec> m;
  auto add = [&](int level, const std::string& name, const std::string& caption, int index = -1) {
    m.push_back(MenuItemSpec{level, name, index, caption});
    return &m.back();
  };
  add(0, "mnuFile", "&File");
  add(1, "mnuLoadSettings", "&Load Settings");
  add(1, "mnuSaveSettings", "Save Settings");
  add(1, "mnuSaveSettingsAs", "Save Settings &As");
  add(1, "mnuFileOpen", "Open Recording...");
  add(1, "mnuFileRecent", "Recent Recordings")->enabled = false;
  for (int i = 0; i < 10; ++i) add(2, "mnuFileRecentItem", "", i)->visible = false;  // RecentRecordingsMax
  add(1, "mnuFileExport", "Export Recording...")->enabled = false;
  add(1, "mnuExit", "E&xit");

  add(0, "mnuSettings", "&Settings");
  add(1, "mnuSetCol", "&Colours");
  add(2, "mnuSetColPanel", "Panel");
  add(2, "mnuSetColDial", "Dial Face");
  add(2, "mnuSetColNeedle", "Needle");
  add(3, "mnuSetColNeedleMain", "Main");
  add(3, "mnuSetColNeedleShadow", "Shadow");
  const char* shadow[] = {"Off", "1", "2", "3", "4", "Full"};
  for (int i = 0; i <= 5; ++i) add(4, "mnuSetColNeedleShadow_Index", shadow[i], i);
  add(3, "mnuSetColNeedleBm", "Freeze");
  add(2, "mnuSetColScale", "Scale");
  add(2, "mnuSetColAlert", "Alert");
  add(3, "mnuSetColAlertSet", "Needle SET");
  add(3, "mnuSetColAlertBM", "Body Motion");
  add(3, "mnuSetColAlertLag", "Needle Lag");
  add(2, "mnuSetColText", "Text");
  add(2, "mnuSetColorGraph", "Graph");
  add(3, "mnuSetColorGraphPen", "Pen");
  add(3, "mnuSetColorGraphSheet", "Sheet");
  add(3, "mnuSetColorGraphGrid", "Grid");
  add(2, "mnuSetColBackground", "Background");
  add(2, "Dummy1", "-");
  add(2, "mnuSettingsColorsDefault", "Set Defaults");
  add(1, "mnuSetNeedleWidth", "Needle Width");
  add(2, "mnuSettingsNeedleWidth", "off", 0);
  add(2, "mnuSettingsNeedleWidth", "1 Pixel", 1);
  for (int i = 2; i <= 8; ++i) add(2, "mnuSettingsNeedleWidth", std::to_string(i) + " Pixels", i);
  add(1, "mnuSettingsAlerts", "Alerts");
  add(2, "mnuSettingsAlertsBmSens", "Body Motion Detector");
  const char* bm[] = {"Fine", "Medium", "Coarse"};
  for (int i = 1; i <= 3; ++i) add(3, "mnuSettingsBodyMotionThreshold", bm[i - 1], i);
  add(2, "mnuSettingsBmFreeze", "Body Motion Freeze");
  add(3, "mnuSetBmFreezeOn", "On");
  add(3, "mnuSetBmFreezeOff", "Off");
  add(2, "mnuSettingsAlertsLag", "Needle Lag");
  const char* lag[] = {"1/50 sec", "2/50 sec", "3/50 sec", "4/50 sec", "1/10 sec"};
  for (int i = 1; i <= 5; ++i) add(3, "mnuSettingsLagThreshold", lag[i - 1], i);
  add(1, "mnuSettingsExtSw", "External Switch");
  add(2, "mnuSettingsExtSwMode", "Needle SET", 1);
  add(2, "mnuSettingsExtSwMode", "Tag", 2);
  add(1, "mnuSetNeedleBD", "Needle  BD Counter");
  add(2, "mnuSetNeedleBDOn", "On");
  add(2, "mnuSetNeedleBDOff", "Off");
  add(1, "mnuSettingsAutoSave", "Autosave Settings");
  add(2, "mnuSettingsAutoSaveOn", "On");
  add(2, "mnuSettingsAutoSavePrompt", "Prompt");
  add(2, "mnuSettingsAutoSaveOff", "Off");

  add(0, "mnuConnection", "Connection");
  add(1, "mnuConnectionConnect", "Connect");
  add(1, "mnuConnectionPort", "&Port");
  // The port items show which ports exist.
  {
    auto* none = add(2, "mnuConnectionPortComm", "None", 0);
    none->enabled = none->command = false;
  }
  for (int i = 1; i <= PortTable::MaxPort; ++i) {
    auto* it = add(2, "mnuConnectionPortComm", "Comm" + std::to_string(i) + ":", i);
    it->visible = it->enabled = it->command = false;
  }
  add(1, "mnuConnectSensor", "Sensor")->visible = false;
  add(2, "mnuSensorLocal", "Local");
  add(2, "mnuSensorRemote", "Remote");
  add(1, "mnuConnectSyncTest", "Sync Test - Start")->enabled = false;

  add(0, "mnuView", "&View");
  add(1, "mnuViewRecording", "Recording");
  add(1, "mnuViewGraph", "Graph");
  add(1, "mnuViewMeter", "Meter Style");
  add(1, "mnuViewOverview", "Overview");

  add(0, "mnuGraph", "Graph");
  add(1, "mnuGraphGridX", "Grid X")->checked = true;
  add(1, "mnuGraphGridY", "Grid Y")->checked = true;
  add(1, "mnuGraphHeight", "Height");
  {
    auto* h0 = add(2, "mnuGraphHeightIndex", "", 0);
    h0->visible = h0->enabled = false;
  }
  for (int i = 1; i <= 5; ++i) add(2, "mnuGraphHeightIndex", std::to_string(i), i);
  add(1, "mnuGraphPenWidth", "Pen Width");
  {
    auto* p0 = add(2, "mnuGraphPenWidthIndex", "", 0);
    p0->visible = p0->enabled = false;
  }
  for (int i = 1; i <= 3; ++i) add(2, "mnuGraphPenWidthIndex", std::to_string(i), i);
  add(1, "mnuGraphInvert", "Invert");
  {
    auto* ts = add(1, "mnuGraphTimescale", "Timescale");
    ts->visible = ts->enabled = false;
    auto* t0 = add(2, "mnuGraphTimescaleSecs", "", 0);
    t0->visible = t0->enabled = false;
  }
  for (int i = 1; i <= 4; ++i) add(2, "mnuGraphTimescaleSecs", std::to_string(8 * i), i);

  add(0, "mnuRecording", "Recording");
  add(1, "mnuRecSettings", "Settings");
  add(1, "mnuRecOpenFolder", "Open Save Folder");
  add(1, "mnuRecAudioMode", "Audio");
  add(2, "mnuRecAudioOn", "On");
  add(2, "mnuRecAudioOff", "Off");
  add(1, "mnuRecNextTag", "Next Tag")->enabled = false;
  add(1, "mnuRecPrevTag", "Previous Tag")->enabled = false;

  add(0, "mnuhelp", "&Help");
  add(1, "mnuhelpAbout", "&About");
  add(1, "mnuHelpKeys", "&Keyboard");
  {
    auto* h = add(1, "mnuHelpHelp", "Help");
    h->visible = h->enabled = false;
  }
  return m;
}

// The keys of the key table belong to the window's keyboard commands. A menu item shows
// its key as a shortcut hint, but that shortcut lives in the widget context, and the menu
// bar, the one widget that context could match in (it has the focus while the menu is
// worked from the keyboard), claims such keys as plain key presses: so a key never runs
// the menu item's command besides the keyboard's, and two items showing one key are no
// ambiguous shortcut.
class KeysStayWithTheWindow : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      auto* k = static_cast<QKeyEvent*>(event);
      if (!(k->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) && VirtualKeyCode(k->key()) != 0) {
        event->accept();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

void ShowKeyHint(QAction* action, const std::string& name) {
  const char* keys = KeysOfMenuItem(name);
  if (!keys) return;
  action->setShortcutContext(Qt::WidgetShortcut);
  action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
}

}  // namespace

const std::vector<MenuItemSpec>& MainMenuSpec() {
  static const std::vector<MenuItemSpec> spec = BuildSpec();
  return spec;
}

void BuildMainMenu(QMenuBar* bar, QtControls& controls, const MenuHandler& onChosen) {
  const auto& spec = MainMenuSpec();
  bar->installEventFilter(new KeysStayWithTheWindow(bar));
  std::vector<QMenu*> open;  // open[level] is the menu that items of level+1 go into
  for (size_t i = 0; i < spec.size(); ++i) {
    const MenuItemSpec& it = spec[i];
    const bool hasChildren = i + 1 < spec.size() && spec[i + 1].level > it.level;
    open.resize(it.level);
    QAction* action = nullptr;
    if (hasChildren) {
      QMenu* menu = it.level == 0 ? bar->addMenu(QString::fromStdString(it.caption))
                                  : open.back()->addMenu(QString::fromStdString(it.caption));
      menu->setObjectName(QString::fromStdString(it.name));
      open.push_back(menu);
      action = menu->menuAction();
    } else if (it.caption == "-") {
      action = open.back()->addSeparator();
    } else {
      action = it.level == 0 ? bar->addAction(QString::fromStdString(it.caption))
                             : open.back()->addAction(QString::fromStdString(it.caption));
      const std::string name = it.name;
      const int index = it.index;
      QObject::connect(action, &QAction::triggered, action, [action, name, index, onChosen] {
        // Qt flips a checkable item when it is chosen; the handler decides instead.
        if (action->isCheckable() && !action->isChecked()) {
          const QSignalBlocker block(action);
          action->setChecked(true);
        }
        if (onChosen) onChosen(name, index);
      });
      ShowKeyHint(action, it.name);
    }
    action->setObjectName(QString::fromStdString(it.name));
    action->setMenuRole(QAction::NoRole);
    action->setVisible(it.visible);
    action->setEnabled(it.enabled);
    if (it.checked) {
      action->setCheckable(true);
      action->setChecked(true);
    }
    controls.Add(it.name, it.index, action);
  }
}

}  // namespace zk
