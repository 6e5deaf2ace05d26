// The receive path: decoding per sensor type, faults and time-outs, the status banner,
// the tag counter, the needle-lag lamp and the hand-over to engine and display.
#include <stdexcept>
#include <vector>

#include "LinkFixture.h"
#include "core/UnexpectedError.h"

namespace zk::test {
namespace {

TEST(DecodeReading, FourHexDigitsAndFaults) {
  EXPECT_EQ(Decode_Reading("0FA0"), 4000);
  EXPECT_EQ(Decode_Reading("FFFF"), 65535);
  EXPECT_EQ(Decode_Reading("0FA0ZZ"), 4000);  // further characters are ignored
  EXPECT_EQ(Decode_Reading("12"), 18);        // a short payload reads what it has
  EXPECT_FALSE(Decode_Reading(""));
  EXPECT_FALSE(Decode_Reading("12,3"));
  EXPECT_FALSE(Decode_Reading("G000"));
}

TEST(DecodeReading, LocalProbeScaleIsCapped) {
  EXPECT_EQ(Scale_Local_Reading(4000), 4272);
  EXPECT_EQ(Scale_Local_Reading(65535), 65535);  // 69991 before the cap
}

using StreamTest = LinkTest;

TEST_F(StreamTest, GoodMessageGivesReadingStatusAndDrawing) {
  set.GraphVisible = true;
  set.Text_Color = 0x123456;
  Receive("P0FA0\r");
  EXPECT_EQ(st.RawReading, 4000);
  EXPECT_TRUE(st.NewReading);
  EXPECT_EQ(st.StatusText, "Input OK");
  EXPECT_EQ(st.StatusColor, 0x123456);
  EXPECT_EQ(tc.view.needle, 1);
  EXPECT_EQ(tc.view.lastGraph, 4000);
  // The needle and the chart go to the screen together, when the reading is drawn.
  EXPECT_EQ(tc.view.drawnHeld, 2);
  EXPECT_EQ(tc.view.held, 0);
  EXPECT_EQ(tc.view.shown, 1);
  EXPECT_FALSE(st.InputWatchdogArmed);
  EXPECT_EQ(port.thresholds, (std::vector<int>{5, 0, 5}));
}

TEST_F(StreamTest, SteadyStreamWritesTheBannerOnce) {
  for (int i = 0; i < 20; ++i) {
    Receive("P0FA0\r");
    tc.clock.now += 0.02;
  }
  EXPECT_EQ(tc.view.mode, 1);
  EXPECT_EQ(tc.view.needle, 20);
}

TEST_F(StreamTest, BurstRunsEngineOnceOnTheLastReading) {
  Receive("P0001\rO0002\rP0003\r");
  EXPECT_EQ(st.RawReading, 3);
  EXPECT_EQ(tc.view.needle, 1);
  EXPECT_EQ(port.InBufferCount(), 0);
}

TEST_F(StreamTest, LowerCaseMessageIsDroppedWithoutError) {
  Receive("pxyz\r");  // nothing passes the filter: an empty message ends the burst quietly
  EXPECT_FALSE(st.NewReading);
  EXPECT_EQ(st.StatusText, "");
  EXPECT_EQ(tc.view.needle, 0);
  // Digits do pass, so a lower-case reading leaves "00", an unknown kind.
  Receive("p0fa0\r");
  EXPECT_FALSE(st.NewReading);
  EXPECT_EQ(st.StatusText, "Input Error");
}

TEST_F(StreamTest, FilterDropsNoiseInsideAMessage) {
  Receive(
      "\nP 0f\x01"
      "FA0\r");  // line feed, blank, lower case and control characters vanish
  EXPECT_EQ(st.RawReading, 0xFA0);
  EXPECT_EQ(st.StatusText, "Input OK");
}

TEST_F(StreamTest, RecordingCountsMessagesAndKinds) {
  st.OperatingMode = ModeRecording;
  set.AudioEnable = false;
  Receive("P0001\rO0002\r");
  EXPECT_EQ(st.StatusText, "Recording");
  EXPECT_EQ(st.RecSampleCount, 2);
  EXPECT_EQ(st.RecSampleKind, 79);  // "O"
  Receive("T0003\r");
  EXPECT_EQ(st.RecSampleKind, 80);  // the switch message counts as "P"
}

// Counts the reports of the receive path and the message count each one saw.
struct CountingTimeBase : MessageTimeBase {
  explicit CountingTimeBase(SessionState& st) : st(st) {}
  void Burst_Read() override { counts.push_back(st.RecSampleCount); }
  SessionState& st;
  std::vector<int32_t> counts;
};

TEST_F(StreamTest, TheTimeBaseHearsOfEveryBurstOnceWhenItsLastMessageIsRead) {
  CountingTimeBase base(st);
  ctx.timeBase = &base;
  st.OperatingMode = ModeRecording;
  Receive("P0001\rO0002\r\r");
  // Once for the burst, after its messages were counted.
  EXPECT_EQ(base.counts, (std::vector<int32_t>{2}));
  base.counts.clear();
  Receive("P0");  // no carriage return: the call runs out of time
  EXPECT_EQ(base.counts, (std::vector<int32_t>{2}));
  base.counts.clear();
  Receive("Z0001\rP0002\r");  // an unknown kind ends the call too
  EXPECT_EQ(base.counts, (std::vector<int32_t>{2}));
  ctx.timeBase = nullptr;
}

TEST_F(StreamTest, UnknownKindIsAnErrorAndLeavesTheRestWaiting) {
  Receive("L0FA0\rP0001\r");
  EXPECT_EQ(st.StatusText, "Input Error");
  EXPECT_EQ(st.StatusWanted, "Input Error");
  EXPECT_EQ(st.StatusColor, 255);
  EXPECT_FALSE(st.NewReading);
  EXPECT_EQ(port.waitingText(), "P0001\r");
  EXPECT_EQ(port.RThreshold(), 5);  // the stream is not left paused
  port.Pump();
  EXPECT_EQ(st.StatusText, "Input OK");
  EXPECT_EQ(st.RawReading, 1);
}

TEST_F(StreamTest, BadPayloadsAreFaults) {
  for (const char* m : {"P12,3\r", "P\r", "OXYZW\r"}) {
    st.StatusText = "Input OK";
    Receive(m);
    EXPECT_EQ(st.StatusText, "Input Error") << m;
    EXPECT_FALSE(st.NewReading) << m;
  }
}

TEST_F(StreamTest, MissingCarriageReturnTimesOutAfterTwoTenths) {
  const double t0 = tc.clock.now;
  Receive("P0F");
  EXPECT_EQ(st.StatusText, "Input Error");
  EXPECT_EQ(st.StatusColor, 255);
  EXPECT_GT(tc.clock.now - t0, 0.2);
  EXPECT_LT(tc.clock.now - t0, 0.21);
  EXPECT_LT(port.waits, 5);  // slept on the port, did not poll
  Receive("P0FA0\r");
  EXPECT_EQ(st.StatusText, "Input OK");
  EXPECT_EQ(st.StatusColor, set.Text_Color);
}

TEST_F(StreamTest, CarriageReturnArrivingBeforeTheDeadlineCompletesTheMessage) {
  port.Arrive("P0F");
  port.Arrive("A0\r", 0.15);
  stream.Comm1_OnComm();
  EXPECT_EQ(st.RawReading, 4000);
  EXPECT_EQ(st.StatusText, "Input OK");
}

TEST_F(StreamTest, RunawayLineWithoutCarriageReturnIsBounded) {
  Receive(std::string(100000, 'A'));
  EXPECT_EQ(st.StatusText, "Input Error");
  Receive("P0FA0\r");
  EXPECT_EQ(st.RawReading, 4000);
}

TEST_F(StreamTest, SwitchAsTagOrNeedleSet) {
  set.SwitchMode_Index = 2;
  Receive("T0FA0\r");
  EXPECT_EQ(st.TagCount, 1);
  EXPECT_TRUE(st.TagChanged);
  EXPECT_EQ(tc.controls.Caption("lblTag"), "1");
  EXPECT_EQ(st.RawReading, 4000);
  EXPECT_FALSE(st.NeedleSetRequest);
  EXPECT_NE(st.LedColor, set.LED_Set_Color);

  // As needle SET the request is served by the same reading's needle step: the lamp shows it.
  set.SwitchMode_Index = 1;
  Receive("T0FA1\r");
  EXPECT_FALSE(st.NeedleSetRequest);
  EXPECT_EQ(st.LedColor, set.LED_Set_Color);
  EXPECT_EQ(st.TagCount, 1);
  EXPECT_EQ(st.RawReading, 4001);
}

TEST_F(StreamTest, Type31ProbesSetTheirCheckMarks) {
  st.SensorType = "31";
  Receive("L0FA0\r");
  EXPECT_EQ(st.RawReading, 4272);
  EXPECT_TRUE(tc.controls.Checked("mnuSensorLocal"));
  EXPECT_FALSE(tc.controls.Checked("mnuSensorRemote"));
  EXPECT_FALSE(set.zk3SensorMode);
  EXPECT_EQ(st.StatusText, "Input OK");

  Receive("R0FA0\r");
  EXPECT_EQ(st.RawReading, 4000);
  EXPECT_TRUE(st.NewReading);
  EXPECT_TRUE(tc.controls.Checked("mnuSensorRemote"));
  EXPECT_FALSE(tc.controls.Checked("mnuSensorLocal"));
  EXPECT_TRUE(set.zk3SensorMode);

  Receive("P0001\r");  // not a kind of this type: ignored, no error
  EXPECT_FALSE(st.NewReading);
  EXPECT_EQ(st.StatusText, "Input OK");
}

TEST_F(StreamTest, RemoteFaultsHoldBackRemoteReadings) {
  st.SensorType = "31";
  Receive("X\rX\rX\r");
  EXPECT_EQ(st.RemoteErrorCount, 3);
  EXPECT_FALSE(st.NewReading);
  for (int expected : {2, 1, 0}) {
    Receive("R0100\r");
    EXPECT_FALSE(st.NewReading);
    EXPECT_EQ(st.RawReading, 0x100);  // stored, but not new
    EXPECT_EQ(st.RemoteErrorCount, expected);
  }
  Receive("R0101\r");
  EXPECT_TRUE(st.NewReading);
  EXPECT_EQ(tc.view.needle, 1);
}

TEST_F(StreamTest, SixRemoteFaultsShowInputError) {
  st.SensorType = "31";
  Receive("X\rX\rX\rX\rX\r");
  EXPECT_NE(st.StatusText, "Input Error");
  Receive("X\r");
  EXPECT_EQ(st.RemoteErrorCount, 5);
  EXPECT_EQ(st.StatusText, "Input Error");
  EXPECT_EQ(st.StatusColor, 255);
}

TEST_F(StreamTest, LagLampLightsOnOverfullBurstAndGoesDarkAfterATenth) {
  st.LagMessages = 5;
  Receive("P0001\rP0001\rP0001\rP0001\rP0001\r");
  EXPECT_EQ(st.LedColor, set.Dial_Color);  // five is not more than five
  Receive("P0001\rP0001\rP0001\rP0001\rP0001\rP0001\rP0001\r");
  EXPECT_EQ(st.LedColor, set.LED_Lag_Color);
  EXPECT_EQ(st.LagTime, tc.clock.now);
  tc.clock.now += 0.05;
  Receive("P0001\r");
  EXPECT_EQ(st.LedColor, set.LED_Lag_Color);
  tc.clock.now += 0.06;
  Receive("P0001\r");
  EXPECT_EQ(st.LedColor, set.Dial_Color);
}

TEST_F(StreamTest, LagLampGoesDarkAfterMidnight) {
  st.LagMessages = 1;
  tc.clock.now = 86399.95;
  Receive("P0001\rP0001\r");
  EXPECT_EQ(st.LedColor, set.LED_Lag_Color);
  tc.clock.now = 0.2;  // the timer went back to 0
  Receive("P0001\r");
  EXPECT_EQ(st.LedColor, set.Dial_Color);
}

class ThrowingView : public RecordingView {
 public:
  using RecordingView::RecordingView;
  void Draw_Needle(int32_t) override { throw std::overflow_error("needle"); }
};

TEST_F(StreamTest, FailingDrawStillRestoresTheThreshold) {
  ThrowingView view(st);
  Context c2{set, st, tc.clock, tc.events, tc.prompts, ctx.timers, view, tc.controls, tc.shell, tc.audio, "/tmp"};
  MeterEngine e2(c2, table);
  SyncTest s2(c2, port, e2);
  SampleStream stream2(c2, port, e2, s2);
  std::vector<std::string> told;
  Set_Unexpected_Report([&](const std::string& text) { told.push_back(text); });
  testing::internal::CaptureStderr();
  port.Arrive("P0FA0\r");
  stream2.Comm1_OnComm();
  port.Arrive("P0FA0\r");
  stream2.Comm1_OnComm();
  const std::string err = testing::internal::GetCapturedStderr();
  Set_Unexpected_Report({});
  EXPECT_EQ(port.RThreshold(), 5);
  // Reported on standard error each time, and to the user once.
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("showing a reading: needle"), std::string::npos) << told[0];
  EXPECT_NE(err.find("showing a reading: needle"), err.rfind("showing a reading: needle")) << err;
}

TEST_F(StreamTest, DemoModeLeavesTheThresholdAtZero) {
  set.CommPort = 0;
  Receive("P0FA0\r");
  EXPECT_EQ(port.RThreshold(), 0);
}

}  // namespace
}  // namespace zk::test
