#include "link/QtSerialPort.h"

#include <unistd.h>

#include <QElapsedTimer>
#include <QThread>
#include <cerrno>
#include <charconv>
#include <optional>
#include <vector>

namespace zk {

namespace {

struct LineSettings {
  qint32 baud = 9600;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::DataBits data = QSerialPort::Data8;
  QSerialPort::StopBits stop = QSerialPort::OneStop;
};

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  size_t from = 0;
  for (;;) {
    const auto at = s.find(sep, from);
    out.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return out;
    from = at + 1;
  }
}

std::optional<int> ToInt(const std::string& s) {
  int v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<LineSettings> ParseSettings(const std::string& text) {
  const auto f = Split(text, ',');
  if (f.size() != 4) return std::nullopt;
  LineSettings ls;
  const auto baud = ToInt(f[0]);
  if (!baud || *baud <= 0) return std::nullopt;
  ls.baud = *baud;
  if (f[1] == "n" || f[1] == "N")
    ls.parity = QSerialPort::NoParity;
  else if (f[1] == "e" || f[1] == "E")
    ls.parity = QSerialPort::EvenParity;
  else if (f[1] == "o" || f[1] == "O")
    ls.parity = QSerialPort::OddParity;
  else if (f[1] == "m" || f[1] == "M")
    ls.parity = QSerialPort::MarkParity;
  else if (f[1] == "s" || f[1] == "S")
    ls.parity = QSerialPort::SpaceParity;
  else
    return std::nullopt;
  const auto data = ToInt(f[2]);
  if (!data || *data < 5 || *data > 8) return std::nullopt;
  ls.data = static_cast<QSerialPort::DataBits>(*data);
  if (f[3] == "1")
    ls.stop = QSerialPort::OneStop;
  else if (f[3] == "1.5")
    ls.stop = QSerialPort::OneAndHalfStop;
  else if (f[3] == "2")
    ls.stop = QSerialPort::TwoStop;
  else
    return std::nullopt;
  return ls;
}

}  // namespace

QtSerialPort::QtSerialPort(const PortTable& table) : table_(table) {
  check_.setSingleShot(true);
  check_.setInterval(0);
  QObject::connect(&check_, &QTimer::timeout, [this] { Check_Threshold(); });
  QObject::connect(&port_, &QSerialPort::readyRead, [this] { On_Ready_Read(); });
  QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) { On_Error(e); });
}

QtSerialPort::~QtSerialPort() {
  check_.stop();
  port_.close();
}

bool QtSerialPort::SetCommPort(int port) {
  if (port_.isOpen()) return false;
  commPort_ = port;
  return true;
}

bool QtSerialPort::SetSettings(const std::string& settings) {
  if (!ParseSettings(settings)) return false;
  settings_ = settings;
  if (port_.isOpen()) Apply_Settings();
  return true;
}

void QtSerialPort::Apply_Settings() {
  const LineSettings ls = *ParseSettings(settings_);
  // A pseudo-terminal takes these as plain terminal attributes; failures are not fatal.
  port_.setBaudRate(ls.baud);
  port_.setParity(ls.parity);
  port_.setDataBits(ls.data);
  port_.setStopBits(ls.stop);
  port_.clearError();
}

void QtSerialPort::SetHandshaking(int mode) {
  port_.setFlowControl(mode == 0 ? QSerialPort::NoFlowControl : QSerialPort::HardwareControl);
  port_.clearError();
}

void QtSerialPort::SetDTREnable(bool on) {
  dtr_ = on;
  if (port_.isOpen()) port_.setDataTerminalReady(on);  // a pty refuses: still usable
  port_.clearError();
}

void QtSerialPort::SetRTSEnable(bool on) {
  rts_ = on;
  if (port_.isOpen()) port_.setRequestToSend(on);
  port_.clearError();
}

