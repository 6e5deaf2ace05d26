#include "SessionScript.h"

#include <gtest/gtest.h>

namespace zk::sample {
namespace {

TEST(SessionScriptTest, ReadsEventsWithTheirTimesAndArgumentsSkippingCommentsAndBlankLines) {
  const ScriptResult r = ParseScript(
      "# a comment\n"
      "\n"
      "0:00 level 30000\n"
      "12.5 glide 29000 4   # a fall\n"
      "1:05 freeze on\n"
      "1:05 tag\n"
      "2:30 end\n");
  ASSERT_TRUE(r.ok()) << r.error;
  const auto& e = r.script.events;
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].action, Action::Level);
  EXPECT_EQ(e[0].a, 30000);
  EXPECT_EQ(e[1].at, 12.5);
  EXPECT_EQ(e[1].action, Action::Glide);
  EXPECT_EQ(e[1].b, 4);
  EXPECT_EQ(e[1].line, 4);
  EXPECT_EQ(e[2].at, 65);
  EXPECT_EQ(e[2].a, 1);
  EXPECT_EQ(e[3].action, Action::Tag);
  EXPECT_EQ(r.script.Seconds(), 150);
}

TEST(SessionScriptTest, AFaultyScriptIsRefusedWithTheLineAndWhatIsWrong) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "line 1: the script does not end with \"end\""},
      {"0 level 100\n", "line 2: the script does not end with \"end\""},
      {"0 level 100\n5 end\n6 tag\n", "line 3: nothing may follow \"end\""},
      {"x level 100\n5 end\n", "line 1: \"x\" is no time (seconds, or minutes:seconds)"},
      {"1:75 tag\n5 end\n", "line 1: \"1:75\" is no time (seconds, or minutes:seconds)"},
      {"-1 tag\n5 end\n", "line 1: \"-1\" is no time (seconds, or minutes:seconds)"},
      {"nan tag\n5 end\n", "line 1: \"nan\" is no time (seconds, or minutes:seconds)"},
      {"3 tag\n2 tag\n5 end\n", "line 2: the time goes back"},
      {"3\n5 end\n", "line 1: a time without an event"},
      {"3 dance\n5 end\n", "line 1: unknown event \"dance\""},
      {"3 level\n5 end\n", "line 1: \"level\" takes 1 argument(s), not 0"},
      {"3 tag 4\n5 end\n", "line 1: \"tag\" takes 0 argument(s), not 1"},
      {"3 level 70000\n5 end\n", "line 1: \"level\" takes 0 to 65535"},
      {"3 level 1e\n5 end\n", "line 1: \"1e\" is no number"},
      {"3 sensitivity 64\n5 end\n", "line 1: \"sensitivity\" takes 0 to 63"},
      {"3 sensitivity 2.5\n5 end\n", "line 1: a sensitivity step is whole"},
      {"3 glide 100 0\n5 end\n", "line 1: a glide takes more than 0 seconds"},
      {"3 freeze yes\n5 end\n", "line 1: freeze is \"on\" or \"off\""},
      {"3 tone 440 40000\n5 end\n", "line 1: a tone's amplitude is 0 to 32767"},
      {"0.02 tag\n5 end\n", "line 1: a tag before 0.04 seconds would be lost under the start time and date"},
      {"0.5 end\n", "line 1: the session is shorter than a second"},
      {"3601 end\n", "line 1: a sample session lasts at most an hour"},
  };
  for (const auto& c : cases) {
    const ScriptResult r = ParseScript(c.text);
    EXPECT_EQ(r.error, c.error) << c.text;
  }
}

}  // namespace
}  // namespace zk::sample
