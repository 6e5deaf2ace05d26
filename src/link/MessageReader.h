#pragma once
// Collects the sensor's messages from the port for one receive call: characters "," to
// "Z" only, a carriage return ends a message, and the whole call has one deadline 0.2 s
// after it began. The end of a receive call is reported to the recording's time base
// (Context::timeBase), which times the call's record from that moment: one sound position
// query per burst, not one per message.
#include <cstddef>
#include <string>

#include "core/Context.h"
#include "link/SerialPort.h"

namespace zk {

class MessageReader {
 public:
  static constexpr double Deadline = 0.2;  // seconds per receive call
  static constexpr size_t MaxLength = 64;  // characters kept of one message

  enum class Result {
    Message,  // a complete message is in the buffer
    Empty,    // a bare carriage return (or only filtered characters): the burst ends
    TimedOut  // no carriage return before the deadline; the buffer holds what came
  };

  MessageReader(Context& ctx, SerialPort& port);

  // Starts a receive call: fixes the deadline.
  void Begin();
  // Reads up to and including the next carriage return.
  Result Next(std::string& message);
  // Ends a receive call, right after its last message was read (or it ran out of time):
  // tells the time base.
  void End();
  // Adds what already waits on the port to `message`, through the filter and up to
  // MaxLength characters, as far as a carriage return (taken, not kept). True when the
  // carriage return came; false when the port ran dry before it.
  bool Take_Waiting(std::string& message);
  // True when the character passes the message filter.
  static bool Passes(char c) { return c >= ',' && c <= 'Z'; }

 private:
  Context& ctx_;
  SerialPort& port_;
  double start_ = 0;
};

}  // namespace zk
