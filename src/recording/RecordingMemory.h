#pragma once
// The recording in memory (RecordBuffer and the sound held by the audio device, with its
// spool on disk) and the two ways it goes: dropped, when the record panel is hidden, and
// flushed, when a command replaces it. Every end of a recording that was neither saved nor
// kept passes Drop.
#include <optional>

#include "core/Context.h"
#include "spool/SpoolDriver.h"
#include "zkd/RecordFile.h"

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

  // The header records a recording made here was saved with (the buffer keeps the plain
  // readings in records 1 and 2), so that a copy of it is written with them too; nothing
  // for a recording loaded from a file, whose buffer holds its header records as read.
  void Keep_Saved_Header(const std::optional<RecordHeader>& header) { savedHeader_ = header; }
  const std::optional<RecordHeader>& Saved_Header() const { return savedHeader_; }

 private:
  Context& ctx_;
  std::optional<RecordHeader> savedHeader_;
  SpoolDriver spool_;
};

}  // namespace zk
