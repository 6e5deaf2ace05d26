#pragma once
// The recording's time base, kept as the bursts of messages come in: with sound, the sound's
// position of the moment in AudioPosition (which times the records, RecordClock) and the
// whole seconds of sound seen; without sound, the message count alone. Either way the
// elapsed-time label shows the recording's second, rewritten only when that second changes.
// Outside a recording the counts rest at zero.
#include <cstdint>

#include "core/Context.h"
#include "core/MessageTimeBase.h"

namespace zk {

class RecordTimeBase : public MessageTimeBase {
 public:
  explicit RecordTimeBase(Context& ctx) : ctx_(ctx) {}
  void Burst_Read() override;

 private:
  Context& ctx_;
  int32_t shownSecs_ = -1;  // the recording time on the label without sound
};

}  // namespace zk
