// Bursts of input: hundreds of events in one frame, and clicks faster than
// frames, leave the pause, the pointer and the paddle consistent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_run.h"
#include "run_checks.h"
#include "scripted_player.h"

namespace {

// ----- bursts of input -------------------------------------------------------

TEST(Bursts, HundredsOfEventsInOneFrameLeaveAConsistentState) {
  constexpr int kMotions = 500;
  constexpr int kClicks = 301;
  constexpr int kBurstFrame = 5;
  constexpr int kResumeFrame = kBurstFrame + 2;
  constexpr int kFastClickFrames = 30;  // three clicks per frame from here on
  constexpr int kQuitFrame = kResumeFrame + 1 + kFastClickFrames;
  Script script;
  script.beforeFrame = [&](int frame, Session& s) {
    if (frame < kBurstFrame) {
      serveThenStandAside(s);
    } else if (frame == kBurstFrame) {
      // Motion events carry no position the game reads: SDL's mouse does.
      SDL_WarpMouseInWindow(s.game.window, 590, 3);
      for (int i = 0; i < kMotions; ++i) {
        pushEvent(SDL_MOUSEMOTION);
        if (i < kClicks - 1) pushClick(i % 2 == 0 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
      }
      pushClick();  // the 301st: an odd number of toggles
    } else if (frame == kBurstFrame + 1) {
      EXPECT_TRUE(s.game.paused) << "301 clicks toggle the pause an odd number of times";
      EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
      const SDL_Rect clamped{240, 0, 60, 90};  // centre (270, 45)
      EXPECT_TRUE(SDL_RectEquals(&s.player.dstRect, &clamped))
          << s.player.dstRect.x << ", " << s.player.dstRect.y;
      EXPECT_EQ(s.player.mouseX, 270);
      EXPECT_EQ(s.player.mouseY, 45);
      EXPECT_EQ(pointsPlayed(s), 0);
    } else if (frame == kResumeFrame) {
      pushClick();
    } else if (frame < kQuitFrame) {
      EXPECT_EQ(s.game.paused, (frame - kResumeFrame) % 2 == 0)
          << "frame " << frame << ": three clicks a frame flip the pause each frame";
      EXPECT_EQ(SDL_GetRelativeMouseMode(), s.game.paused ? SDL_FALSE : SDL_TRUE);
      for (int i = 0; i < 3; ++i) pushClick();
      moveMouse(s, 10 * frame, 5 * frame);
    } else if (frame == kQuitFrame) {
      pushEvent(SDL_QUIT);
    }
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, kQuitFrame + 1);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
}

}  // namespace
