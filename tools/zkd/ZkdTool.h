#pragma once
// The commands of zodovaz-zkd, writing to the given streams; main() only parses the
// command line. Each answers the process exit code.
#include <cstdint>
#include <ostream>
#include <string>

#include "zkd/RecordFile.h"

namespace zk::zkd {

// Reads the whole recording; on failure prints the file's path and what is wrong with
// it, and answers false.
bool Read(const std::string& zkdPath, RecordFileData& data, std::ostream& err);

// "hh:mm:ss" of a time of day in seconds after midnight, and "dd/mm/yyyy" of a date serial.
std::string TimeOfDay(int32_t seconds);
std::string DateText(int32_t serial);

int Info(const std::string& zkdPath, std::ostream& out, std::ostream& err);
int Csv(const std::string& zkdPath, std::ostream& out, std::ostream& err);
int Verify(const std::string& zkdPath, std::ostream& out, std::ostream& err);

}  // namespace zk::zkd
