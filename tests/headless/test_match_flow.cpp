// The whole program through pause, the end of a match, play again and quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "headless_run.h"
#include "present/pictures.h"

namespace {

// Channels now playing `chunk`: how many times it has been started and not finished.
int channelsPlaying(Mix_Chunk* chunk) {
  int count = 0;
  for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
    if (Mix_Playing(channel) && Mix_GetChunk(channel) == chunk) ++count;
  }
  return count;
}

void clickAt(Session& s, int x, int y) {
  moveMouse(s, x, y);
  pushClick();
}

}  // namespace

TEST(Pause, AnyButtonPausesAndResumesAndNothingMovesMeanwhile) {
  Script script;
  int paddleYWhenPaused = -1;
  script.beforeFrame = [&](int frame, Session& s) {
    if (frame == 5) pushClick(SDL_BUTTON_RIGHT);
    if (frame == 6) {
      EXPECT_TRUE(s.game.paused);
      EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE) << "the mouse is free while paused";
      paddleYWhenPaused = s.computer.dstRect.y;
      moveMouse(s, 200, 200);  // dropped while paused
    }
    if (frame == 10) {
      EXPECT_EQ(s.computer.dstRect.y, paddleYWhenPaused) << "the computer waits too";
      EXPECT_TRUE(s.player.firstDraw) << "motion is dropped while paused";
      pushClick(SDL_BUTTON_MIDDLE);
    }
    if (frame == 11) {
      EXPECT_FALSE(s.game.paused);
      EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
      pushEvent(SDL_QUIT);
    }
  };
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, 12);
  // Paused frames do not wait out a frame period of their own: only played frames
  // do. Each paused frame waits for the next event instead.
  EXPECT_EQ(run.frameWaits.size(), 12u - 5u);
  EXPECT_EQ(run.eventWaits, 5);
}

