// A pause against the two things that start the sound again by themselves: the timer
// that resumes the sound after a skip, and the end of the banner when a loop restarts.
#include <algorithm>

#include "PlayerRig.h"
#include "base/RecordingCodes.h"

namespace zk::test {
namespace {

using PlayerPause = PlayerTest;

TEST_F(PlayerPause, APauseRightAfterASkipHoldsTheSoundUntilResumed) {
  Load(3000);  // one minute: 10 s a skip
  int32_t before = 0;
  At(2.0, [&] {
    before = t.state.RecordIndex;
    player.cmdFwd_Click();
  });
  At(2.1, [&] { player.cmdPlay_Click(); });  // pause while the skip waits to resume
  AudioMode inBanner = AudioMode::NotReady, afterBanner = AudioMode::NotReady;
  std::size_t drawnPaused = 0, drawnLater = 0;
  At(3.0, [&] { inBanner = SoundMode(); });  // the skip's resume was due at 2.8
  At(3.5, [&] {
    afterBanner = SoundMode();
    drawnPaused = view.drawn.size();
  });
  At(4.5, [&] {
    drawnLater = view.drawn.size();
    player.cmdPlay_Click();  // resume
  });
  int32_t resumedAt = 0;
  At(4.52, [&] { resumedAt = SoundPosition(); });
  At(5.5, [&] { transport.cmdStop_Click(); });
  Play();

  EXPECT_EQ(inBanner, AudioMode::Paused);
  EXPECT_EQ(afterBanner, AudioMode::Paused);
  EXPECT_EQ(drawnLater, drawnPaused);  // no record shown while paused
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "PAUSE", "END"}));
  // The resume starts where the skip went.
  EXPECT_NEAR(resumedAt, player.Range().Record_Position(before + 500), 40);
  const auto idx = view.Indices();
  EXPECT_NE(std::find(idx.begin(), idx.end(), before + 500), idx.end());
}

TEST_F(PlayerPause, APauseDuringTheLoopsRestartBannerHoldsTheSound) {
  Load(500);
  t.state.RangeStartIndex = 51;
  t.state.RangeEndIndex = 100;
  player.cmdLoop_Click();
  // 1 s banner, 1 s of range, then the 2 s banner of the restart: paused half a second in.
  At(2.5, [&] { player.cmdPlay_Click(); });
  AudioMode afterBanner = AudioMode::NotReady;
  int32_t stateAfterBanner = -1, heldAt = -1, stillAt = -2;
  std::size_t drawnPaused = 0, drawnLater = 0;
  At(4.5, [&] {
    afterBanner = SoundMode();
    stateAfterBanner = t.state.PlayState;
    heldAt = SoundPosition();
    drawnPaused = view.drawn.size();
  });
  At(5.5, [&] {
    stillAt = SoundPosition();
    drawnLater = view.drawn.size();
    player.cmdPlay_Click();  // resume: the second pass
  });
  At(6.2, [&] { transport.cmdStop_Click(); });
  Play();

  // Silent at the range start until the resume, and the loop waits there.
  EXPECT_NE(afterBanner, AudioMode::Playing);
  EXPECT_EQ(stateAfterBanner, PlayPaused);
  EXPECT_EQ(heldAt, player.Range().Record_Position(51));
  EXPECT_EQ(stillAt, heldAt);
  EXPECT_EQ(drawnLater, drawnPaused);
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "PLAY", "PAUSE", "END"}));
  // The second pass begins at the range start, after the resume.
  const auto idx = view.Indices();
  EXPECT_EQ(std::count(idx.begin(), idx.end(), 51), 2);
  EXPECT_GT(idx.size(), drawnLater);
  EXPECT_EQ(idx[drawnLater], 51);
}

}  // namespace
}  // namespace zk::test
