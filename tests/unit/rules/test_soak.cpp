// A long run of the rules: a scripted player against the computer for many
// matches, each frame's step of play checked against the ball's invariants.
// It runs the game's own step and match end, with no window at all.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <iostream>

#include "game/ball_rules.h"
#include "game/frame_period.h"
#include "game/match_rules.h"
#include "game/paddle_rules.h"
#include "game/play_step.h"
#include "game/seconds_clock.h"

namespace {

constexpr int kSoakFrames = 90'000;
constexpr int kPlayerPaddleMaxXPixels = 240;
constexpr int kPlayerPaddleMaxYPixels = 310;
// The scripted player aims its paddle's top this far above the ball, then
// misses by up to this much either way; its window is 120 pixels tall, so it
// misses now and then.
constexpr int kPlayerAimAbovePixels = 30;
constexpr int kPlayerErrorPixels = 70;
constexpr int kPlayerReturnXPixels = 40;

// A deterministic generator of its own, so that the game's reseeding of rand()
// does not steer the player.
class ScriptRandom {
 public:
  int below(int bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(bound));
  }

 private:
  std::uint64_t state_ = 20240601;
};

std::time_t soakSecond = 0;
std::time_t soakSeconds() {
  return soakSecond;
}

// The player's paddle for the next frame: it walks up to a resting ball and
// serves it, otherwise it waits at the left and follows the ball's height
// with an error that changes once per rally.
SDL_Rect scriptedPlayer(const Ball& ball, int aimError) {
  const SDL_Rect& b = ball.dstRect;
  int x = kPlayerReturnXPixels;
  int y = b.y - kPlayerAimAbovePixels + aimError;
  if (ball.speed == 0.0) {
    x = b.x - 40;
    y = b.y - 20;
  }
  return SDL_Rect{std::clamp(x, 0, kPlayerPaddleMaxXPixels),
                  std::clamp(y, 0, kPlayerPaddleMaxYPixels), 60, 90};
}

TEST(Soak, ManyMatchesKeepTheBallOnCourt) {
  Game game{};
  ComputerPaddle computer{};
  Ball ball{};
  ball.dstRect = kBallStart;

  soakSecond = 1'700'000'000;
  setSecondsSource(soakSeconds);
  ScriptRandom script;
  int aimError = 0;
  bool wasMovingRight = ball.movingRight;
  int matches = 0;
  int playerMatches = 0;
  int points = 0;
  int playerPoints = 0;
  int elapsedMillis = 0;

  for (int frame = 0; frame < kSoakFrames; ++frame) {
    // A new rally toward the player: a new error for the player's aim.
    if (wasMovingRight && !ball.movingRight) {
      aimError = script.below(2 * kPlayerErrorPixels + 1) - kPlayerErrorPixels;
    }
    wasMovingRight = ball.movingRight;
    const SDL_Rect player = scriptedPlayer(ball, aimError);

    const int playerScoreBefore = game.playerScore;
    const int scoresBefore = game.playerScore + game.computerScore;
    stepPlay(game, ball, computer, player);
    const int scored = game.playerScore + game.computerScore - scoresBefore;

    const SDL_Rect& b = ball.dstRect;
    SCOPED_TRACE(testing::Message() << "frame " << frame << " ball " << b.x << ", " << b.y);
    ASSERT_GE(scored, 0);
    ASSERT_LE(scored, 1);
    ASSERT_GE(b.y, 0);
    ASSERT_LE(b.y, kBallLowestYPixels);
    if (scored == 1) {
      ASSERT_EQ(b.x, kServeXPixels);
      ASSERT_EQ(b.y, kServeYPixels);
    } else {
      ASSERT_GE(b.x, 1);
      ASSERT_LE(b.x, kPlayerPointXPixels - 1);
    }
    ASSERT_GE(ball.speed, 0.0);
    ASSERT_GE(ball.slope, 0.0);
    ASSERT_LE(game.playerScore, kWinningScore);
    ASSERT_LE(game.computerScore, kWinningScore);
    points += scored;
    playerPoints += game.playerScore - playerScoreBefore;

    ASSERT_EQ(computer.dstRect.x, kComputerPaddleXPixels);
    ASSERT_GE(computer.dstRect.y, 0);
    ASSERT_LE(computer.dstRect.y, kComputerPaddleLowestYPixels);

    // The match ends; play again starts the next and leaves the ball alone.
    if (isMatchOver(game)) {
      ++matches;
      if (game.playerScore == kWinningScore) ++playerMatches;
      startMatch(game);
    }

    elapsedMillis += kFrameMillis;
    if (elapsedMillis >= 1000) {
      elapsedMillis -= 1000;
      ++soakSecond;
    }
  }
  setSecondsSource(nullptr);

  std::cout << "[ soak     ] " << kSoakFrames << " frames, " << matches << " matches ("
            << playerMatches << " won by the player), " << points << " points (" << playerPoints
            << " to the player)\n";
  RecordProperty("frames", kSoakFrames);
  RecordProperty("matches", matches);
  RecordProperty("points", points);
  // Both sides must win points, or the run proves little.
  EXPECT_GE(matches, 3);
  EXPECT_GT(playerMatches, 0);
  EXPECT_LT(playerMatches, matches);
}

}  // namespace
