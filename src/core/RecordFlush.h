#pragma once
// Dropping the recording in memory before another one takes its place (Flush_RecBuffer):
// the audio device is closed, nothing counts as loaded, the file and time labels are reset.
// The recorder owns it; loading and the series list call it.
namespace zk {

class RecordFlush {
 public:
  virtual ~RecordFlush() = default;
  virtual void Flush_RecBuffer() = 0;
};

}  // namespace zk
