#pragma once

namespace zk {

// Lets the window process pending events inside a long operation. When nothing is
// pending it sleeps briefly, so a waiting loop never spins a core.
class Events {
 public:
  virtual ~Events() = default;
  virtual void DoEvents() = 0;
  // Handles what is pending or, when nothing is, sleeps until the next event comes or
  // `seconds` have passed, whichever is first; nothing is slept for `seconds` <= 0. For
  // waits that know when their condition is next worth asking. A pump that cannot sleep
  // to a moment does one round of DoEvents.
  virtual void DoEventsFor(double seconds) {
    (void)seconds;
    DoEvents();
  }
};

}  // namespace zk
