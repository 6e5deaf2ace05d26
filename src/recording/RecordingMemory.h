#pragma once
// The one owner of the recording in memory: its records (RecordBuffer, RecordCount,
// TotalTimeMs, the tags), whether it is loaded, unsaved or failed to save, the sound held
// by the audio device and its spool on disk. The session state keeps these under the names
// the procedures use; they change only through the transitions here:
//
//   Flush_RecBuffer   the recording goes (a new one, a load, the settings, the panel hidden);
//                     needs the guard's leave (core/UnsavedRecording.h)
//   Keep_Unsaved      a stopped or recovered recording is held, to be saved
//   Mark_Saved        it was written to disk
//   Mark_Save_Failed  its automatic save failed: it is asked about whatever the prompt says
//   Mark_Loaded       a recording read from a file is held
//
// A recording that went is gone for every reader: no records, no count, no tags, no notes.
#include <optional>

#include "core/Context.h"
#include "core/UnsavedRecording.h"
#include "recording/RecordingNotes.h"
#include "spool/SpoolDriver.h"
#include "zkd/RecordFile.h"

namespace zk {

class RecordingMemory {
 public:
  // Room for a minute of readings at 50 a second; the buffer grows by as much at a time.
  static constexpr int32_t GrowthRecords = 3000;

  explicit RecordingMemory(Context& ctx) : ctx_(ctx), spool_(ctx), notes_(ctx.prompts, &spool_) {}

  // The recording in memory is gone: the audio device closed, lblLoadedFile "No File
  // Loaded", nothing unsaved or loaded, the spool removed, an empty RecordBuffer (upper
  // bound 3000), no records, no tags, the time labels reset.
  void Flush_RecBuffer(const RecordingLeave& leave);
  // The same for a recording that holds no record (a stop before any reading came):
  // nothing to lose, nobody to ask.
  void Forget_Empty();
  // An empty RecordBuffer for records about to be written (a load, a test); the recording
  // it replaces must have gone already.
  void Empty_Buffer();

  void Keep_Unsaved();
  void Mark_Saved();
  void Mark_Save_Failed();
  void Mark_Loaded();

  SpoolDriver& Spool() { return spool_; }
  // The notes written on the recording; they go with it.
  RecordingNotes& Notes() { return notes_; }

  // The header records a recording made here was saved with (the buffer keeps the plain
  // readings in records 1 and 2), so that a copy of it is written with them too; nothing
  // for a recording loaded from a file, whose buffer holds its header records as read.
  void Keep_Saved_Header(const std::optional<RecordHeader>& header) { savedHeader_ = header; }
  const std::optional<RecordHeader>& Saved_Header() const { return savedHeader_; }

 private:
  void Forget();

  Context& ctx_;
  std::optional<RecordHeader> savedHeader_;
  SpoolDriver spool_;
  RecordingNotes notes_;
};

}  // namespace zk
