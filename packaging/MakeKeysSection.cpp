// Build-time tool: writes the KEYS section of zodovaz(1) from the program's key table, so
// the manual lists exactly the keys the window acts on, in the table's order and words.
// The output is a help2man include file.
//
//   zk_make_keys_section OUTPUT_FILE
#include <cstdio>
#include <fstream>
#include <string>

#include "app/Keyboard.h"

namespace {

// Text as roff prints it: a backslash and a minus are escaped, and a line that would start
// with a control character ("." or "'") is guarded.
std::string Roff(const std::string& text) {
  std::string out;
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out += "\\&";
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zk_make_keys_section OUTPUT_FILE\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << "[KEYS]\n"
         "The meter window acts on these keys (Help > Keyboard lists them too). A key held down\n"
         "acts once, except Up and Down, which keep stepping; every other key does nothing.\n";
  for (const zk::KeyUse& k : zk::KeyTable) out << ".TP\n.B " << Roff(k.keys) << "\n" << Roff(k.does) << "\n";
  out.close();
  if (!out) {
    std::fprintf(stderr, "zk_make_keys_section: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
