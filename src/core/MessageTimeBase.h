#pragma once
// The recording's time base as the receive path keeps it: the serial reader reports the end
// of every receive call (right after its last message was read, or when it ran out of
// time), so that the sound position that times the call's record, and the elapsed-time
// label, are those of the moment the burst came in. One report per burst: a burst gives one
// record, so the positions of its earlier messages would time nothing. The recorder
// implements it; the serial layer only reads.
namespace zk {

class MessageTimeBase {
 public:
  virtual ~MessageTimeBase() = default;
  virtual void Burst_Read() = 0;
};

}  // namespace zk
