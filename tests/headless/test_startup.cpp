// Start-up and shut-down of the whole program, and the files it cannot find.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>

#include "app/platform_parts.h"
#include "headless_run.h"
#include "present/window.h"
#include "refused_render_target.h"
#include "scripted_player.h"
#include "tests/support/scoped_env.h"

namespace fs = std::filesystem;

namespace {

constexpr Uint32 kCourtGreen = 0x20C040;  // (32, 192, 64)

void quitBeforeFirstFrame(int, Session&) {
  pushEvent(SDL_QUIT);
}

}  // namespace

TEST(StartUp, CloseOnTheStartScreenStillRunsStartUpToItsEnd) {
  Script script;
  script.onTitle = [](Session&) { pushEvent(SDL_QUIT); };
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.courtDrawn) << "start-up must load every picture and draw the court";
  EXPECT_GE(run.fakeMillisAtCourt, 4800) << "the intro wait is part of start-up";
  EXPECT_EQ(run.frames, 0) << "the frame loop is never entered";
  EXPECT_TRUE(run.shutDown);
}

TEST(StartUp, OnlyAMouseButtonLeavesTheStartScreen) {
  Script script;
  script.onTitle = [](Session& s) {
    pushEvent(SDL_KEYDOWN);
    pushEvent(SDL_MOUSEBUTTONUP);
    moveMouse(s, 10, 10);
    pushClick(SDL_BUTTON_MIDDLE);
  };
  bool startedOnClick = false;
  script.onCourt = [&](Session& s) { startedOnClick = s.game.started && !s.game.quitRequested; };
  script.beforeFrame = quitBeforeFirstFrame;
  bool clickLeftQueued = true;
  script.afterFrame = [&](int, Session& s) { clickLeftQueued = s.game.paused; };
  RunResult run = runHeadless(script);
  EXPECT_TRUE(startedOnClick);
  // Had an event before it ended the start screen, the click would still be
  // queued, and the first frame would take it as a pause.
  EXPECT_FALSE(clickLeftQueued) << "the click, not an event before it, left the start screen";
  EXPECT_EQ(run.exitCode, 0);
}

TEST(StartUp, RecordsHaveTheirDefaultsWhenPlayBegins) {
  Script script;
  script.onCourt = [](Session& s) {
    EXPECT_STREQ(SDL_GetWindowTitle(s.game.window), "VombaPong DO NOT DISTRIBUTE");
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(s.game.window, &x, &y);
    SDL_GetWindowSize(s.game.window, &width, &height);
    EXPECT_EQ((std::array{x, y, width, height}), (std::array{300, 100, 600, 400}))
        << "the window's place and size";
    EXPECT_TRUE(s.game.running);
    EXPECT_FALSE(s.game.paused);
    EXPECT_EQ(s.game.frameMillis, 30);
    EXPECT_EQ(s.computer.frameMillis, 30);
    EXPECT_EQ(s.ball.dstRect.x, 184);
    EXPECT_EQ(s.ball.dstRect.y, 182);
    EXPECT_EQ(s.ball.speed, 0.0);
    EXPECT_TRUE(s.ball.firstHit);
    EXPECT_TRUE(s.player.firstDraw);
    EXPECT_EQ(s.player.dstRect.w, 0) << "the player's paddle is invisible until the mouse moves";
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
    for (SDL_Surface* surface : {s.game.startSurface, s.courtSurface, s.player.surface,
                                 s.computer.surface, s.ball.surface, s.scoreboard.surface}) {
      EXPECT_NE(surface, nullptr);
    }
    EXPECT_NE(s.bank.intro, nullptr);
    EXPECT_NE(s.bank.computerCues[13], nullptr);
  };
  script.beforeFrame = quitBeforeFirstFrame;
  EXPECT_EQ(runHeadless(script).exitCode, 0);
}

TEST(StartUp, AQuitInTheFirstFrameStillLetsItRunToItsEnd) {
  Script script;
  script.beforeFrame = quitBeforeFirstFrame;
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, 1);
  ASSERT_EQ(run.frameWaits.size(), 1u) << "the quitting frame still waits";
  EXPECT_EQ(run.frameWaits[0], 30u);
}

