#pragma once

namespace zk {

// Lets the window process pending events inside a long operation. When nothing is
// pending it sleeps briefly, so a waiting loop never spins a core.
class Events {
 public:
  virtual ~Events() = default;
  virtual void DoEvents() = 0;
};

}  // namespace zk