TEST(Motion, MovesThePaddleToTheClampedMousePosition) {
  struct Case {
    int mouseX, mouseY;
    SDL_Rect paddle;
  };
  const Case cases[] = {{150, 200, {120, 155, 60, 90}},
                        {599, 399, {240, 310, 60, 90}},
                        {0, 0, {0, 0, 60, 90}},
                        {450, 20, {240, 0, 60, 90}}};
  Script script;
  script.beforeFrame = [&](int frame, Session& s) {
    if (frame > 0) {
      const Case& c = cases[frame - 1];
      EXPECT_EQ(s.player.dstRect.x, c.paddle.x) << "mouse at " << c.mouseX << ", " << c.mouseY;
      EXPECT_EQ(s.player.dstRect.y, c.paddle.y) << "mouse at " << c.mouseX << ", " << c.mouseY;
      EXPECT_EQ(s.player.dstRect.w, 60);
      EXPECT_FALSE(s.player.firstDraw);
      SDL_Point mouse{};  // SDL's own position follows the paddle: no lag back from a limit
      SDL_GetMouseState(&mouse.x, &mouse.y);
      EXPECT_EQ(std::pair(mouse.x, mouse.y), std::pair(c.paddle.x + 30, c.paddle.y + 45));
    }
    if (frame == 4) {
      pushEvent(SDL_QUIT);
      return;
    }
    moveMouse(s, cases[frame].mouseX, cases[frame].mouseY);
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
}

TEST(Pause, AClickDuringTheIntroWaitPausesTheFirstFrame) {
  Script script;
  script.onTitle = [](Session&) {
    pushClick();
    pushClick();  // still queued when the wait is over
  };
  bool pausedAtOnce = false;
  script.afterFrame = [&](int frame, Session& s) {
    if (frame == 0) {
      pausedAtOnce = s.game.paused;
      pushEvent(SDL_QUIT);
    }
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  EXPECT_TRUE(pausedAtOnce);
}

TEST(EndOfMatch, ShowsTheDisplayPausesAndStartsTheOutroOnlyOnce) {
  Script script;
  script.onCourt = [](Session& s) { s.game.computerScore = 10; };
  script.afterFrame = [&](int frame, Session& s) {
    EXPECT_TRUE(s.game.paused);
    EXPECT_TRUE(s.game.outroPlayed);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
    EXPECT_EQ(s.scoreboard.playerDstRect.x, 300) << "the buttons were drawn last";
    if (frame == 30) {
      EXPECT_EQ(channelsPlaying(s.bank.outro), 1);
      clickAt(s, 300, 350);  // ENDE
    }
  };
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, 32) << "the quitting frame runs, then the loop ends";
  EXPECT_TRUE(run.frameWaits.empty()) << "no frame of play ran";
  EXPECT_EQ(run.eventWaits, 31) << "every paused frame but the quitting one awaits an event";
}

TEST(EndOfMatch, ClicksOutsideTheButtonsDoNothing) {
  Script script;
  script.onCourt = [](Session& s) { s.game.playerScore = 10; };
  script.beforeFrame = [](int frame, Session& s) {
    if (frame == 1) clickAt(s, 4, 350);
    if (frame == 2) clickAt(s, 300, 309);
    if (frame == 3) clickAt(s, 200, 100);
    if (frame == 4) {
      EXPECT_EQ(s.game.playerScore, 10);
      EXPECT_TRUE(s.game.running);
      EXPECT_TRUE(s.game.paused) << "a click at the end of a match never toggles the pause";
      pushEvent(SDL_QUIT);
    }
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
}

TEST(PlayAgain, ResetsTheMatchAndReadsTheSheetOnceEachTime) {
  constexpr int kPlayAgains = 25;
  const int sheetsBefore = picturesLoaded(kSheetPicture);
  int playAgains = 0;
  Script script;
  script.onCourt = [](Session& s) { s.game.playerScore = 10; };
  script.beforeFrame = [&](int frame, Session& s) {
    if (frame % 2 == 0) return;  // let the end-of-match display run first
    if (playAgains == kPlayAgains) {
      pushEvent(SDL_QUIT);
      return;
    }
    clickAt(s, 5, 399);  // WEITER
    ++playAgains;
  };
  script.afterFrame = [&](int frame, Session& s) {
    if (s.game.quitRequested) return;
    if (frame % 2 == 0) {
      ASSERT_TRUE(s.game.paused);
      return;
    }
    EXPECT_EQ(s.game.playerScore, 0);
    EXPECT_EQ(s.game.computerScore, 0);
    EXPECT_FALSE(s.game.paused);
    EXPECT_FALSE(s.game.outroPlayed);
    EXPECT_TRUE(s.game.running);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
    EXPECT_EQ(channelsPlaying(s.bank.intro) >= 1, true) << "the intro starts the new match";
    s.game.playerScore = 10;  // and the next match is over at once
  };
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(playAgains, kPlayAgains);
  EXPECT_EQ(picturesLoaded(kSheetPicture) - sheetsBefore, 1 + kPlayAgains)
      << "once at start-up and once per play again";
}

TEST(Quit, EndsTheGameFromPauseAndFromTheEndOfAMatch) {
  for (bool matchOver : {false, true}) {
    SCOPED_TRACE(matchOver ? "end of match" : "paused");
    Script script;
    script.beforeFrame = [&](int frame, Session& s) {
      if (frame == 2) {
        if (matchOver) {
          s.game.playerScore = 10;
        } else {
          pushClick();
        }
      }
      if (frame == 4) pushEvent(SDL_QUIT);
    };
    RunResult run = runHeadless(script);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.frames, 5);
  }
}

TEST(Quit, StaysInForceWhenPlayAgainIsClickedLaterInTheSameFrame) {
  Script script;
  script.onCourt = [](Session& s) { s.game.computerScore = 10; };
  Game after;
  script.beforeFrame = [](int frame, Session& s) {
    if (frame == 1) {
      pushEvent(SDL_QUIT);
      clickAt(s, 100, 360);
    }
  };
  script.afterFrame = [&](int, Session& s) { after = s.game; };
  RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, 2);
  EXPECT_EQ(after.computerScore, 0) << "the play again still happened";
  EXPECT_TRUE(after.quitRequested);
}

// Nothing of a new match may be shown when its sheet cannot be read: the
// end-of-match display stays, unchanged, until the game stops. Further WEITER
// clicks queued in the same frame try nothing more: the message comes once.
TEST(PlayAgain, AnUnreadableSheetStopsTheGameBeforeANewMatchBegins) {
  for (int clicks : {1, 3}) {
    SCOPED_TRACE(testing::Message() << clicks << " WEITER clicks in one frame");
    const std::string folder = copyOfGameFolder();
    ASSERT_FALSE(folder.empty());
    const std::string sheet = folder + "/scoreboard..bmp";
    Script script;
    script.onCourt = [&](Session& s) {
      s.game.playerScore = 10;
      std::remove(sheet.c_str());  // gone after start-up read it
    };
    script.beforeFrame = [&](int frame, Session& s) {
      for (int click = 0; frame == 1 && click < clicks; ++click) clickAt(s, 100, 360);
    };
    std::vector<Uint32> endDisplay, afterClick;
    Game after;
    script.afterFrame = [&](int frame, Session& s) {
      (frame == 0 ? endDisplay : afterClick) = readPicture(s);
      after = s.game;
    };
    RunResult run = runHeadless(script, folder);
    std::filesystem::remove_all(folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.frames, 2);
    EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1) << run.stderrText;
    EXPECT_NE(run.stderrText.find("scoreboard..bmp"), std::string::npos) << run.stderrText;
    EXPECT_EQ(after.playerScore, 10) << "the finished match is not reset";
    EXPECT_TRUE(after.paused);
    EXPECT_TRUE(endDisplay == afterClick) << "the picture changed after the failing WEITER click";
  }
}
