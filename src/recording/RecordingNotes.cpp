#include "recording/RecordingNotes.h"

#include <cerrno>
#include <cstdio>

#include "base/Version.h"

namespace zk {

void RecordingNotes::Forget() {
  // What was typed on a saved recording and not yet written goes to its file first.
  Write();
  notes_ = TagNotes{};
  dirty_ = false;
  spoolDirty_ = false;
  damaged_ = false;
  basePath_.clear();
  ++changes_;
}

void RecordingNotes::Loaded(const std::string& basePath) {
  NotesLoad load = LoadNotes(basePath);
  notes_ = std::move(load.notes);
  basePath_ = basePath;
  dirty_ = false;
  // A damaged file is left as it is until a note is written; then it is kept aside under
  // another name, so that nothing typed now replaces what might still be mended by hand.
  damaged_ = !load.error.empty();
  ++changes_;
  if (damaged_)
    prompts_.MsgBox(
        load.error + "\nIt is kept as " + NotesPathFor(basePath) + DamagedSuffix + " when a note is written.",
        ProgramTitle, MsgButtons::OK, MsgIcon::Warning);
}

bool RecordingNotes::Saved(const std::string& basePath) {
  basePath_ = basePath;
  damaged_ = false;
  return Write_To(basePath);
}

bool RecordingNotes::Copied(const std::string& basePath) { return Write_To(basePath); }

void RecordingNotes::Recovered(const std::string& spoolFolder) {
  NotesLoad load = LoadNotesFile(spoolFolder + "/" + SpoolFiles::Notes);
  notes_ = std::move(load.notes);
  basePath_.clear();
  damaged_ = false;
  Changed();
  if (!load.error.empty()) prompts_.MsgBox(load.error, ProgramTitle, MsgButtons::OK, MsgIcon::Warning);
}

void RecordingNotes::Changed() {
  dirty_ = true;
  spoolDirty_ = true;
  ++changes_;
}

void RecordingNotes::Set_Session(const std::string& text) {
  if (notes_.session == text) return;
  notes_.session = text;
  Changed();
}

void RecordingNotes::Set_Tag(int32_t tag, const std::string& text) {
  if (notes_.Of(tag) == text) return;
  notes_.Set(tag, text);
  Changed();
}

bool RecordingNotes::Write_Spool() {
  const std::string folder = spool_ ? spool_->Path() : "";
  if (folder.empty() || !spoolDirty_) return true;
  const std::string path = folder + "/" + SpoolFiles::Notes;
  const FileError e = SaveNotesFile(path, notes_);
  if (!e) {
    spoolDirty_ = false;
    return true;
  }
  prompts_.MsgBox("The notes could not be written to " + path + ": " + e.description +
                      "\nThey are kept with the recording in memory; a crash before it is saved loses them.",
                  ProgramTitle, MsgButtons::OK, MsgIcon::Warning);
  return false;
}

bool RecordingNotes::Write() {
  if (basePath_.empty()) return Write_Spool();
  if (!dirty_) return true;
  if (damaged_) {
    const std::string path = NotesPathFor(basePath_);
    if (std::rename(path.c_str(), (path + DamagedSuffix).c_str()) != 0 && errno != ENOENT) {
      prompts_.MsgBox("The damaged notes file " + path + " could not be kept aside: " + ErrnoError(errno).description +
                          "\nThe notes are kept with the recording in memory.",
                      ProgramTitle, MsgButtons::OK, MsgIcon::Warning);
      return false;
    }
    damaged_ = false;
  }
  return Write_To(basePath_);
}

bool RecordingNotes::Write_To(const std::string& basePath) {
  const FileError e = SaveNotes(basePath, notes_);
  if (!e) {
    if (basePath == basePath_) dirty_ = false;
    return true;
  }
  prompts_.MsgBox("The notes could not be written to " + NotesPathFor(basePath) + ": " + e.description +
                      "\nThey are kept with the recording in memory.",
                  ProgramTitle, MsgButtons::OK, MsgIcon::Warning);
  return false;
}

}  // namespace zk
