#pragma once
// An exception that a step catches so that the program goes on — a burst of readings lost,
// a record of a playback skipped, a step of the window layout skipped — is still reported:
// on standard error every time, and once per place through the report the application
// installs (its unexpected-error message). Without one installed (tools, tests) standard
// error alone.
#include <exception>
#include <functional>
#include <string>

namespace zk {

// The one line that says where an unexpected error happened and what it was.
std::string Unexpected_Text(const char* where, const std::string& what);

// The report of the application for an unexpected error; empty: none.
void Set_Unexpected_Report(std::function<void(const std::string&)> report);

// Reports the exception `e` caught while `where`.
void Report_Unexpected(const char* where, const std::exception& e);

}  // namespace zk
