#pragma once
// Start-up and shut-down of the meter. Start-up reads the session and settings files,
// places the window, looks for the sensor on the remembered port (or runs the connect
// search, or demonstration mode), applies the settings to the menus and draws the panel.
// Shut-down asks before an unsaved recording is lost, writes the session file, the
// recording section and (by the autosave mode) the settings, and ends the readings.
#include <string>

#include "core/Context.h"
#include "core/SessionFile.h"
#include "link/Connection.h"
#include "link/SerialPort.h"
#include "meter/SensitivityTable.h"
#include "recording/Player.h"

namespace zk {

// What start-up and shut-down ask of the window.
class LifecycleHost {
 public:
  virtual ~LifecycleHost() = default;
  // The system metrics the layout works with.
  virtual void Measure_Window() = 0;
  // The keyboard starts with every key up.
  virtual void Release_Keys() = 0;
  virtual int ScreenWidthTwips() const = 0;
  virtual WindowPlacement CurrentPlacement() const = 0;
  // Moves and sizes the window as the settings say, then lays it out.
  virtual void PlaceWindow() = 0;
  // The folder of the program file (the silent track ships there or in the installed
  // data folder beside it).
  virtual std::string ExecutableFolder() const = 0;
  // After the splash, before the first reading: a recording that a run which did not end
  // normally left unsaved is offered back.
  virtual void Offer_Recovery() = 0;
  // The user closes the program: the recording in memory, if any, ends normally (its
  // recovery spool goes with it).
  virtual void Recording_Let_Go() = 0;
};

class Lifecycle {
 public:
  // simulatorPort: non-zero when the simulator stands behind this port for this start
  // only; the session file keeps the port remembered before.
  Lifecycle(Context& ctx, SerialPort& port, SensitivityTable& table, Connection& connection, LifecycleHost& host,
            int simulatorPort = 0);

  void Form_Load();
  // Shut-down; cancel = true keeps the program running and writes nothing. Unattended
  // (the system asks the program to end): no questions; an unsaved recording is left to
  // the recovery spool and the settings are saved only when autosave is On.
  void Form_QueryUnload(bool& cancel, bool unattended = false);

  // The player whose playback ends once the exit is certain.
  void SetPlayer(Player* player) { player_ = player; }

  // True from the end of start-up on.
  bool Loaded() const { return loaded_; }

 private:
  void Look_For_Sensor();
  // The last step before the end: false keeps the program running. The recorder's
  // question about an unsaved recording is asked here.
  bool May_Exit();
  void Write_Session(bool unattended);
  void Autosave_Settings(bool unattended);

  Context& ctx_;
  SerialPort& port_;
  SensitivityTable& table_;
  Connection& connection_;
  LifecycleHost& host_;
  int simulatorPort_;
  int16_t sessionCommPort_ = 0;  // the remembered port, kept while the simulator stands in
  bool loaded_ = false;
  Player* player_ = nullptr;
};

}  // namespace zk
