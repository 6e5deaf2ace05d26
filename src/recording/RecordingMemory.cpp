#include "recording/RecordingMemory.h"

#include <malloc.h>

#include "base/Numbers.h"
#include "core/ControlNames.h"

namespace zk {

void RecordingMemory::Flush_RecBuffer(const RecordingLeave&) { Forget(); }

void RecordingMemory::Forget_Empty() {
  if (ctx_.state.RecordCount == 0) Forget();
}

void RecordingMemory::Forget() {
  SessionState& st = ctx_.state;
  st.MciResult = ctx_.audio.Close();
  ctx_.controls.SetCaption(ctl::lblLoadedFile, "No File Loaded");
  ctx_.controls.SetToolTip(ctl::lblLoadedFile, "No File Loaded");
  st.RecordingUnsaved = false;
  st.RecordingSaveFailed = false;
  st.FileLoaded = false;
  savedHeader_.reset();
  notes_.Forget();
  spool_.Remove();
  Empty_Buffer();
  // The allocator keeps what a long recording freed for itself; handed back to the system.
  malloc_trim(0);
}

void RecordingMemory::Empty_Buffer() {
  SessionState& st = ctx_.state;
  // A fresh vector: the memory of a long recording goes back at once.
  std::vector<SampleRecord>(GrowthRecords + 1).swap(st.RecordBuffer);
  st.RecordCount = 0;
  st.TotalTimeMs = 0;
  st.TagCount = 0;
  ctx_.controls.SetCaption(ctl::lblTag, "");
  ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(0, st.TotalTimeMs));
  ctx_.controls.SetCaption(ctl::lblTotalTime, "");
}

void RecordingMemory::Keep_Unsaved() {
  ctx_.state.RecordingUnsaved = true;
  ctx_.state.RecordingSaveFailed = false;
  ctx_.state.FileLoaded = true;
}

void RecordingMemory::Mark_Saved() {
  ctx_.state.RecordingUnsaved = false;
  ctx_.state.RecordingSaveFailed = false;
}

void RecordingMemory::Mark_Save_Failed() { ctx_.state.RecordingSaveFailed = true; }

void RecordingMemory::Mark_Loaded() { ctx_.state.FileLoaded = true; }

}  // namespace zk
