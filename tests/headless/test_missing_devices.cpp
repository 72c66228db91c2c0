// Devices that are not there: no sound, no display. The game plays silent, or
// stops with SDL's reason, and gives every resource back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "headless_run.h"
#include "present/game_files.h"
#include "present/sounds.h"
#include "run_checks.h"
#include "scripted_player.h"
#include "tests/support/scoped_env.h"

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer reads this once at start: leaks in system libraries that are
// not ours to fix. Once SDL's x11 driver has been tried, libdbus keeps its
// session-bus tables until exit; SDL 2.26 does not shut libdbus down on quit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
#endif

namespace {

// ----- devices that are not there -------------------------------------------

struct AudioFailure {
  const char* name;
  const char* driver;
  const char* diskFile;  // for the disk driver: where it would write
};

void PrintTo(const AudioFailure& c, std::ostream* out) {
  *out << c.name;
}

class NoSound : public testing::TestWithParam<AudioFailure> {};

// The whole game runs silent: cues on empty slots are refused, not crashed on,
// and the missing device is one line, not a line per sound.
TEST_P(NoSound, TheGamePlaysAPointSilentlyAndSaysSoOnce) {
  const AudioFailure& c = GetParam();
  ScopedEnv driver("SDL_AUDIODRIVER", c.driver);
  ScopedEnv diskFile("SDL_DISKAUDIOFILE", c.diskFile);
  bool silent = false;
  bool pointPlayed = false;
  Script script;
  script.maxFrames = 600;
  script.onCourt = [&](Session& s) {
    silent = true;
    for (int index = 0; index < kSoundCount; ++index) {
      silent = silent && *soundSlot(s.bank, index) == nullptr;
    }
  };
  script.beforeFrame = quitAfterAPoint;
  script.afterFrame = [&](int, Session& s) { pointPlayed = pointPlayed || pointsPlayed(s) > 0; };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  const std::vector<std::string> lines = linesOf(run.stderrText);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(silent) << "every sound slot stays empty";
  EXPECT_TRUE(pointPlayed) << "a serve, a hit and a point, all silent";
  EXPECT_FALSE(run.hitFrameLimit);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  // SDL's disk driver announces itself on stderr before it fails to open.
  const auto ours = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("VombaPong:", 0) == 0;
  });
  EXPECT_EQ(ours, 1) << run.stderrText;
  EXPECT_NE(run.stderrText.find("no sound"), std::string::npos) << run.stderrText;
}

INSTANTIATE_TEST_SUITE_P(Devices, NoSound,
                         testing::Values(AudioFailure{"NoSuchDriver", "no-such-driver", ""},
                                         AudioFailure{"DeviceFailsToOpen", "disk",
                                                      "/nonexistent-vombapong-folder/sound.raw"}),
                         [](const testing::TestParamInfo<AudioFailure>& info) {
                           return std::string(info.param.name);
                         });

TEST(NoDisplay, AnX11DisplayThatIsNotThereStopsWithSDLsReason) {
  ScopedEnv driver("SDL_VIDEODRIVER", "x11");
  // No X server listens on this display number, nor on a socket of that name.
  ScopedEnv display("DISPLAY", ":65000");
  std::vector<std::string> left;
  Script script;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  const std::vector<std::string> lines = linesOf(run.stderrText);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.courtDrawn);
  EXPECT_TRUE(run.shutDown);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  ASSERT_EQ(lines.size(), 1u) << run.stderrText;
  // The line ends with SDL's own reason after the game's words.
  const size_t colon = lines[0].rfind(": ");
  ASSERT_NE(colon, std::string::npos) << lines[0];
  EXPECT_GT(lines[0].size(), colon + 2) << "SDL's reason is missing: " << lines[0];
  EXPECT_NE(lines[0].find("window"), std::string::npos) << lines[0];
}

}  // namespace