bool QtSerialPort::SetPortOpen(bool open) {
  if (!open) {
    check_.stop();
    if (port_.isOpen()) port_.close();
    port_.clearError();
    return true;
  }
  if (port_.isOpen()) return true;
  deniedDevice_.clear();
  const std::string& device = table_.Device(commPort_);
  if (device.empty()) return false;
  port_.setPortName(QString::fromStdString(device));
  if (!port_.open(QIODevice::ReadWrite)) {
    // Asked of the device itself: the port's own permission error also covers a port
    // that another program holds locked.
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) deniedDevice_ = device;
    port_.clearError();
    return false;
  }
  Apply_Settings();
  SetHandshaking(0);
  if (dtr_) port_.setDataTerminalReady(true);
  if (rts_) port_.setRequestToSend(true);
  port_.clearError();
  Schedule_Check();
  return true;
}

bool QtSerialPort::PortOpen() const { return port_.isOpen(); }

void QtSerialPort::SetRThreshold(int chars) {
  threshold_ = chars < 0 ? 0 : chars;
  // Characters that waited while the events were off must still raise one. With none
  // waiting no check is scheduled: the stream holds and releases the port around every
  // receive event, and a check each time would cost a round of the event loop a reading.
  // Characters still on their way are announced by the port when they come.
  Schedule_Check_If_Due();
}

int QtSerialPort::InBufferCount() const { return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0; }

void QtSerialPort::SetInBufferCount(int count) {
  if (count != 0 || !port_.isOpen()) return;
  port_.readAll();
  port_.clear(QSerialPort::Input);
  port_.clearError();
}

std::string QtSerialPort::Input() {
  char c = 0;
  if (!port_.isOpen() || !port_.getChar(&c)) return {};
  return std::string(1, c);
}

void QtSerialPort::Output(const std::string& text) {
  if (!port_.isOpen()) return;
  port_.write(text.data(), static_cast<qint64>(text.size()));
  port_.flush();
}

bool QtSerialPort::WaitForInput(int ms) {
  if (ms < 0) ms = 0;
  if (!port_.isOpen()) {
    QThread::msleep(static_cast<unsigned long>(ms));  // nothing can arrive; still no spinning
    return false;
  }
  if (port_.bytesAvailable() > 0) return true;
  QElapsedTimer t;
  t.start();
  waiting_ = true;
  port_.waitForReadyRead(ms);
  waiting_ = false;
  if (port_.bytesAvailable() > 0) return true;
  // A wait that failed early (the other side hung up) sleeps out the rest of its time.
  const qint64 left = ms - t.elapsed();
  if (left > 0) QThread::msleep(static_cast<unsigned long>(left));
  return false;
}

// Characters came in. From the event loop the receive event is delivered at once, which
// saves a round of the loop per message; inside a wait or a receive event it is left to
// the loop.
void QtSerialPort::On_Ready_Read() {
  if (waiting_ || delivering_) {
    Schedule_Check();
    return;
  }
  Check_Threshold();
  Schedule_Check_If_Due();
}

// Characters that came while the receive event ran its own rounds of events: readyRead is
// not emitted again inside its own emission, so they would wait until more came.
void QtSerialPort::Schedule_Check_If_Due() {
  if (Threshold_Reached()) Schedule_Check();
}

bool QtSerialPort::Threshold_Reached() const {
  return threshold_ > 0 && port_.isOpen() && port_.bytesAvailable() >= threshold_;
}

void QtSerialPort::Schedule_Check() {
  if (threshold_ > 0 && !check_.isActive()) check_.start();
}

void QtSerialPort::Check_Threshold() {
  if (!Threshold_Reached()) return;
  const bool outer = delivering_;
  delivering_ = true;
  FireOnComm();
  delivering_ = outer;
}

void QtSerialPort::On_Error(QSerialPort::SerialPortError e) {
  // The device went away (unplugged, or the other end of a pty closed; reads then fail
  // for good): close it from the event loop, so a dead descriptor cannot keep it busy. The stream then falls
  // silent and the input watchdog reports it.
  if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError)
    QTimer::singleShot(0, &port_, [this] {
      if (port_.isOpen()) port_.close();
      port_.clearError();
    });
}

}  // namespace zk
