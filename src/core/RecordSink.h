#pragma once
// Where the drawn needle goes while recording: the meter engine hands every needle it has
// had drawn in recording mode to the recorder, with the kind letter of the message it
// came from.
#include <cstdint>

namespace zk {

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void Record_Sample(int16_t needle, uint8_t kind) = 0;
};

}  // namespace zk
