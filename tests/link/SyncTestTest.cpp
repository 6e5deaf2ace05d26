// The sync test: the sine pattern, one step per message, the beep and lamp at each upward
// crossing of the SET mark, and the unsaved-recording question.
#include "LinkFixture.h"

namespace zk::test {
namespace {

TEST(SyncPattern, OneSinePeriodOf200Values) {
  const auto p = Build_Sync_Pattern();
  EXPECT_EQ(p[0], 0);
  EXPECT_EQ(p[50], 9000);
  EXPECT_EQ(p[150], -9000);
  EXPECT_EQ(p[1], 283);       // sin(0.0314159) x 9000 = 282.7
  EXPECT_NEAR(p[100], 0, 2);  // the single-precision sum is not exactly pi
  EXPECT_NEAR(p[200], 0, 2);
  int below = 0;
  for (int i = 1; i <= 200; ++i) below += p[i] < -2503;
  EXPECT_GT(below, 50);
  EXPECT_LT(below, 100);
}

class SyncModeTest : public LinkTest {
 protected:
  void StartTest() {
    tc.controls.SetCaption("mnuConnectSyncTest", "Sync Test - Start");
    sync.mnuConnectSyncTest_Click();
  }
  // n messages, one receive event each.
  void Messages(int n) {
    for (int i = 0; i < n; ++i) Receive("P0FA0\r");
  }
};

TEST_F(SyncModeTest, StartPausesShowsTestModeAndFixesTheReading) {
  port.Arrive("P0001\r");
  StartTest();
  EXPECT_TRUE(st.SyncTestActive);
  EXPECT_EQ(tc.controls.Caption("mnuConnectSyncTest"), "Sync Test - Stop");
  EXPECT_EQ(st.StatusText, "Test Mode");
  EXPECT_EQ(port.InBufferCount(), 0);
  EXPECT_EQ(port.RThreshold(), 5);
  EXPECT_EQ(st.RawReading, 16440);
  EXPECT_EQ(st.SyncPattern[50], 9000);
}

TEST_F(SyncModeTest, NeedleFollowsThePatternAndBeepsOncePerPeriod) {
  StartTest();
  set.GraphVisible = true;
  Messages(1);
  EXPECT_EQ(st.SyncIndex, 1);
  EXPECT_EQ(st.SyncValue, st.SyncPattern[1]);
  EXPECT_EQ(st.FilteredReading, 16440);
  EXPECT_EQ(tc.view.lastGraph, 16440);
  EXPECT_EQ(st.BaseText, MeterEngine::Base_Text(MeterEngine::Base_Step(16440)));
  EXPECT_EQ(st.StatusText, "Test Mode");  // the messages keep the test's banner
  EXPECT_FALSE(st.NeedleSetRequest);

  std::vector<int> beepsAt;
  for (int i = 2; i <= 600; ++i) {
    const int before = tc.shell.beeps;
    Messages(1);
    if (tc.shell.beeps != before) {
      beepsAt.push_back(st.SyncIndex);
      EXPECT_EQ(st.LedColor, set.LED_Lag_Color);
    }
  }
  ASSERT_EQ(beepsAt.size(), 3u);  // every 200 messages (4 s at 50 a second), same place
  EXPECT_EQ(beepsAt[0], beepsAt[1]);
  EXPECT_EQ(beepsAt[1], beepsAt[2]);
  EXPECT_GE(st.SyncPattern[beepsAt[0]], -2502);
  EXPECT_LT(st.SyncPattern[beepsAt[0] - 1], -2502);
}

TEST_F(SyncModeTest, LampGoesDarkAboveMinus1500) {
  StartTest();
  st.SyncIndex = 170;  // past the bottom, rising
  st.SyncArmed = true;
  Messages(30);
  EXPECT_EQ(tc.shell.beeps, 1);
  EXPECT_EQ(st.LedColor, set.Dial_Color);
}

TEST_F(SyncModeTest, RestartContinuesThePatternAndKeepsTheArming) {
  StartTest();
  Messages(120);
  sync.mnuConnectSyncTest_Click();  // stop
  EXPECT_FALSE(st.SyncTestActive);
  EXPECT_TRUE(st.NeedleSetRequest);
  EXPECT_TRUE(tc.tmrLED.Enabled());
  EXPECT_EQ(tc.controls.Caption("mnuConnectSyncTest"), "Sync Test - Start");
  sync.mnuConnectSyncTest_Click();  // start again
  EXPECT_EQ(st.SyncIndex, 120);
  Messages(1);
  EXPECT_EQ(st.SyncIndex, 121);
}

TEST_F(SyncModeTest, NoToTheUnsavedQuestionEndsTheTest) {
  st.RecordingUnsaved = true;
  set.RecPromptEnable = true;
  tc.prompts.answers = {MsgResult::No};
  StartTest();
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].text, "Previous recording not saved, Continue?");
  EXPECT_EQ(tc.prompts.shown[0].title, "Warning");
  EXPECT_FALSE(st.SyncTestActive);
  EXPECT_EQ(tc.controls.Caption("mnuConnectSyncTest"), "Sync Test - Start");
  EXPECT_NE(st.StatusText, "Test Mode");
}

TEST_F(SyncModeTest, StalledStreamShowsInputErrorAndThePatternWaits) {
  StartTest();
  Messages(3);
  Receive("P0F");
  EXPECT_EQ(st.StatusText, "Input Error");
  EXPECT_EQ(st.SyncIndex, 3);
}

TEST_F(SyncModeTest, RecordingCountsTestMessages) {
  StartTest();
  st.OperatingMode = ModeRecording;
  set.AudioEnable = false;
  Receive("O0001\rO0001\r");
  EXPECT_EQ(st.RecSampleCount, 2);
  EXPECT_EQ(st.RecSampleKind, 80);
  EXPECT_EQ(st.StatusText, "Recording");
}

}  // namespace
}  // namespace zk::test
