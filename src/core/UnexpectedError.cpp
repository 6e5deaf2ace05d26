#include "core/UnexpectedError.h"

#include <iostream>
#include <set>
#include <utility>

namespace zk {

namespace {
std::function<void(const std::string&)>& Installed() {
  static std::function<void(const std::string&)> report;
  return report;
}
}  // namespace

std::string Unexpected_Text(const char* where, const std::string& what) {
  return std::string("An unexpected error occurred while ") + where + ": " + what +
         ". The program goes on; please save your work and restart it.";
}

void Set_Unexpected_Report(std::function<void(const std::string&)> report) { Installed() = std::move(report); }

void Report_Unexpected(const char* where, const std::exception& e) {
  const std::string text = Unexpected_Text(where, e.what());
  std::cerr << "zodovaz: " << text << "\n";
  // A fault that repeats with every burst would otherwise bring up one message after
  // another: the user hears of each place once.
  static std::set<std::string> told;
  if (Installed() && told.insert(where).second) Installed()(text);
}

}  // namespace zk
