// The keys the user reads about are the keys the window acts on: the README's key table and
// the KEYS section of zodovaz(1) list every entry of the key table, in its order and words,
// and nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Keyboard.h"

namespace zk {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The text from the line `heading` to the next line starting with `next`.
std::string Section(const std::string& text, const std::string& heading, const std::string& next) {
  const size_t start = text.find("\n" + heading + "\n");
  if (start == std::string::npos) return "";
  const size_t end = text.find("\n" + next, start + heading.size() + 2);
  return text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start);
}

TEST(ManualKeys, TheReadmeTableListsTheKeyTable) {
  const std::string keys = Section(ReadFile(std::string(ZK_SOURCE_DIR) + "/README.md"), "## Keys", "## ");
  ASSERT_FALSE(keys.empty()) << "the README has no Keys section";
  std::vector<std::string> rows;
  for (const std::string& line : Lines(keys))
    if (line.rfind("| ", 0) == 0 && line != "| key | what it does |") rows.push_back(line);
  std::vector<std::string> expected;
  for (const KeyUse& k : KeyTable) expected.push_back(std::string("| ") + k.keys + " | " + k.does + " |");
  EXPECT_EQ(rows, expected);
}

// The section is written from the key table at build time; this reads what was written, as
// help2man puts it on the page.
TEST(ManualKeys, TheManPageKeysSectionListsTheKeyTable) {
  const std::string section = ReadFile(ZK_KEYS_SECTION);
  ASSERT_EQ(section.rfind("[KEYS]\n", 0), 0u) << ZK_KEYS_SECTION;
  std::vector<std::string> entries;
  const std::vector<std::string> lines = Lines(section);
  for (size_t i = 0; i + 2 < lines.size(); ++i)
    if (lines[i] == ".TP") entries.push_back(lines[i + 1] + " / " + lines[i + 2]);
  std::vector<std::string> expected;
  for (const KeyUse& k : KeyTable) {
    std::string does = k.does;
    for (size_t at = does.find('-'); at != std::string::npos; at = does.find('-', at + 2)) does.insert(at, "\\");
    expected.push_back(std::string(".B ") + k.keys + " / " + does);
  }
  EXPECT_EQ(entries, expected);
}

}  // namespace
}  // namespace zk
