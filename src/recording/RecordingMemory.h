#pragma once
// The recording in memory (RecordBuffer and the sound held by the audio device, with its
// spool on disk) and the two ways it goes: dropped, when the record panel is hidden, and
// flushed, when a command replaces it. Every end of a recording that was neither saved nor
// kept passes Drop.
#include "core/Context.h"
#include "spool/SpoolDriver.h"

namespace zk {

class RecordingMemory {
 public:
  // Room for a minute of readings at 50 a second; the buffer grows by as much at a time.
  static constexpr int32_t GrowthRecords = 3000;

  explicit RecordingMemory(Context& ctx) : ctx_(ctx), spool_(ctx) {}

  // Closes the audio device and forgets the recording: lblLoadedFile "No File Loaded",
  // RecordingUnsaved and FileLoaded False, the spool removed. The records stay where they
  // are.
  void Drop();
  // An empty RecordBuffer (upper bound 3000), no records, no tags, the time labels reset.
  void Empty_Buffer();
  // Drop and Empty_Buffer: the recording in memory is gone.
  void Flush_RecBuffer();

  SpoolDriver& Spool() { return spool_; }

 private:
  Context& ctx_;
  SpoolDriver spool_;
};

}  // namespace zk
