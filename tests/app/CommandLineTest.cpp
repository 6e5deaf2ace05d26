#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(CommandLine, ReadsEveryOptionAndTheRecording) {
  const auto cl = ParseCommandLine({"--home", "/tmp/h", "--port", "3=/dev/pts/7", "--port=5=/dev/x", "--simulate",
                                    "--sim-arg", "--pattern", "--sim-arg=fall", "session.zkd"});
  EXPECT_TRUE(cl.error.empty()) << cl.error;
  EXPECT_EQ(cl.home, "/tmp/h");
  EXPECT_EQ(cl.ports.Device(3), "/dev/pts/7");
  EXPECT_EQ(cl.ports.Device(5), "/dev/x");
  EXPECT_EQ(cl.ports.Device(1), "/dev/ttyUSB0");  // the default table stays for the rest
  EXPECT_TRUE(cl.simulate);
  EXPECT_EQ(cl.simulatorArgs, (std::vector<std::string>{"--pattern", "fall"}));
  EXPECT_EQ(cl.recording, "session.zkd");
  EXPECT_FALSE(cl.help);
}

TEST(CommandLine, RejectsWhatItCannotUse) {
  for (std::vector<std::string> bad : {std::vector<std::string>{"--port", "0=/dev/x"},
                                       {"--port", "17=/dev/x"},
                                       {"--port", "3="},
                                       {"--port", "three=/dev/x"},
                                       {"--port"},
                                       {"--home"},
                                       {"--frobnicate"},
                                       {"a.zkd", "b.zkd"}}) {
    EXPECT_FALSE(ParseCommandLine(bad).error.empty()) << bad[0];
  }
}

TEST(CommandLine, HelpAndVersionAreRecognised) {
  EXPECT_TRUE(ParseCommandLine({"--help"}).help);
  EXPECT_TRUE(ParseCommandLine({"-h"}).help);
  EXPECT_TRUE(ParseCommandLine({"--version"}).version);
  EXPECT_NE(UsageText("zodovaz").find("--simulate"), std::string::npos);
}

TEST(CommandLine, SimulatorTakesPortOneUnlessAPortOptionNamesIt) {
  EXPECT_EQ(SimulatorPort(ParseCommandLine({"--simulate"})), 1);
  EXPECT_EQ(SimulatorPort(ParseCommandLine({"--simulate", "--port", "2=/dev/b"})), 1);
  EXPECT_EQ(SimulatorPort(ParseCommandLine({"--simulate", "--port", "1=/dev/a", "--port", "2=/dev/b"})), 3);
  std::vector<std::string> all;
  for (int n = 1; n <= 16; ++n) {
    all.push_back("--port");
    all.push_back(std::to_string(n) + "=/dev/p" + std::to_string(n));
  }
  EXPECT_EQ(SimulatorPort(ParseCommandLine(all)), 0);
}

}  // namespace
}  // namespace zk
