#pragma once
// How far one press of the skip buttons moves through a recording of a given length.
#include <cstdint>

namespace zk {

// 10 s for recordings under 10 minutes, 15 s under 30 minutes, 30 s under an hour, else 60 s.
constexpr int16_t Skip_Seconds(int32_t totalSeconds) {
  if (totalSeconds < 600) return 10;
  if (totalSeconds < 1800) return 15;
  if (totalSeconds < 3600) return 30;
  return 60;
}

}  // namespace zk
