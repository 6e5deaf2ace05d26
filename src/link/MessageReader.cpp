#include "link/MessageReader.h"

namespace zk {

MessageReader::MessageReader(Context& ctx, SerialPort& port) : ctx_(ctx), port_(port) {}

void MessageReader::Begin() { start_ = ctx_.clock.Timer(); }

bool MessageReader::Take_Waiting(std::string& message) {
  while (port_.InBufferCount() > 0) {
    const std::string c = port_.Input();
    if (c.empty()) continue;
    if (c[0] == '\r') return true;
    // Only the kind and the first digits matter; a runaway line cannot grow the buffer.
    if (Passes(c[0]) && message.size() < MaxLength) message += c[0];
  }
  return false;
}

void MessageReader::End() {
  if (ctx_.timeBase) ctx_.timeBase->Burst_Read();
}

MessageReader::Result MessageReader::Next(std::string& message) {
  message.clear();
  for (;;) {
    const double elapsed = Timer_Elapsed(start_, ctx_.clock.Timer());
    if (elapsed > Deadline) return Result::TimedOut;
    if (Take_Waiting(message)) return message.empty() ? Result::Empty : Result::Message;
    // Nothing waits: sleep on the port until a character arrives or just past the deadline.
    port_.WaitForInput(static_cast<int>((Deadline - elapsed) * 1000.0) + 1);
  }
}

}  // namespace zk
