// The seek bar picFilePosition on the player's rig: ranges marked with the mouse, the time
// and the clock following it, and seeks while a recording plays.
#include <gtest/gtest.h>

#include <algorithm>

#include "PlayerRig.h"
#include "base/RecordingCodes.h"

namespace zk::test {
namespace {

class SeekBarTest : public PlayerTest {
 protected:
  SeekBar& seekBar = player.Seek_Bar();
};

TEST_F(SeekBarTest, MarksRangesAndFollowsTheMouse) {
  Load(600);  // 11.98 s
  SessionState& st = t.state;
  st.RecordStartSeconds = 10 * 3600 + 59 * 60 + 57;

  seekBar.picFilePosition_MouseMove(0, 250);
  EXPECT_EQ(t.controls.ToolTip("picFilePosition"), "00:03");
  seekBar.picFilePosition_MouseMove(0, 5000);
  EXPECT_EQ(t.controls.ToolTip("picFilePosition"), "00:12");

  // A drag from x = 5 starts at the beginning of the file.
  seekBar.picFilePosition_MouseDown(1, 5.7f);
  EXPECT_EQ(st.RangeStartX, 0);
  EXPECT_EQ(st.RangeStartIndex, 1);
  seekBar.picFilePosition_MouseMove(1, 500);
  EXPECT_EQ(bar.calls.back(), "box 0..500 7");
  EXPECT_EQ(t.controls.Caption("lblPlayTime"), "00:06");
  EXPECT_EQ(view.lastClock, std::make_tuple(11, 0, 0, 36525));  // the clock follows the drag
  seekBar.picFilePosition_MouseUp(1, 500);
  EXPECT_EQ(st.RangeEndX, 500);
  EXPECT_EQ(st.RangeEndIndex, 300);
  EXPECT_EQ(view.lastClock, std::make_tuple(10, 0, 0, DateSerial(2026, 12, 8)));  // back to live time

  // A press and release within a hundredth of the width selects to the end.
  seekBar.picFilePosition_MouseDown(1, 300);
  EXPECT_EQ(st.RangeStartX, 300);
  EXPECT_EQ(st.RangeStartIndex, 180);
  seekBar.picFilePosition_MouseUp(1, 309);
  EXPECT_EQ(st.RangeEndX, 1000);
  EXPECT_EQ(st.RangeEndIndex, 600);
  EXPECT_EQ(bar.calls.back(), "box 300..1000 7");

  // The right button takes the whole file.
  seekBar.picFilePosition_MouseDown(2, 700);
  EXPECT_EQ(st.RangeStartX, 0);
  EXPECT_EQ(st.RangeStartIndex, 1);
  EXPECT_EQ(st.RangeEndIndex, 600);
}

TEST_F(SeekBarTest, ASeekWhilePlayingJumpsInsideTheRange) {
  Load(1000);
  At(2.0, [&] { seekBar.picFilePosition_MouseDown(1, 600); });
  At(3.0, [&] { transport.cmdStop_Click(); });
  Play();
  const auto idx = view.Indices();
  EXPECT_NE(std::find(idx.begin(), idx.end(), 600), idx.end());
  EXPECT_EQ(std::count_if(idx.begin(), idx.end(), [](int32_t k) { return k > 60 && k < 600; }), 0);

  // On a file of five records every seek lands on one of them.
  Load(5);
  t.state.OperatingMode = ModePlayback;
  for (float x : {0.0f, 1.0f, 999.0f, 1000.0f}) {
    seekBar.picFilePosition_MouseDown(1, x);
    EXPECT_GE(t.state.RecordIndex, 1);
    EXPECT_LE(t.state.RecordIndex, 5);
  }
  t.state.OperatingMode = ModeNone;
}

}  // namespace
}  // namespace zk::test
