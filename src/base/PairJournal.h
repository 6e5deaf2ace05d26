#pragma once
// Files that replace their older ones as a set (a recording's .wav and .zkd) are renamed
// into place one at a time. A crash between two renames would leave a new file beside an
// old one. So before the first rename a journal is written beside the last target: for
// every file its target, the complete temporary file that replaces it and the second name
// (backup) its older file keeps meanwhile. It is removed once the renames are over. A
// journal found at the next start means the set was left half replaced: every temporary
// file still there is renamed over its target (the new set was complete before the
// journal was written), then the backups go.
//
// While a save is under way its journal is held by an exclusive lock; the kernel drops
// the lock when the process ends in any way, so a journal whose lock can be taken belongs
// to no running save. A journal the start could not complete stays, and the sweep of
// stale temporary files leaves the files it names alone.
#include <set>
#include <string>
#include <vector>

#include "base/AtomicFile.h"

namespace zk {

struct JournalEntry {
  std::string target, temp, backup;  // backup: "" when there is none
};

// The journal of a set whose last target is `lastTarget`: "." + its name + ".pair".
std::string JournalPathFor(const std::string& lastTarget);
// True when `fileName` (no folder) is the name of a journal.
bool IsJournalName(const std::string& fileName);

// A journal written and held for as long as the object lives; removed when it goes.
class PairJournal {
 public:
  PairJournal() = default;
  PairJournal(const PairJournal&) = delete;
  PairJournal& operator=(const PairJournal&) = delete;
  ~PairJournal();
  // Writes the journal for `entries` beside the last target and syncs it to disk.
  FileError Write(const std::vector<JournalEntry>& entries);

 private:
  int fd_ = -1;
  std::string path_;
};

// Completes every journal in `folder` that no running save holds; answers the names (no
// folder) of the files that journals still name afterwards — those held, or not completed.
std::set<std::string> RestorePairs(const std::string& folder);

// The names (no folder) of the files named by the journals in `folder`.
std::set<std::string> FilesNamedByJournals(const std::string& folder);

// What a start does to a folder recordings are saved in: the pairs a crash left half
// replaced are completed, then the temporary files left behind are swept
// (StaleTempFiles.h), those of a pair still not whole excepted.
void RestorePairsAndSweep(const std::string& folder);

}  // namespace zk
