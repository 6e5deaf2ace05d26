// The simulated sensor without its terminal: protocol, pacing, patterns and scripts.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/sim/SimSensor.h"

namespace zk::sim {
namespace {

int Count(const std::string& s, char c) { return static_cast<int>(std::count(s.begin(), s.end(), c)); }

TEST(SimSensor, AnswersVersionAndStartsOnlyAfterItsSequence) {
  SensorIdentity id;
  SimSensor s(id, Pattern::Steady);
  EXPECT_EQ(s.Receive("Q\r", 0), "");
  EXPECT_EQ(s.Receive("V\r", 0), "V,ZK3A1234,1.0,2.1\r");
  EXPECT_EQ(s.Receive("R\r", 0), "");
  EXPECT_FALSE(s.Streaming());  // "R" without "U" does nothing
  s.Receive("U\r", 0);
  s.Receive("R", 0);
  EXPECT_FALSE(s.Streaming());  // not before the carriage return
  s.Receive("\r", 100);
  EXPECT_TRUE(s.Streaming());
  EXPECT_EQ(s.Due(100), "P4E20\r");
  s.Receive("Q\r", 120);
  EXPECT_FALSE(s.Streaming());
  EXPECT_EQ(s.Due(500), "");

  id.type = "40";
  SimSensor t(id, Pattern::Steady);
  t.Receive("U\rR\r", 0);
  EXPECT_FALSE(t.Streaming());
  t.Receive("O\r", 0);
  EXPECT_TRUE(t.Streaming());
  EXPECT_EQ(t.Due(0), "O4E20\r");
}

TEST(SimSensor, PacedByTheClockWithoutDriftOrBursts) {
  SimSensor s(SensorIdentity{}, Pattern::Steady);
  s.Receive("U\rR\r", 1000);
  std::string all;
  for (int64_t t = 1000; t < 3000; t += 7) all += s.Due(t);  // uneven polling
  EXPECT_EQ(Count(all, '\r'), 100);
  EXPECT_EQ(s.Next_Due(), 3000);
  // Asleep for ten seconds: the missed messages are skipped, not sent at once.
  EXPECT_LE(Count(s.Due(13000), '\r'), 51);
}

TEST(SimSensor, Type31ProbesAndLocalScaling) {
  SensorIdentity id;
  id.type = "31";
  SimSensor s(id, Pattern::Steady);
  s.Receive("SL\rU\rR\r", 0);
  EXPECT_EQ(s.Due(0), SimSensor::Message('L', 18727));  // 20000 / 1.068
  s.Receive("SR\r", 0);
  EXPECT_EQ(s.Due(20), "R4E20\r");
}

TEST(SimSensor, ScriptEventsInTimeOrder) {
  std::string err;
  auto script = Parse_Script(
      "# a test\n"
      "0 value 1000\n"
      "40 switch\n"
      "60 fault 2\n"
      "100 ramp 2000 100   # up by 1000 in 0.1 s\n"
      "300 stall 100\n"
      "400 garbage 5\n"
      "500 disconnect\n",
      err);
  ASSERT_TRUE(script) << err;
  SimSensor s(SensorIdentity{}, Pattern::Sweep, *script);
  s.Receive("U\rR\r", 0);
  EXPECT_EQ(s.Due(20), "P03E8\rP03E8\r");
  EXPECT_EQ(s.Due(40), "T03E8\r");
  EXPECT_EQ(s.Due(80), "X\rX\r");
  EXPECT_EQ(s.Due(100), "P03E8\r");
  EXPECT_EQ(s.Due(160), SimSensor::Message('P', 1200) + SimSensor::Message('P', 1400) + SimSensor::Message('P', 1600));
  s.Due(299);
  EXPECT_EQ(s.Due(399), "");  // stalled
  const std::string g = s.Due(400);
  EXPECT_EQ(g.size(), 5u + 6u);
  EXPECT_EQ(g.find('\r'), 10u);  // garbage carries no carriage return of its own
  s.Due(499);
  EXPECT_FALSE(s.Disconnected());
  s.Due(500);
  EXPECT_TRUE(s.Disconnected());
}

TEST(SimSensor, ScriptErrorsNameTheLine) {
  std::string err;
  EXPECT_FALSE(Parse_Script("0 value 1\n\n10 jump\n", err));
  EXPECT_EQ(err, "line 3: unknown event: jump");
  for (const char* bad : {"5 value 70000", "x value 1", "10 value 1\n5 value 2", "0 ramp 5", "0 stall", "0 switch now",
                          "-1 switch", "0 fault 0"})
    EXPECT_FALSE(Parse_Script(bad, err)) << bad;
}

TEST(SimSensor, PatternsStayInRange) {
  for (auto name : {"steady", "drift", "fall", "motion", "sweep"}) {
    const auto p = Parse_Pattern(name);
    ASSERT_TRUE(p) << name;
    for (int64_t ms = 0; ms < 70000; ms += 20) {
      const int32_t v = Pattern_Reading(*p, ms);
      ASSERT_GE(v, 0);
      ASSERT_LE(v, 65535);
    }
  }
  EXPECT_FALSE(Parse_Pattern("wobble"));
  EXPECT_EQ(Pattern_Reading(Pattern::Sweep, 10000), 65535);
  EXPECT_LT(Pattern_Reading(Pattern::Fall, 9980), Pattern_Reading(Pattern::Fall, 0));
}

}  // namespace
}  // namespace zk::sim
