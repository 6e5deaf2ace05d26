#pragma once
// Which device a port number opens. Defaults: 1-8 /dev/ttyUSB0..7, 9-12 /dev/ttyACM0..3,
// 13-16 /dev/ttyS0..3; "--port N=DEVICE" overrides one entry.
#include <array>
#include <string>

namespace zk {

class PortTable {
 public:
  static constexpr int MaxPort = 16;

  PortTable();
  // Device path of a port 1..16; "" for any other number.
  const std::string& Device(int port) const;
  // Points port 1..16 at a device; false (and no change) for another number or an empty path.
  bool Set(int port, const std::string& device);

 private:
  std::array<std::string, MaxPort + 1> devices_;  // index 0 unused
};

// Parses the value of a --port option, "N=DEVICE" (N 1..16, DEVICE not empty), into the
// table. False when the text is malformed; the table is then unchanged.
bool Parse_Port_Option(const std::string& option, PortTable& table);

}  // namespace zk
