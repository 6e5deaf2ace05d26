#pragma once
// The recording's time base as the receive path keeps it: the serial reader reports every
// message it has read (and a receive call that ran out of time), so that the sound position
// that times the records, and the elapsed-time label, are those of the moment the message
// came in. The recorder implements it; the serial layer only reads.
namespace zk {

class MessageTimeBase {
 public:
  virtual ~MessageTimeBase() = default;
  virtual void Message_Read() = 0;
};

}  // namespace zk
