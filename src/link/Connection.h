#pragma once
// Finding the sensor: the port scan and menu, opening and closing the port, the version
// handshake, the start-up commands per sensor type, the connect search with its
// demonstration-mode fallback, the clock tick with the input watchdog, and the probe
// selection of type "31".
#include <string>

#include "core/CommandTable.h"
#include "core/Context.h"
#include "link/MessageReader.h"
#include "link/PortGate.h"
#include "link/SerialPort.h"

namespace zk {

// The fields of an accepted version reply ("V,ZK3A1234,1.0,2.1" after filtering).
struct VersionReply {
  std::string SensorType, SerialNumber, BootLoaderVersion, FirmwareVersion;
};
// False when the reply does not start with "V,ZK".
bool Parse_Version_Reply(const std::string& reply, VersionReply& out);

class Connection {
 public:
  Connection(Context& ctx, SerialPort& port);

  void Init_Ports();  // scan ports 1..16, rebuild mnuConnectionPortComm 0..16
  void Com_Open();    // opens CommPort (9600,n,8,1) unless open or 0
  void Com_Close();
  bool Check_Version();               // true: a sensor answered on CommPort and was started
  bool Com_Input_Vers();              // "V" and the reply; fills SensorType and the identity
  void Start_Sensor();                // start-up commands for SensorType
  void mnuConnectionConnect_Click();  // the connect search
  void tmrClock_Timer();              // clock and input watchdog (every 800 ms)
  void mnuSensorLocal_Click();        // "SL": select the local probe
  void mnuSensorRemote_Click();       // "SR": select the remote probe
  // Connect and the two probe items of the Connection menu. The port items only show
  // which ports exist and have no command.
  void Register_Commands(CommandTable& commands);

 private:
  void Discard_Input_For(double seconds);
  void Send(const std::string& command);
  Context& ctx_;
  SerialPort& port_;
  PortGate gate_;
  MessageReader reader_;  // collects the version reply
  int lastMinute_ = -1;
};

}  // namespace zk
