#pragma once
// A save of a recording's two files over an older pair, made in a child process that can
// end right after the first rename, as a crash there would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "base/AtomicFile.h"

namespace zk::test {

inline void EndAfterFirstRename(std::size_t renamed) {
  if (renamed == 1) ::_exit(0);
}

// Replaces `base`.wav and `base`.zkd with `wav` and `zkd`; with `crash` set the child ends
// between the two renames, leaving the new .wav beside the old .zkd.
inline void SavePair(const std::string& base, bool crash, const std::string& wav = "new wav",
                     const std::string& zkd = "new zkd") {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (crash) SetAfterRenameHook(EndAfterFirstRename);
    StagedFile w, z;
    bool ok = !w.Open(base + ".wav") && !z.Open(base + ".zkd");
    ok = ok && !WriteAll(w.Fd(), wav.data(), wav.size()) && !WriteAll(z.Fd(), zkd.data(), zkd.size());
    ok = ok && !w.Finish() && !z.Finish() && !CommitTogether({&w, &z});
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace zk::test
