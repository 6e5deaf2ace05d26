#pragma once
// SerialPort over QSerialPort. Received characters are kept without limit until read. The
// receive event is delivered from the event loop (never from inside a read, a wait or
// another receive event) whenever at least RThreshold characters wait and the threshold is
// not 0, including characters that were already waiting when the threshold was raised again.
#include <QSerialPort>
#include <QTimer>
#include <string>

#include "link/PortTable.h"
#include "link/SerialPort.h"

namespace zk {

class QtSerialPort : public SerialPort {
 public:
  explicit QtSerialPort(const PortTable& table);
  ~QtSerialPort() override;

  bool SetCommPort(int port) override;
  int CommPort() const override { return commPort_; }
  bool SetSettings(const std::string& settings) override;
  std::string Settings() const override { return settings_; }
  void SetInBufferSize(int) override {}
  void SetHandshaking(int mode) override;
  void SetInputLen(int) override {}
  void SetDTREnable(bool on) override;
  void SetRTSEnable(bool on) override;
  bool SetPortOpen(bool open) override;
  bool PortOpen() const override;
  std::string DeniedDevice() const override { return deniedDevice_; }
  void SetRThreshold(int chars) override;
  int RThreshold() const override { return threshold_; }
  int InBufferCount() const override;
  void SetInBufferCount(int count) override;
  std::string Input() override;
  void Output(const std::string& text) override;
  bool WaitForInput(int ms) override;

 private:
  void Apply_Settings();
  void On_Ready_Read();
  void Schedule_Check();
  void Schedule_Check_If_Due();
  // The threshold is on and at least that many characters wait.
  bool Threshold_Reached() const;
  void Check_Threshold();
  void On_Error(QSerialPort::SerialPortError e);

  const PortTable& table_;
  QSerialPort port_;
  QTimer check_;  // zero-delay, single-shot: re-checks the threshold from the event loop
  int commPort_ = 0;
  std::string settings_ = "9600,n,8,1";
  int threshold_ = 0;
  bool waiting_ = false;     // inside WaitForInput
  bool delivering_ = false;  // inside the receive event
  bool dtr_ = false, rts_ = false;
  std::string deniedDevice_;
};

}  // namespace zk
