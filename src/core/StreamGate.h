#pragma once
// Pausing the reading stream. Whatever must not be interrupted by readings — a modal
// dialog, the start of a recording or a playback, the handshake, the receive handler
// itself — holds the stream (no receive events), may throw away the input that waited
// meanwhile, and releases it afterwards; the meter then starts afresh with the next
// reading. Demonstration mode has no port, so releasing leaves receive events off there.
namespace zk {

class StreamGate {
 public:
  virtual ~StreamGate() = default;
  // Receive events off.
  virtual void Hold() = 0;
  // Throws away the input waiting at the port.
  virtual void Discard() = 0;
  // Receive events on again when a port is in use.
  virtual void Release() = 0;
  // The next reading restarts the filter and the needle (ResetPending).
  virtual void RestartMeter() = 0;

  // Hold and throw away what waits: nothing read so far reaches the meter.
  void Pause() {
    Hold();
    Discard();
  }
  // Throw away what waited, receive events on, the meter starts afresh.
  void Resume() {
    Discard();
    Release();
    RestartMeter();
  }
};

}  // namespace zk
