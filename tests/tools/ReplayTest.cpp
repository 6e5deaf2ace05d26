// zodovaz-replay: the capture format, and the decoding examples through the whole rig.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <cstdio>
#include <sstream>

#include "tools/replay/Capture.h"
#include "tools/replay/Replay.h"

namespace zk::replay {
namespace {

std::vector<std::vector<std::string>> Rows(const std::string& capture, ReplayOptions o = {}) {
  std::string err;
  const auto c = Parse_Capture(capture, err);
  EXPECT_TRUE(c) << err;
  std::ostringstream out;
  Run_Replay(o, c ? *c : std::vector<CaptureLine>{}, out);
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(out.str());
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, CsvHeader);
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string x; std::getline(fields, x, ',');) f.push_back(x);
    if (!line.empty() && line.back() == ',') f.push_back("");
    rows.push_back(f);
  }
  return rows;
}
enum Col { Ms, Raw, New, Filtered, NeedleCol, Base, Bd, Lamp, Status, Tag, Bm, Frozen };

TEST(Capture, EscapesCommentsAndTimeOnlyLines) {
  std::string err;
  const auto c = Parse_Capture("# comment\n0 P0FA0\\r\n5\n10 a\\tb\\\\\\x41\\n\r\n", err);
  ASSERT_TRUE(c) << err;
  ASSERT_EQ(c->size(), 3u);
  EXPECT_EQ((*c)[0].bytes, "P0FA0\r");
  EXPECT_EQ((*c)[1].ms, 5);
  EXPECT_EQ((*c)[1].bytes, "");
  EXPECT_EQ((*c)[2].bytes, "a\tb\\A\n");
  for (const char* bad : {"10 x\n5 y\n", "x P\n", "0 \\q\n", "0 \\x4\n", "0 \\\n", "-5 P\n"}) {
    EXPECT_FALSE(Parse_Capture(bad, err)) << bad;
    EXPECT_EQ(err.rfind("line ", 0), 0u) << err;
  }
}

TEST(Capture, BadLinesAreNamedBrieflyAndTimesHaveALimit) {
  std::string err;
  EXPECT_FALSE(Parse_Capture("0 P\n" + std::string(1'000'000, 'x') + " P\n", err));
  EXPECT_EQ(err.rfind("line 2: expected milliseconds, found \"xxxx", 0), 0u);
  EXPECT_LT(err.size(), 120u) << err;
  EXPECT_NE(err.find("(1000000 characters)"), std::string::npos) << err;

  EXPECT_FALSE(Parse_Capture("0 P\n9223372036854775807 P\n", err));
  EXPECT_EQ(err, "line 2: time 9223372036854775807 ms is beyond the limit of 8640000000 ms (100 days)");
  EXPECT_FALSE(Parse_Capture("99999999999999999999 P\n", err));  // beyond 64 bits
  // Leading zeros make a number in range as long as a line may be: the message stays short.
  EXPECT_FALSE(Parse_Capture(std::string(100'000, '0') + "8640000001 P\n", err));
  EXPECT_LT(err.size(), 120u) << err;
  EXPECT_NE(err.find("(100010 characters)"), std::string::npos) << err;
  EXPECT_TRUE(Parse_Capture("8640000000 P\n", err)) << err;

  EXPECT_FALSE(Parse_Capture("0 " + std::string(MaxCaptureLine + 1, 'P') + "\n", err));
  EXPECT_EQ(err, "line 1: longer than 1048576 characters");
}

TEST(Replay, LongGapsPassQuicklyAndAsTickByTick) {
  // The same stream around a gap of one minute and of 99 days: the rows after the gap
  // differ only in their time (the watchdog's state repeats every second tick).
  auto around = [](int64_t gapMs) {
    std::string cap;
    for (int ms = 0; ms <= 200; ms += 20) cap += std::to_string(ms) + " P0FA0\\r\n";
    for (int i = 0; i < 5; ++i) cap += std::to_string(200 + gapMs + 20 * i) + " P0FB0\\r\n";
    auto rows = Rows(cap);
    for (auto& r : rows) r[Ms].clear();
    return rows;
  };
  const auto minute = around(60'000);
  EXPECT_EQ(around(99LL * 24 * 3600 * 1000), minute);
  EXPECT_EQ(around(60'000 + 800), minute);    // an odd number of ticks more: still the same rows
  EXPECT_EQ(minute[11][Status], "Input OK");  // the first reading after the gap recovers
}

TEST(Replay, DecodingExamples) {
  auto r = Rows("0 P0FA0\\r\n");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][Raw], "4000");
  EXPECT_EQ(r[0][New], "1");
  EXPECT_EQ(r[0][Status], "Input OK");
  EXPECT_EQ(r[0][NeedleCol], "-2503");  // the first reading re-centres the needle at SET

  r = Rows("0 p0fa0\\r\n");  // lower case: no reading
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][New], "0");
  EXPECT_EQ(r[0][NeedleCol], "");

  ReplayOptions t31;
  t31.sensorType = "31";
  r = Rows("0 LFFFF\\r\n20 L0FA0\\r\n", t31);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0][Raw], "65535");
  EXPECT_EQ(r[1][Raw], "4272");

  r = Rows("0 X\\rX\\rX\\r\n20 R0100\\r\n40 R0100\\r\n60 R0100\\r\n80 R0101\\r\n", t31);
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[3][New], "0");
  EXPECT_EQ(r[4][New], "1");
}

