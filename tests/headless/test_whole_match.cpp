// A whole match, the longest ordinary run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "headless_run.h"
#include "run_checks.h"
#include "scripted_player.h"

namespace {

// ----- a whole match ---------------------------------------------------------

// The longest ordinary run: ten points, the end-of-match display, ENDE. Also
// the run that the memory checker watches.
TEST(WholeMatch, TenPointsThenEnde) {
  constexpr int kFramesForAMatch = 4000;
  int endOfMatchFrames = 0;
  Game atEnd;
  Script script;
  script.maxFrames = kFramesForAMatch;
  script.beforeFrame = [&](int, Session& s) {
    if (!s.game.paused) {
      serveThenStandAside(s);
      return;
    }
    if (++endOfMatchFrames == 3) {
      atEnd = s.game;
      moveMouse(s, 450, 350);  // ENDE
      pushClick();
    }
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.hitFrameLimit) << "no match end within " << kFramesForAMatch << " frames";
  EXPECT_EQ(std::max(atEnd.playerScore, atEnd.computerScore), 10);
  EXPECT_TRUE(atEnd.outroPlayed);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  EXPECT_EQ(run.stderrText, "");
  std::printf("[ match   ] %d : %d in %d frames\n", atEnd.playerScore, atEnd.computerScore,
              run.frames);
}

}  // namespace