// A sprite the game draws every frame cannot be missing: it says which file,
// where it looked, shuts down cleanly and exits with 1.
class MissingSprite : public testing::TestWithParam<const char*> {};

TEST_P(MissingSprite, StopsWithAMessageNamingTheFileAndFolder) {
  const std::string folder = copyOfGameFolder();
  ASSERT_FALSE(folder.empty());
  fs::remove(fs::path(folder) / GetParam());
  bool frameRan = false;
  Script script;
  script.beforeFrame = [&](int, Session&) { frameRan = true; };
  RunResult run = runHeadless(script, folder);
  fs::remove_all(folder);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(frameRan);
  EXPECT_TRUE(run.shutDown);
  EXPECT_NE(run.stderrText.find(GetParam()), std::string::npos) << run.stderrText;
  EXPECT_NE(run.stderrText.find(folder), std::string::npos) << run.stderrText;
}

INSTANTIATE_TEST_SUITE_P(Sprites, MissingSprite,
                         testing::Values("vombaGruen.bmp", "vombaLILA.bmp", "ball.bmp",
                                         "scoreboard..bmp"));

// Files the game can play on without: one line each, then the game goes on.
class MissingOptionalFile : public testing::TestWithParam<const char*> {};

TEST_P(MissingOptionalFile, IsReportedInOneLineAndPlayGoesOn) {
  const std::string folder = copyOfGameFolder();
  ASSERT_FALSE(folder.empty());
  fs::remove(fs::path(folder) / GetParam());
  Script script;
  script.beforeFrame = [](int frame, Session&) {
    if (frame == 3) pushEvent(SDL_QUIT);
  };
  RunResult run = runHeadless(script, folder);
  fs::remove_all(folder);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, 4);
  EXPECT_NE(run.stderrText.find(GetParam()), std::string::npos) << run.stderrText;
  EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1) << run.stderrText;
}

INSTANTIATE_TEST_SUITE_P(Files, MissingOptionalFile,
                         testing::Values("Start.bmp", "pong.bmp", "intro.wav", "outro.wav",
                                         "7g.wav", "16L.wav"));

// Without the court the sprites still erase themselves, with black: after a
// whole point of play, everything outside the sprites and scores is black (no
// title picture left, no trail of the ball or the paddles).
TEST(MissingCourt, PlayGoesOnOnACleanBlackCourt) {
  const std::string folder = copyOfGameFolder();
  ASSERT_FALSE(folder.empty());
  fs::remove(fs::path(folder) / "pong.bmp");
  int strayPixels = -1;
  int ballPixels = 0;
  Script script;
  script.beforeFrame = quitAfterAPoint;
  script.afterFrame = [&](int, Session& s) {
    if (strayPixels >= 0 || pointsPlayed(s) == 0) return;
    const std::vector<Uint32> picture = readPicture(s);
    const SDL_Rect drawn[] = {s.ball.dstRect, s.player.dstRect, s.computer.dstRect,
                              s.scoreboard.playerDstRect, s.scoreboard.computerDstRect};
    strayPixels = 0;
    for (int y = 0; y < kWindowHeightPixels; ++y) {
      for (int x = 0; x < kWindowWidthPixels; ++x) {
        const Uint32 pixel = picture[static_cast<size_t>(y) * kWindowWidthPixels + x];
        const SDL_Point at{x, y};
        if (SDL_PointInRect(&at, &s.ball.dstRect) && pixel != kBlackPixel) ++ballPixels;
        const bool underSprite =
            std::any_of(std::begin(drawn), std::end(drawn),
                        [&](const SDL_Rect& r) { return SDL_PointInRect(&at, &r); });
        if (!underSprite && pixel != kBlackPixel) ++strayPixels;
      }
    }
  };
  RunResult run = runHeadless(script, folder);
  fs::remove_all(folder);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.hitFrameLimit) << "no point was played";
  EXPECT_EQ(strayPixels, 0) << "pixels that are neither black court nor a sprite";
  EXPECT_GT(ballPixels, 0) << "the ball itself is drawn";
}

