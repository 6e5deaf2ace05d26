#include "link/PortTable.h"

#include <charconv>

namespace zk {

PortTable::PortTable() {
  for (int p = 1; p <= MaxPort; ++p) {
    if (p <= 8)
      devices_[p] = "/dev/ttyUSB" + std::to_string(p - 1);
    else if (p <= 12)
      devices_[p] = "/dev/ttyACM" + std::to_string(p - 9);
    else
      devices_[p] = "/dev/ttyS" + std::to_string(p - 13);
  }
}

const std::string& PortTable::Device(int port) const {
  static const std::string none;
  return port >= 1 && port <= MaxPort ? devices_[port] : none;
}

bool PortTable::Set(int port, const std::string& device) {
  if (port < 1 || port > MaxPort || device.empty()) return false;
  devices_[port] = device;
  return true;
}

bool Parse_Port_Option(const std::string& option, PortTable& table) {
  const auto eq = option.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  int port = 0;
  const char* first = option.data();
  const char* last = option.data() + eq;
  auto [ptr, ec] = std::from_chars(first, last, port);
  if (ec != std::errc() || ptr != last) return false;
  return table.Set(port, option.substr(eq + 1));
}

}  // namespace zk
