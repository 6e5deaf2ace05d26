#pragma once
// The commands of zodovaz-zkd, writing to the given streams; main() only parses the
// command line. Each answers the process exit code.
#include <ostream>
#include <string>

namespace zk::zkd {

int Info(const std::string& zkdPath, std::ostream& out, std::ostream& err);
int Csv(const std::string& zkdPath, std::ostream& out, std::ostream& err);
int Verify(const std::string& zkdPath, std::ostream& out, std::ostream& err);

}  // namespace zk::zkd
