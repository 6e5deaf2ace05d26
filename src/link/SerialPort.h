#pragma once
// The serial port as the link procedures use it: a numbered port with line settings, a
// count of waiting characters, one-character reads, text writes, and a receive event that
// fires while at least RThreshold characters wait (never while the threshold is 0).
//
// The program uses QtSerialPort; the unit tests use a scripted fake.
#include <functional>
#include <string>
#include <utility>

namespace zk {

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Port number 1..16 (mapped to a device by the PortTable); 0 = none. Changing it
  // while the port is open fails (returns false) and leaves the port as it was.
  virtual bool SetCommPort(int port) = 0;
  virtual int CommPort() const = 0;

  // Line settings as "baud,parity,data,stop", e.g. "9600,n,8,1". False when the text is
  // not understood; the settings are then unchanged.
  virtual bool SetSettings(const std::string& settings) = 0;
  virtual std::string Settings() const = 0;
  virtual void SetInBufferSize(int chars) = 0;  // a hint only: input is never dropped
  virtual void SetHandshaking(int mode) = 0;    // 0 = none (the only mode the sensor uses)
  virtual void SetInputLen(int chars) = 0;      // 1: Input returns one character
  // Modem lines. A port that refuses them (a pseudo-terminal) stays usable.
  virtual void SetDTREnable(bool on) = 0;
  virtual void SetRTSEnable(bool on) = 0;

  // Opens (true) or closes (false) the port. Answers false when opening fails; the port
  // is then closed. Closing a closed port does nothing and answers true.
  virtual bool SetPortOpen(bool open) = 0;
  virtual bool PortOpen() const = 0;
  // After an open that failed because this user may not use the device (it exists, but
  // its permissions keep the user out): the device's path. Empty otherwise.
  virtual std::string DeniedDevice() const = 0;

  // Receive event threshold: 0 = no events.
  virtual void SetRThreshold(int chars) = 0;
  virtual int RThreshold() const = 0;

  // Characters waiting. Setting 0 discards them (other values are ignored).
  virtual int InBufferCount() const = 0;
  virtual void SetInBufferCount(int count) = 0;

  // The next waiting character, "" when none waits.
  virtual std::string Input() = 0;
  // Writes text to the sensor; ignored while the port is closed.
  virtual void Output(const std::string& text) = 0;

  // Blocks for at most ms milliseconds until at least one character waits (true) or the
  // time is up (false). Never spins; does not run the receive event.
  virtual bool WaitForInput(int ms) = 0;

  // The receive event (Comm1_OnComm).
  void SetOnComm(std::function<void()> handler) { onComm_ = std::move(handler); }

 protected:
  void FireOnComm() {
    if (onComm_) onComm_();
  }

 private:
  std::function<void()> onComm_;
};

}  // namespace zk
