#pragma once
// The rates every recording is made and played at: 50 records a second beside mono 16-bit
// sound at 22050 samples (44100 bytes) a second.
#include <cstdint>

namespace zk {

inline constexpr int32_t RecordsPerSecond = 50;
inline constexpr int32_t RecordMs = 1000 / RecordsPerSecond;  // one record's time
inline constexpr int32_t SoundSampleRate = 22050;
inline constexpr int32_t SoundBytesPerSecond = SoundSampleRate * 2;

}  // namespace zk
