#include "core/SoundQueries.h"

namespace zk {

std::optional<int32_t> Sound_Position(AudioDevice& audio) {
  int32_t position = 0;
  if (audio.Position(position) != 0) return std::nullopt;
  return position;
}

int32_t Query_Position(AudioDevice& audio, SessionState& st) {
  int32_t position = 0;
  const int32_t result = audio.Position(position);
  if (result == 0) st.AudioPosition = position;
  return result;
}

int32_t Query_Length(AudioDevice& audio, SessionState& st) {
  int32_t length = 0;
  const int32_t result = audio.Length(length);
  if (result == 0) st.AudioLength = length;
  return result;
}

}  // namespace zk
