#include "recording/RecordingMemory.h"

#include "base/Numbers.h"

namespace zk {

void RecordingMemory::Drop() {
  SessionState& st = ctx_.state;
  st.MciResult = ctx_.audio.Close();
  ctx_.controls.SetCaption("lblLoadedFile", "No File Loaded");
  ctx_.controls.SetToolTip("lblLoadedFile", "No File Loaded");
  st.RecordingUnsaved = false;
  st.RecordingSaveFailed = false;
  st.FileLoaded = false;
  savedHeader_.reset();
  spool_.Remove();
}

void RecordingMemory::Empty_Buffer() {
  SessionState& st = ctx_.state;
  // A fresh vector: the memory of a long recording goes back at once.
  std::vector<SampleRecord>(GrowthRecords + 1).swap(st.RecordBuffer);
  st.RecordCount = 0;
  st.TotalTimeMs = 0;
  st.TagCount = 0;
  ctx_.controls.SetCaption("lblTag", "");
  ctx_.controls.SetCaption("lblPlayTime", Format_Time(0, st.TotalTimeMs));
  ctx_.controls.SetCaption("lblTotalTime", "");
}

void RecordingMemory::Flush_RecBuffer() {
  Drop();
  Empty_Buffer();
}

}  // namespace zk
