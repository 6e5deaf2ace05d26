#pragma once
// The temporary files a save writes beside its target before renaming them into place,
// and their removal when a crash in the middle of a save left them behind.
//
// A temporary file is named "." + the target's name + "." + six letters or digits (as
// mkstemp makes them), for instance ".Run_001.wav.a1B2c3". One is taken as left behind
// only when it is a plain file of this user's, belongs to a recording (".wav" or ".zkd")
// or to an export of one (".csv", ".edf", ".png"), is named by no journal of a pair not
// yet whole (PairJournal.h), and has not been written to for StaleTempAge: a save in
// progress — in this or another running copy of the program — writes to its file all the
// time, and the age leaves alone any a slow save could still be making.
#include <chrono>
#include <string>

namespace zk {

inline constexpr std::chrono::minutes StaleTempAge{15};

// The mkstemp template of the temporary file for a target named `fileName` (no folder).
std::string TempFileTemplate(const std::string& fileName);

// True when `fileName` (no folder) is a temporary file of a recording's save or export.
bool IsOurTempFile(const std::string& fileName);

// Removes from `folder` the temporary files of recording saves and exports that were left
// behind; answers how many went.
int RemoveStaleTempFiles(const std::string& folder, std::chrono::seconds age = StaleTempAge);

}  // namespace zk