// No canvas, whether the renderer cannot make the texture or makes it and then
// will not draw into it: the game draws straight to the window, says once
// (with the renderer's reason) that its picture may not survive, plays and
// ends with 0.
TEST(NoCanvas, TheGameDrawsStraightToTheWindowAndPlays) {
  for (bool textureMade : {false, true}) {
    SCOPED_TRACE(textureMade ? "the renderer refuses the canvas as its target"
                             : "the renderer makes no canvas");
    if (textureMade && !canRefuseRenderTargets()) {
      std::cout << "[   SKIP   ] no stand-in for SDL_SetRenderTarget on this system\n";
      continue;
    }
    std::optional<RefusedRenderTargets> refused;
    if (textureMade) refused.emplace();
    Script script;
    script.refuseCanvas = !textureMade;
    int courtPixels = 0;
    script.beforeFrame = quitAfterAPoint;
    script.afterFrame = [&](int, Session& s) {
      EXPECT_EQ(SDL_GetRenderTarget(s.game.renderer), nullptr);
      EXPECT_EQ(s.canvas, nullptr);
      const std::vector<Uint32> picture = readPicture(s);
      courtPixels = static_cast<int>(std::count(picture.begin(), picture.end(), kCourtGreen));
    };
    RunResult run = runHeadless(script);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.hitFrameLimit) << "no point was played";
    EXPECT_GT(courtPixels, kWindowWidthPixels * kWindowHeightPixels / 2) << "the court is drawn";
    EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1) << run.stderrText;
    for (const char* words : {"canvas", "may not survive", "refused by the test"}) {
      EXPECT_NE(run.stderrText.find(words), std::string::npos) << run.stderrText;
    }
  }
}

TEST(StartUp, APictureOfTheWrongSizeCountsAsUnreadable) {
  const std::string folder = copyOfGameFolder();
  ASSERT_FALSE(folder.empty());
  fs::copy_file(fs::path(folder) / "vombaGruen.bmp", fs::path(folder) / "ball.bmp",
                fs::copy_options::overwrite_existing);
  RunResult run = runHeadless(Script{}, folder);
  fs::remove_all(folder);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.stderrText.find("60 x 90"), std::string::npos) << run.stderrText;
}

TEST(StartUp, WithoutAnAudioDeviceTheGamePlaysSilently) {
  ScopedEnv noSound("SDL_AUDIODRIVER", "no-such-driver");
  Script script;
  bool silent = false;
  script.onCourt = [&](Session& s) { silent = s.bank.intro == nullptr; };
  script.beforeFrame = [](int frame, Session&) {
    if (frame == 2) pushEvent(SDL_QUIT);
  };
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(silent);
  EXPECT_EQ(run.frames, 3);
  EXPECT_NE(run.stderrText.find("no sound"), std::string::npos) << run.stderrText;
}

TEST(StartUp, WithoutADisplayTheGameSaysWhyAndExitsWithOne) {
  ScopedEnv noDisplay("SDL_VIDEODRIVER", "no-such-driver");
  RunResult run = runHeadless(Script{});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.courtDrawn);
  EXPECT_NE(run.stderrText.find("window"), std::string::npos) << run.stderrText;
}

TEST(StartUp, WithNoDisplayAtAllTheGameDoesNotRunInvisibly) {
  ScopedEnv noDriverChosen("SDL_VIDEODRIVER", nullptr);
  ScopedEnv noX("DISPLAY", nullptr);
  ScopedEnv noWayland("WAYLAND_DISPLAY", nullptr);
  RunResult run = runHeadless(Script{});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.courtDrawn);
  EXPECT_NE(run.stderrText.find("no display"), std::string::npos) << run.stderrText;
}

// The wake-up guard must be in place before SDL opens a display (linux/x11_wakeups.h);
// test_x11_wakeups.py shows under a real X server what it guards against.
TEST(StartUp, IgnoresSdlsLateWakeUpsBeforeOpeningTheWindow) {
  Script script;
  bool guardedAtTitle = false;
  script.onTitle = [&](Session&) {
    guardedAtTitle = lateWakeUpsIgnored();
    pushEvent(SDL_QUIT);
  };
  runHeadless(script);
  EXPECT_TRUE(guardedAtTitle);
}
