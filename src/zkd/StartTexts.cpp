#include "zkd/StartTexts.h"

#include <cstdio>

#include "base/Clock.h"

namespace zk {

std::string TimeOfDay(int32_t seconds) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
  return buf;
}

std::string DateText(int32_t serial) {
  const DateTime d = DateFromSerial(serial);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
  return buf;
}

}  // namespace zk
