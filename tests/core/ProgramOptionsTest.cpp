#include "core/ProgramOptions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zk {
namespace {

ProgramOptions Tool() {
  ProgramOptions o("tool", "[options] FILE", "Does a thing.", "More:\n  about the thing\n");
  o.Value({"o", "output"}, "OUT", "where to write\nwhat it makes");
  o.Value({"add"}, "X", "repeatable");
  o.Flag({"quiet"}, "say nothing");
  return o;
}

struct Outcome {
  int code;
  std::string out, err;
};

Outcome Finish(const ProgramOptions& o) {
  std::ostringstream out, err;
  const int code = o.Finish(out, err);
  return {code, out.str(), err.str()};
}

TEST(ProgramOptions, ReadsValuesFlagsAndPositionals) {
  ProgramOptions o = Tool();
  ASSERT_TRUE(o.Parse({"--add", "a", "-o", "x.png", "--add=b", "--quiet", "in", "--", "--not-an-option"})) << o.Error();
  EXPECT_EQ(o.Get("output"), "x.png");
  EXPECT_EQ(o.Get("o"), "x.png");
  EXPECT_EQ(o.GetAll("add"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(o.IsSet("quiet"));
  EXPECT_FALSE(Tool().IsSet("quiet"));
  EXPECT_EQ(o.Positionals(), (std::vector<std::string>{"in", "--not-an-option"}));
  // A value that starts with dashes is still the option's value.
  ASSERT_TRUE(o.Parse({"--add", "--pattern"}));
  EXPECT_EQ(o.Get("add"), "--pattern");
}

TEST(ProgramOptions, HelpListsEveryOptionAndEndsWithZero) {
  for (const char* h : {"--help", "-h"}) {
    ProgramOptions o = Tool();
    EXPECT_FALSE(o.Parse({"in", h}));
    const Outcome r = Finish(o);
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.empty());
    EXPECT_EQ(r.out.rfind("Usage: tool [options] FILE\n\nDoes a thing.\n\nOptions:\n", 0), 0u) << r.out;
    for (const char* line : {"  -o, --output OUT  where to write\n                    what it makes\n",
                             "  --add X           repeatable\n", "  --quiet           say nothing\n",
                             "  -h, --help        ", "  --version         ", "\nMore:\n  about the thing\n"})
      EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
}

TEST(ProgramOptions, VersionNamesTheProductAndEndsWithZero) {
  ProgramOptions o = Tool();
  EXPECT_FALSE(o.Parse({"--version"}));
  const Outcome r = Finish(o);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "zk3 Zodovaz 1.0.0\n");
}

TEST(ProgramOptions, ErrorsNameTheBadArgumentAndEndWithTwo) {
  for (auto [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--colour", "red"}, "colour"}, {{"-z"}, "z"}, {{"in", "--add"}, "--add"}}) {
    ProgramOptions o = Tool();
    EXPECT_FALSE(o.Parse(args));
    const Outcome r = Finish(o);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("tool: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Usage: tool [options] FILE\n"), std::string::npos) << r.err;
  }
  // A value the program checks itself fails the same way.
  ProgramOptions o = Tool();
  ASSERT_TRUE(o.Parse({"--add", "7"}));
  std::ostringstream err;
  EXPECT_EQ(o.Fail("--add takes letters, not \"7\"", err), 2);
  EXPECT_EQ(err.str().rfind("tool: --add takes letters, not \"7\"\n", 0), 0u);
}

TEST(ProgramOptions, ASubcommandKeepsTheOptionsAfterIt) {
  ProgramOptions o("tool", "CMD", "");
  o.Positionals_End_Options();
  ASSERT_TRUE(o.Parse({"plot", "--width", "3", "--help"}));
  EXPECT_EQ(o.Positionals(), (std::vector<std::string>{"plot", "--width", "3", "--help"}));
  EXPECT_FALSE(o.Parse({"--help", "plot"}));
  EXPECT_TRUE(o.HelpAsked());
}

}  // namespace
}  // namespace zk
