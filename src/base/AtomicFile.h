#pragma once
// Replacing a file without ever leaving a half-written one behind: the content goes to a
// temporary file in the target's folder, which is flushed to disk and renamed over the
// target only once it is complete. A failure leaves any older file of that name as it was.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

struct FileError {
  int number = 0;           // errno-style code, 0 = success
  std::string description;  // text for the user
  explicit operator bool() const { return number != 0; }
};

FileError ErrnoError(int err);

// Writes all of `size` bytes to `fd`, retrying short and interrupted writes.
FileError WriteAll(int fd, const void* data, std::size_t size);

// Opens a temporary file beside `path` and hands its descriptor to `write`, which answers
// an error (number 0 for success). On success the file is synced and renamed over `path`
// (a symbolic link at `path` is followed, so the file it points to is replaced; an
// existing file keeps its permission bits); on any failure it is removed and the error
// returned.
FileError ReplaceFileAtomically(const std::string& path, const std::function<FileError(int fd)>& write);

// The same for a writer that opens the file itself by name, such as a library that takes
// a path: `write` gets the name of the temporary file beside `path` (already made, with
// the target's permission bits) and writes it whole; the rest is as above.
FileError ReplaceFileThroughPath(const std::string& path,
                                 const std::function<FileError(const std::string& tempPath)>& write);

// A temporary file beside a target, written first and renamed over the target later, so
// that several files can be completed before any of them replaces its older one. Its name
// is TempFileTemplate's, so that one left by a crash is found and removed at start. A
// staged file that is not committed is removed when it goes.
class StagedFile {
 public:
  StagedFile() = default;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

  // Creates the temporary file for `target` (a symbolic link at `target` is followed; the
  // file gets the permission bits the target has, or the usual ones) and keeps it open.
  FileError Open(const std::string& target);
  int Fd() const { return fd_; }
  const std::string& TempPath() const { return temp_; }
  const std::string& Target() const { return target_; }
  // Closes the descriptor without syncing: for a writer that takes the temporary path and
  // replaces that file itself (atomically, with its own sync).
  FileError Close();
  // Syncs and closes what was written through Fd().
  FileError Finish();
  // Renames the temporary file over the target.
  FileError Commit();

 private:
  int fd_ = -1;
  bool committed_ = false;
  std::string target_, temp_;
};

// Commits every file of `files`, so that they replace their targets as one: when one
// rename fails, the targets already replaced get their older files back (or go, when they
// had none) and the error is answered.
// More than one file is committed under a journal (PairJournal.h), so that a crash
// between two renames is completed at the next start.
FileError CommitTogether(const std::vector<StagedFile*>& files);
// For tests that end the process between two renames: called after each rename of
// CommitTogether with how many are done.
void SetAfterRenameHook(void (*hook)(std::size_t renamed));

// The same for a text already in memory; false when any step failed.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace zk
