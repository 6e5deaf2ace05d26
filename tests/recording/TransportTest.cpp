// The stop button: the half that runs depends on the mode, the tail always runs.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "TransportLog.h"
#include "base/RecordingCodes.h"
#include "recording/Transport.h"

namespace zk::test {
namespace {

struct CountingHalf : StopHalf {
  int stops = 0;
  void Stop() override { ++stops; }
};

struct TransportTest : ::testing::Test {
  TestContext t;
  TransportLog bar;
  CountingHalf recorder, player;
  Transport transport{t.ctx, bar};
  TransportTest() {
    transport.SetRecorder(&recorder);
    transport.SetPlayer(&player);
  }
};

TEST_F(TransportTest, StopRunsTheHalfOfTheModeAndAlwaysTheTail) {
  t.state.OperatingMode = ModeRecording;
  transport.cmdStop_Click();
  EXPECT_EQ(recorder.stops, 1);
  EXPECT_EQ(player.stops, 0);

  t.state.OperatingMode = ModeLive;
  t.state.PlayState = PlayPaused;  // a paused player stops from any mode
  transport.cmdStop_Click();
  EXPECT_EQ(player.stops, 1);

  t.state.PlayState = PlayStopped;
  transport.cmdStop_Click();  // nothing running: only the tail
  EXPECT_EQ(recorder.stops + player.stops, 2);
  EXPECT_EQ(t.shell.commandState, 3);
}

// The input watchdog may press stop while a stop waits for its whole second.
TEST_F(TransportTest, StopPressedDuringAStopIsTheSameStop) {
  struct Reentrant : StopHalf {
    Transport* transport = nullptr;
    int stops = 0;
    void Stop() override {
      ++stops;
      transport->cmdStop_Click();
    }
  } half;
  half.transport = &transport;
  transport.SetRecorder(&half);
  t.state.OperatingMode = ModeRecording;
  transport.cmdStop_Click();
  EXPECT_EQ(half.stops, 1);
  EXPECT_EQ(t.shell.commandState, 1);  // one tail
  transport.cmdStop_Click();           // and the next stop is a stop again
  EXPECT_EQ(half.stops, 2);
}

TEST_F(TransportTest, TailRestoresPanelMenusRangeBoxAndBanner) {
  t.state.PlayState = PlayPlaying;
  t.state.RecordIndex = 77;
  t.state.RangeStartX = 100;
  t.state.RangeEndX = 900;
  t.state.StatusWanted = "Input OK";
  t.state.StatusText = "Playback";
  t.settings.Text_Color = 0x123456;
  t.settings.CommPort = 3;
  t.settings.RecordingMode = RecManual;
  t.settings.SavePath.clear();
  t.controls.SetEnabled("cmdRecord", false);
  t.controls.SetEnabled("mnuFile", false);
  t.controls.SetEnabled("picRecord", false);

  transport.Stop_Tail();

  EXPECT_EQ(t.state.PlayState, PlayStopped);
  EXPECT_EQ(t.state.RecordIndex, 1);
  EXPECT_TRUE(t.controls.Enabled("mnuFile"));
  EXPECT_TRUE(t.controls.Enabled("cmdRecord"));  // Manual needs no save folder
  EXPECT_TRUE(t.controls.Enabled("picRecord"));
  EXPECT_EQ(bar.calls, (std::vector<std::string>{"clear", "box 100..900 7"}));
  EXPECT_EQ(t.state.StatusText, "Input OK");
  EXPECT_EQ(t.state.StatusColor, 0x123456);
}

TEST_F(TransportTest, RecordButtonStaysOffWithoutPortOrFolder) {
  t.controls.SetEnabled("cmdRecord", false);
  t.settings.RecordingMode = RecAutoSave;
  t.settings.SavePath.clear();
  t.settings.CommPort = 3;
  transport.Stop_Tail();
  EXPECT_FALSE(t.controls.Enabled("cmdRecord"));  // automatic names need a folder

  t.settings.SavePath = "/tmp/";
  t.settings.CommPort = 0;  // demonstration mode records nothing
  transport.Stop_Tail();
  EXPECT_FALSE(t.controls.Enabled("cmdRecord"));
}

}  // namespace
}  // namespace zk::test
