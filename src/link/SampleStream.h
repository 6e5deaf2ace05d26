#pragma once
// The live sample stream: the receive event of the port and the receive call that decodes
// the sensor's messages into RawReading, keeps the status banner, the tag counter and the
// needle-lag lamp, and hands each burst to the meter engine and the display.
#include <cstdint>
#include <optional>
#include <string>

#include "core/Context.h"
#include "link/MessageReader.h"
#include "link/PortGate.h"
#include "link/SerialPort.h"
#include "meter/LagLamp.h"

namespace zk {

class MeterEngine;
class SyncTest;

// The reading of a message payload: its first four characters as hexadecimal digits
// (fewer when the payload is shorter). nullopt for an empty payload or a non-hex digit.
std::optional<int32_t> Decode_Reading(const std::string& payload);

// Kind "L" readings of a type "31" sensor: x 1.068, half-to-even, at most 65535.
int32_t Scale_Local_Reading(int32_t raw);

class SampleStream {
 public:
  // Installs Comm1_OnComm as the port's receive event.
  SampleStream(Context& ctx, SerialPort& port, MeterEngine& engine, SyncTest& sync);

  // Receive event: threshold 0, the receive call (Com_Sync during the sync test), the
  // engine and the drawing once per burst, threshold back to 5 when a port is in use.
  void Comm1_OnComm();
  // Takes every complete message waiting; the last reading ends in RawReading.
  void Com_Input();

 private:
  enum class Step { Next, Error };
  // The messages of one receive call, up to the burst's end, a time-out or an error.
  void Take_Burst();
  // Decodes one message by the sensor type; `kind` becomes the kind it is recorded as.
  Step Dispatch(char& kind, const std::string& payload);
  Step Take_Reading(char& kind, const std::string& payload);
  Step Take_Probe_Message(char& kind, const std::string& payload);
  void Switch_Closed();          // the tag or the needle set of the external switch
  void Show_Probe(bool remote);  // the probe ticks of the Connection menu
  void Show_Input_Error();
  void Show_Input_Ok();

  Context& ctx_;
  SerialPort& port_;
  PortGate gate_;
  MeterEngine& engine_;
  SyncTest& sync_;
  MessageReader reader_;
  LagLamp lagLamp_;
};

}  // namespace zk
