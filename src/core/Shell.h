#pragma once
// What the lower layers ask of the application shell and the recorder.
#include <cstdint>
#include <string>

namespace zk {

class Shell {
 public:
  virtual ~Shell() = default;
  // Presses the stop button (the input watchdog ends a recording this way).
  virtual void cmdStop_Click() = 0;
  virtual void Update_Command_State() = 0;
  virtual void Update_RecordModeLabel() = 0;
  virtual void Form_Resize() = 0;
  virtual void Apply_Settings_To_Menus() = 0;
  virtual void Beep() = 0;
  // The splash window during start-up and the connect search.
  virtual void Splash_Show() = 0;
  virtual void Splash_Info(const std::string& text) = 0;
  virtual void Splash_Unload() = 0;
};

}  // namespace zk
