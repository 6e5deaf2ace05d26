#include "zkd/LoadTexts.h"

namespace zk {

std::string CouldNotLoadText(const std::string& kind, int number, const std::string& description) {
  return "The " + kind + " file could not be loaded for the following reason(s): \n" + std::to_string(number) +
         ": '" + description + "'";
}

}  // namespace zk
