#pragma once
// The times of a recording's records when the recording has sound: each record lies on
// the sound's time line where its reading was taken.
//
// The sensor sends a message every 20 ms, and a record's time is the time of its last
// message: a fixed offset plus 20 ms for every message of the recording so far, so that
// the records of a second lie 20 ms apart as the sensor sent them. The offset comes from
// the sound: the sound's position when each message was read, less 20 ms per message. A
// message is never read before it is sent, but may be read late (the window was drawing),
// so the offset is the lowest seen — creeping later slowly, to follow a sensor whose clock
// runs slower than the sound's, and never further behind the sound than a read can be
// late. A record's time never goes below its predecessor's.
#include <cstdint>

#include "base/RecordingRates.h"

namespace zk {

class RecordClock {
 public:
  // The time of one message at the sensor's rate (ms).
  static constexpr int32_t MessageMs = RecordMs;
  // How much later than the lowest offset seen the offset may move per second of sound (ms).
  static constexpr double CreepPerSecond = 10.0;
  // The latest a message is taken to be read after it was sent (ms): a record's time is
  // never further before the sound than this.
  static constexpr double LateRead = 40.0;

  // A new recording.
  void Start() { started_ = false, last_ = 0; }
  // The time (ms) of a record whose last message is message `messages` of the recording
  // (counted from 1), read when the sound was at `soundMs` of the recording.
  int32_t Stamp(int64_t messages, double soundMs);

 private:
  bool started_ = false;
  double offset_ = 0;   // ms: record time = offset + 20 ms x messages
  double soundMs_ = 0;  // the sound's position at the last stamp
  int32_t last_ = 0;
};

}  // namespace zk
