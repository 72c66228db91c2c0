// A close request at every stage of a run, from the start screen to the end of
// a match: each ends with 0 after a full shut-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_run.h"
#include "run_checks.h"
#include "scripted_player.h"

namespace {

// ----- a close request at every stage ---------------------------------------

enum class CloseStage {
  StartScreen,
  IntroWaitQueuedWithTheClick,
  IntroWaitDuringTheDelay,
  InPlay,
  WhilePaused,
  EndOfMatchWindowClosed,
  EndOfMatchEndeClicked,
};

struct CloseCase {
  const char* name;
  CloseStage stage;
  int frames;  // frames the game runs, the closing one included; -1 when play decides
};

void PrintTo(const CloseCase& c, std::ostream* out) {
  *out << c.name;
}

constexpr int kQuitFrame = 20;

// The script that closes the game at the case's stage; `closed` records that
// the close was really made there.
Script closingAt(CloseStage stage, bool& closed) {
  Script script;
  script.maxFrames = 1000;
  switch (stage) {
    case CloseStage::StartScreen:
      script.onTitle = [&closed](Session&) {
        pushEvent(SDL_QUIT);
        closed = true;
      };
      break;
    case CloseStage::IntroWaitQueuedWithTheClick:
      script.onTitle = [&closed](Session&) {
        pushClick();
        pushEvent(SDL_QUIT);  // still queued when the wait begins
        closed = true;
      };
      break;
    case CloseStage::IntroWaitDuringTheDelay:
      script.onWait = [&closed](Uint32, bool startingUp) {
        if (startingUp && !closed) {
          pushEvent(SDL_QUIT);
          closed = true;
        }
      };
      break;
    case CloseStage::InPlay:
      script.beforeFrame = [&closed](int frame, Session& s) {
        serveThenStandAside(s);
        if (frame == kQuitFrame) {
          closed = s.ball.speed > 0.0 && !s.game.paused;  // the ball is in flight
          pushEvent(SDL_QUIT);
        }
      };
      break;
    case CloseStage::WhilePaused:
      script.beforeFrame = [&closed](int frame, Session& s) {
        serveThenStandAside(s);
        if (frame == kQuitFrame / 2) pushClick();
        if (frame == kQuitFrame) {
          closed = s.game.paused;
          pushEvent(SDL_QUIT);
        }
      };
      break;
    case CloseStage::EndOfMatchWindowClosed:
    case CloseStage::EndOfMatchEndeClicked:
      // One real point short of the end: the scripted player loses it.
      script.onCourt = [](Session& s) { s.game.computerScore = 9; };
      script.beforeFrame = [stage, &closed](int, Session& s) {
        if (!s.game.paused) {
          serveThenStandAside(s);
        } else if (!closed) {
          closed = s.game.outroPlayed;  // the display has been shown
          if (stage == CloseStage::EndOfMatchWindowClosed) {
            pushEvent(SDL_QUIT);
          } else {
            moveMouse(s, 450, 350);
            pushClick();
          }
        }
      };
      break;
  }
  return script;
}

class CloseRequest : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseRequest, EndsWithZeroAfterAFullShutDown) {
  const CloseCase& c = GetParam();
  bool closed = false;
  Script script = closingAt(c.stage, closed);
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_TRUE(closed) << "the close was not made at its stage";
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.shutDown);
  EXPECT_FALSE(run.hitFrameLimit);
  EXPECT_TRUE(run.courtDrawn) << "start-up always runs to its end";
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  EXPECT_EQ(run.stderrText, "");
  if (c.frames >= 0) {
    EXPECT_EQ(run.frames, c.frames);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryStage, CloseRequest,
    testing::Values(CloseCase{"StartScreen", CloseStage::StartScreen, 0},
                    // The quit waits in the queue through the intro; the first frame
                    // handles it and still runs to its end.
                    CloseCase{"IntroWaitQueuedWithTheClick",
                              CloseStage::IntroWaitQueuedWithTheClick, 1},
                    CloseCase{"IntroWaitDuringTheDelay", CloseStage::IntroWaitDuringTheDelay, 1},
                    CloseCase{"InPlay", CloseStage::InPlay, kQuitFrame + 1},
                    CloseCase{"WhilePaused", CloseStage::WhilePaused, kQuitFrame + 1},
                    CloseCase{"EndOfMatchWindowClosed", CloseStage::EndOfMatchWindowClosed, -1},
                    CloseCase{"EndOfMatchEndeClicked", CloseStage::EndOfMatchEndeClicked, -1}),
    [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

}  // namespace
