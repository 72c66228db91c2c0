// The pure rules of input and timing: where the paddle may go, which end-of-match
// button a click presses, how long a frame waits.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/frame_loop.h"
#include "app/input.h"
#include "app/match_flow.h"
#include "app/problem_reports.h"

TEST(PaddleClamp, KeepsTheWholePaddleInTheLeftHalf) {
  struct Case {
    int mouse, clamped;
  };
  for (Case c : {Case{-5, 30}, Case{0, 30}, Case{30, 30}, Case{31, 31}, Case{270, 270},
                 Case{271, 270}, Case{599, 270}}) {
    EXPECT_EQ(clampPaddleCentreX(c.mouse), c.clamped) << "mouse x " << c.mouse;
  }
  for (Case c : {Case{-5, 45}, Case{0, 45}, Case{45, 45}, Case{46, 46}, Case{355, 355},
                 Case{356, 355}, Case{399, 355}}) {
    EXPECT_EQ(clampPaddleCentreY(c.mouse), c.clamped) << "mouse y " << c.mouse;
  }
}

TEST(EndButtons, AreasIncludeTheirBoundsAndQuitWinsTheSharedColumn) {
  struct Case {
    int x, y;
    EndButton expected;
  };
  for (Case c : {Case{300, 350, EndButton::Quit}, Case{600, 400, EndButton::Quit},
                 Case{300, 310, EndButton::Quit}, Case{450, 399, EndButton::Quit},
                 Case{5, 399, EndButton::PlayAgain}, Case{5, 310, EndButton::PlayAgain},
                 Case{299, 400, EndButton::PlayAgain}, Case{150, 389, EndButton::PlayAgain},
                 Case{4, 350, EndButton::None}, Case{300, 309, EndButton::None},
                 Case{601, 350, EndButton::None}, Case{150, 401, EndButton::None},
                 Case{150, 200, EndButton::None}}) {
    EXPECT_EQ(endButtonAt(c.x, c.y), c.expected) << "click at " << c.x << ", " << c.y;
  }
}

TEST(FrameWait, FillsTheFramePeriodAndNeverGoesNegative) {
  struct Case {
    double elapsed;
    Uint32 wait;
  };
  for (Case c : {Case{0, 30}, Case{2, 28}, Case{29, 1}, Case{30, 0}, Case{31, 0}, Case{5000, 0}}) {
    EXPECT_EQ(frameWaitMillis(30, c.elapsed), c.wait) << "elapsed " << c.elapsed;
  }
}

TEST(MatchState, EndsAtExactlyTenPointsForEitherSide) {
  Game game = Game();
  EXPECT_FALSE(isMatchOver(game));
  game.playerScore = 9;
  game.computerScore = 9;
  EXPECT_FALSE(isMatchOver(game));
  game.computerScore = 10;
  EXPECT_TRUE(isMatchOver(game));
  game.computerScore = 0;
  game.playerScore = 10;
  EXPECT_TRUE(isMatchOver(game));
}

TEST(FrameLoop, RunsOnlyWhileStartedRunningAndNoQuitRequested) {
  Game game = Game();
  EXPECT_FALSE(shouldRunFrame(game)) << "not before the start screen is left";
  game.started = true;
  EXPECT_TRUE(shouldRunFrame(game));
  game.quitRequested = true;
  EXPECT_FALSE(shouldRunFrame(game)) << "a quit on the start screen skips the loop";
  game.quitRequested = false;
  game.running = false;
  EXPECT_FALSE(shouldRunFrame(game));
}

TEST(MessageBox, LongMessagesBreakAtSpacesAndSlashesIntoShortLines) {
  const std::string message =
      "Couldn't load \"ball.bmp\" from /home/player/games/some/rather/deep/folder/vombapong/game: "
      "Couldn't open ball.bmp. The game cannot run without it.";
  const std::string wrapped = wrapForBox(message, 40);
  size_t lineLength = 0, longest = 0;
  std::string joined;
  for (char c : wrapped) {
    lineLength = c == '\n' ? 0 : lineLength + 1;
    longest = std::max(longest, lineLength);
    if (c != '\n') joined += c;
  }
  EXPECT_LE(longest, 41u) << wrapped;
  EXPECT_GT(std::count(wrapped.begin(), wrapped.end(), '\n'), 2) << wrapped;
  // Only line breaks change: a space at a break becomes the break, and after a
  // slash one is inserted.
  std::string rebuilt;
  for (size_t i = 0; i < wrapped.size(); ++i) {
    if (wrapped[i] != '\n') {
      rebuilt += wrapped[i];
    } else if (i == 0 || wrapped[i - 1] != '/') {
      rebuilt += ' ';
    }
  }
  EXPECT_EQ(rebuilt, message);
  EXPECT_EQ(wrapForBox("short", 40), "short");
}
