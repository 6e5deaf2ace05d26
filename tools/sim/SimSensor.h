#pragma once
// The simulated sensor without its pseudo-terminal: the command protocol (what it answers
// and when it streams), the reading patterns and the timed script. main.cpp drives it
// from a poll() loop; the tests drive it directly.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zk::sim {

// A timed line of a script file: "<ms> <verb> [arguments]".
struct ScriptStep {
  enum Verb { Value, Ramp, Switch, Fault, Stall, Garbage, Disconnect } verb = Value;
  int64_t ms = 0;      // from the start of the stream
  int32_t value = 0;   // Value, Ramp: target reading
  int64_t length = 0;  // Ramp, Stall: milliseconds; Fault, Garbage: count
};

// Parses a script; on failure answers nullopt and puts "line N: why" into error.
std::optional<std::vector<ScriptStep>> Parse_Script(const std::string& text, std::string& error);

enum class Pattern { Steady, Drift, Fall, Motion, Sweep };
std::optional<Pattern> Parse_Pattern(const std::string& name);

// The reading of a built-in pattern at a time from the start of the stream, 0..65535.
int32_t Pattern_Reading(Pattern p, int64_t ms);

struct SensorIdentity {
  std::string type = "3A";  // "3A", "40" or "31"
  std::string serial = "1234";
  std::string bootLoader = "1.0";
  std::string firmware = "2.1";
};

class SimSensor {
 public:
  static constexpr int64_t PeriodMs = 20;  // 50 messages a second

  SimSensor(SensorIdentity id, Pattern pattern, std::vector<ScriptStep> script = {});

  // Bytes from the host. Answers what the sensor writes back (the version reply).
  std::string Receive(const std::string& bytes, int64_t nowMs);

  bool Streaming() const { return streaming_; }
  bool Disconnected() const { return disconnected_; }
  bool RemoteProbe() const { return remote_; }

  // Everything due up to nowMs: messages at 20 ms steps from the start of the stream
  // (paced by that clock, so the rate never drifts) and the script's events. A sender that
  // falls more than a second behind skips the missed messages instead of bursting them.
  std::string Due(int64_t nowMs);
  // When Due next has something to say; -1 while not streaming.
  int64_t Next_Due() const;

  // One message for a reading: kind letter, 4 hex digits, carriage return.
  static std::string Message(char kind, int32_t reading);

 private:
  int32_t Reading_At(int64_t streamMs);
  std::string One_Message(int64_t streamMs);
  void Start(int64_t nowMs);
  void Command(const std::string& cmd, int64_t nowMs, std::string& reply);

  SensorIdentity id_;
  Pattern pattern_;
  std::vector<ScriptStep> script_;
  size_t nextStep_ = 0;
  std::string line_;
  bool unlocked_ = false, ready_ = false, streaming_ = false, remote_ = false, disconnected_ = false;
  int64_t startMs_ = 0;  // clock time of stream start
  int64_t sent_ = 0;     // messages of the stream so far (message k is due at start + 20 k)
  int64_t stallUntil_ = -1;
  int pendingSwitch_ = 0, pendingFault_ = 0;
  // Script value state: a ramp from rampFrom_ at rampStart_ to rampTo_ at rampEnd_.
  bool scripted_ = false;
  int32_t rampFrom_ = 0, rampTo_ = 0;
  int64_t rampStart_ = 0, rampEnd_ = 0;
  uint32_t noise_ = 12345;
};

}  // namespace zk::sim
