#pragma once
// The notes on the recording in memory (zkd/TagNotes.h) and the file they belong in. A
// loaded recording reads them from beside its pair and every change is written back at
// once; a recording not yet saved keeps them in memory until its pair is written, and then
// they follow it. Until then they are also written into the recording's spool whenever
// they are written, so that a crash brings them back with the recording. A copy ("Save
// File As") takes them along. A notes file that cannot be read or written is told about;
// the recording itself never depends on it.
#include <cstdint>
#include <string>

#include "core/Prompts.h"
#include "spool/SpoolDriver.h"
#include "zkd/TagNotes.h"

namespace zk {

// A damaged notes file is kept aside under its name with this added.
inline constexpr const char* DamagedSuffix = ".damaged";

class RecordingNotes {
 public:
  // `spool`: the spool of the recording in memory, which keeps the notes of one not yet
  // saved.
  explicit RecordingNotes(Prompts& prompts, const SpoolDriver* spool = nullptr) : prompts_(prompts), spool_(spool) {}

  const TagNotes& Notes() const { return notes_; }
  // Counts every change, so that a view can tell when to show the notes again.
  uint64_t Changes() const { return changes_; }
  // The file the notes are written to; "" while the recording has none.
  const std::string& BasePath() const { return basePath_; }

  // The recording went: no notes, no file (notes changed on a saved recording and not yet
  // written are written first).
  void Forget();
  // A recording was loaded from `basePath`: its notes file is read (a damaged one is told
  // about and the recording has no notes).
  void Loaded(const std::string& basePath);
  // The recording in memory was just written to `basePath`: its notes are written beside
  // it (an older notes file there goes when it has none) and follow it from now on.
  // False (with a message) when the notes file could not be written.
  bool Saved(const std::string& basePath);
  // A copy was written to `basePath`: the notes are written beside it; the recording's own
  // file stays where it is.
  bool Copied(const std::string& basePath);

  // A recording was brought back from the spool in `spoolFolder`: the notes written into
  // it come back too (a damaged notes file there is told about and the recording has no
  // notes). They go into the recording's spool at the next Write.
  void Recovered(const std::string& spoolFolder);

  // Changes a note in memory; Write puts it in the recording's file.
  void Set_Session(const std::string& text);
  void Set_Tag(int32_t tag, const std::string& text);
  // Writes notes changed since the last write to the recording's file when it has one (a
  // damaged one is first renamed aside), else into its spool; false (with a message) when
  // that fails.
  bool Write();

 private:
  bool Write_To(const std::string& basePath);
  bool Write_Spool();
  void Changed();

  Prompts& prompts_;
  const SpoolDriver* spool_;
  TagNotes notes_;
  std::string basePath_;
  uint64_t changes_ = 0;
  bool damaged_ = false;     // the file at basePath_ is damaged and not yet kept aside
  bool dirty_ = false;       // changed since read or written
  bool spoolDirty_ = false;  // changed since written into the spool
};

}  // namespace zk
