// The four programs read their command lines the same way: help and version on standard
// output with code 0, a bad argument named on standard error with code 2.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TempFiles.h"

namespace zk {
namespace {

struct Ran {
  int code;
  std::string out, err;
};

Ran Start(const std::string& program, const std::string& args) {
  test::TempFolder tmp;
  const std::string bin = std::filesystem::canonical("/proc/self/exe").parent_path() / program;
  const std::string cmd = "QT_QPA_PLATFORM=offscreen '" + bin + "' " + args + " >'" + tmp.File("out") + "' 2>'" +
                          tmp.File("err") + "' </dev/null";
  const int status = std::system(cmd.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, tmp.Read("out"), tmp.Read("err")};
}

TEST(ProgramsCommandLine, HelpVersionAndABadArgumentBehaveAlikeInAllFour) {
  for (const std::string p : {"zodovaz", "zodovaz-sim", "zodovaz-replay", "zodovaz-zkd"}) {
    const Ran help = Start(p, "--help");
    EXPECT_EQ(help.code, 0) << p;
    EXPECT_EQ(help.out.rfind("Usage: " + p + " ", 0), 0u) << p << ": " << help.out;
    EXPECT_NE(help.out.find("  --version"), std::string::npos) << p;
    EXPECT_EQ(Start(p, "-h").out, help.out) << p;

    const Ran version = Start(p, "--version");
    EXPECT_EQ(version.code, 0) << p;
    EXPECT_EQ(version.out, "zk3 Zodovaz 1.0.0\n") << p;

    const Ran bad = Start(p, "--frobnicate");
    EXPECT_EQ(bad.code, 2) << p;
    EXPECT_TRUE(bad.out.empty()) << p;
    EXPECT_EQ(bad.err.rfind(p + ": ", 0), 0u) << p << ": " << bad.err;
    EXPECT_NE(bad.err.find("frobnicate"), std::string::npos) << p << ": " << bad.err;
  }
}

}  // namespace
}  // namespace zk
