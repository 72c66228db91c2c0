// Many matches in a row: every play again reads the sprite sheet once, holds it
// once, and leaves resident memory flat.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "headless_run.h"
#include "present/pictures.h"
#include "run_checks.h"
#include "scripted_player.h"

namespace {

// ----- many matches in a row -------------------------------------------------

// Resident memory of this process in kilobytes, from /proc/self/status.
long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// AddressSanitizer and valgrind keep freed memory in quarantine on purpose and
// find leaks themselves: under them resident memory says nothing.
bool freedMemoryIsQuarantined() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::strstr(preload, "vgpreload") != nullptr;
#endif
}

TEST(PlayAgain, TwentyFiveMatchesInARowKeepOneSheetAndFlatMemory) {
  constexpr int kPlayAgains = 25;
  constexpr long kAllowedGrowthKilobytes = 20 * 1024;
  const int sheetsAtStart = picturesLoaded(kSheetPicture);
  int playAgains = 0;
  long residentBefore = -1;
  long residentAfter = -1;
  Script script;
  script.maxFrames = 20000;
  // Every match starts one point short of its end, and that point is played.
  script.onCourt = [](Session& s) { s.game.computerScore = 9; };
  script.beforeFrame = [&](int, Session& s) {
    if (!s.game.paused) {
      serveThenStandAside(s);
      return;
    }
    if (!s.game.outroPlayed) return;
    // The end-of-match display is up.
    if (playAgains == 0 && residentBefore < 0) residentBefore = residentKilobytes();
    if (playAgains == kPlayAgains) {
      residentAfter = residentKilobytes();
      moveMouse(s, 450, 350);  // ENDE
    } else {
      moveMouse(s, 150, 350);  // WEITER
    }
    pushClick();
  };
  script.afterFrame = [&](int, Session& s) {
    if (s.game.quitRequested || s.game.paused || pointsPlayed(s) != 0) return;
    // A play again happened in this frame.
    ++playAgains;
    EXPECT_EQ(picturesLoaded(kSheetPicture) - sheetsAtStart, 1 + playAgains)
        << "the sheet is read once per play again";
    ASSERT_NE(s.scoreboard.surface, nullptr);
    ASSERT_NE(s.scoreboard.texture, nullptr);
    EXPECT_EQ(s.scoreboard.surface->refcount, 1) << "nothing else holds the sheet";
    s.game.computerScore = 9;
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.hitFrameLimit);
  EXPECT_EQ(playAgains, kPlayAgains);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  std::printf(
      "[ memory  ] resident %ld kB at the first end of match, %ld kB after %d play "
      "agains (%+ld kB)\n",
      residentBefore, residentAfter, kPlayAgains, residentAfter - residentBefore);
  RecordProperty("ResidentKilobytesBefore", std::to_string(residentBefore));
  RecordProperty("ResidentKilobytesAfter", std::to_string(residentAfter));
  ASSERT_GT(residentBefore, 0);
  ASSERT_GT(residentAfter, 0);
  if (!freedMemoryIsQuarantined()) {
    EXPECT_LT(residentAfter - residentBefore, kAllowedGrowthKilobytes);
  }
}

}  // namespace