TEST(Replay, TimeOutAndRecovery) {
  // The carriage return comes 0.3 s late: the call gives up at its deadline.
  auto r = Rows("0 P0FA0\n300 \\r\n320 P0FA1\\r\n");
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0][Ms], "0");
  EXPECT_EQ(r[0][Status], "Input Error");
  EXPECT_EQ(r[1][New], "0");  // the late carriage return alone ends a burst quietly
  EXPECT_EQ(r[2][Ms], "320");
  EXPECT_EQ(r[2][Raw], "4001");
  EXPECT_EQ(r[2][Status], "Input OK");
  // Within the deadline a waiting call takes the later line itself.
  r = Rows("0 P0FA0\n150 \\r\n");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0][Raw], "4000");
}

TEST(Replay, WatchdogAndLagLamp) {
  std::string cap;
  for (int ms = 0; ms <= 1000; ms += 20) cap += std::to_string(ms) + " P0FA0\\r\n";
  cap += "4000\n4000 P0FA0\\rP0FA0\\rP0FA0\\rP0FA0\\r\n";  // a stall, then four at once
  auto r = Rows(cap);
  ASSERT_EQ(r.back()[Lamp], "lag");  // more than LagMessages (2)
  EXPECT_EQ(r.back()[Status], "Input OK");
  EXPECT_EQ(r[r.size() - 2][Status], "Input OK");
}

TEST(Replay, SwitchTagsAndBdCounting) {
  QTemporaryFile ini;
  ASSERT_TRUE(ini.open());
  ini.write("[Settings]\nSwitchMode_Index=2\n[Format]\nDialType=0\n");
  ini.flush();
  ReplayOptions o;
  o.settingsFile = ini.fileName().toStdString();
  o.bdCount = true;
  // A steady fall from 40000 to 30000 (no body motion), then the switch.
  std::string cap;
  char hex[8];
  for (int i = 0; i <= 200; ++i) {
    std::snprintf(hex, sizeof hex, "%04X", 40000 - 50 * i);
    cap += std::to_string(20 * i) + " P" + hex + "\\r\n";
  }
  cap += "4100 T7530\\r\n";
  const auto r = Rows(cap, o);
  EXPECT_EQ(r.back()[Tag], "1");
  EXPECT_EQ(r.back()[Bd], "0.9");
  EXPECT_EQ(r.back()[Base], "3.25");
}

TEST(Replay, ExecutablePrintsTheCsv) {
  int argc = 1;
  char arg0[] = "link_tests";
  char* argv[] = {arg0, nullptr};
  QCoreApplication app(argc, argv);
  QTemporaryFile cap;
  ASSERT_TRUE(cap.open());
  cap.write("0 P0FA0\\r\n");
  cap.flush();
  QProcess p;
  p.start(QFileInfo("/proc/self/exe").canonicalPath() + "/zodovaz-replay", {cap.fileName()});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
            QString(CsvHeader) + "\n0,4000,1,4000,-2503,0.85,0.0,off,Input OK,0,0,0\n");
  p.start(QFileInfo("/proc/self/exe").canonicalPath() + "/zodovaz-replay", {"--sensitivity", "99", cap.fileName()});
  ASSERT_TRUE(p.waitForFinished(10000));
  EXPECT_EQ(p.exitCode(), 2);
  EXPECT_TRUE(p.readAllStandardError().contains("--sensitivity"));
}

}  // namespace
}  // namespace zk::replay
