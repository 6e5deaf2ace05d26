// The recording's time base as the receive path keeps it: the sound position of each
// message, the seconds of sound seen, and the elapsed-time label.
#include "LinkFixture.h"
#include "recording/RecordTimeBase.h"

namespace zk::test {
namespace {

struct TimeBaseTest : LinkTest {
  TimeBaseTest() {
    ctx.timeBase = &base;
    st.OperatingMode = ModeRecording;
  }
  ~TimeBaseTest() override { ctx.timeBase = nullptr; }
  RecordTimeBase base{ctx};
};

TEST_F(TimeBaseTest, WithoutSoundTheMessageCountTimesTheLabel) {
  set.AudioEnable = false;
  Receive("P0001\rO0002\r");
  EXPECT_EQ(st.RecSampleCount, 2);
  EXPECT_EQ(tc.controls.Caption("lblPlayTime"), "00:00");
  st.RecSampleCount = 100;  // two seconds of messages
  Receive("P0001\r");
  EXPECT_EQ(tc.controls.Caption("lblPlayTime"), "00:02");
  // The label is written again only when its second changes.
  tc.controls.SetCaption("lblPlayTime", "x");
  Receive("P0001\r");
  EXPECT_EQ(tc.controls.Caption("lblPlayTime"), "x");
}

TEST_F(TimeBaseTest, RecordingWithAudioTakesTheTimeBaseFromTheSoundPosition) {
  set.AudioEnable = true;
  st.RecSampleCount = 40;
  tc.audio.position = 3 * 44100 + 10;
  Receive("P0001\r");
  EXPECT_EQ(st.AudioPosition, 3 * 44100 + 10);
  EXPECT_EQ(st.AudioSecsSeen, 3);
  EXPECT_EQ(st.ElapsedSecs, 2);
  EXPECT_EQ(st.RecSampleCount, 41);  // the count runs on through the seconds
  EXPECT_EQ(tc.controls.Caption("lblPlayTime"), "00:02");
  // Within the same second of sound the label stays as it is.
  tc.audio.position = 3 * 44100 + 20000;
  tc.controls.SetCaption("lblPlayTime", "x");
  Receive("P0001\r");
  EXPECT_EQ(st.AudioPosition, 3 * 44100 + 20000);
  EXPECT_EQ(tc.controls.Caption("lblPlayTime"), "x");
}

// A burst gives one record, timed by one position: the sound is asked once a burst,
// however many messages it holds and however its characters trickle in.
TEST_F(TimeBaseTest, TheSoundPositionIsAskedOnceABurst) {
  set.AudioEnable = true;
  tc.audio.position = 2 * 44100;
  const auto queries = [&](auto receive) {
    tc.audio.positionQueries = 0;
    receive();
    return tc.audio.positionQueries;
  };
  EXPECT_EQ(queries([&] { Receive("P0001\r"); }), 1);
  EXPECT_EQ(queries([&] { Receive("P0001\rO0002\rP0003\r\r"); }), 1);
  EXPECT_EQ(st.RecSampleCount, 4);
  // One character at a time, a millisecond apart, as the port delivers them.
  EXPECT_EQ(queries([&] {
              const std::string message = "P0004\r";
              for (size_t i = 1; i < message.size(); ++i) port.Arrive(message.substr(i, 1), 0.001 * i);
              Receive(message.substr(0, 1));
            }),
            1);
  EXPECT_EQ(st.RawReading, 4);
  EXPECT_EQ(queries([&] { Receive("P00"); }), 1);  // out of time
  // Without sound nothing is asked.
  set.AudioEnable = false;
  EXPECT_EQ(queries([&] { Receive("P0001\rP0002\r"); }), 0);
}

TEST_F(TimeBaseTest, OutsideARecordingTheCountsRestAtZero) {
  set.AudioEnable = true;
  tc.audio.position = 5 * 44100;
  Receive("P0001\r");
  EXPECT_EQ(st.ElapsedSecs, 4);
  st.OperatingMode = ModeLive;
  Receive("P0001\r");
  EXPECT_EQ(st.AudioSecsSeen, 0);
  EXPECT_EQ(st.ElapsedSecs, 0);
}

}  // namespace
}  // namespace zk::test
