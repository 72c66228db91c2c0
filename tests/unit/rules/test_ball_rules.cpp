// The ball's rules called directly: speeds, truncating moves and the slopes
// of hits. Linked with the rules alone.
#include <gtest/gtest.h>

#include "game/ball_rules.h"

namespace {

TEST(BallRules, SpeedAfterPlayerHit) {
  struct Case {
    double speed;
    bool firstHit;
    int playerScore;
    double expected;
  };
  const Case cases[] = {
      {0.0, true, 0, 0.2},        // the serve
      {0.7, true, 9, 0.2},        // the serve ignores speed and score
      {0.2, false, 0, 0.2025},    // 6.075 pixels a frame
      {0.2025, false, 0, 0.205},  // the third hit of a rally at 0 points
      {0.2, false, 3, 0.21},      // (3 + 1) * 0.0025
      {0.2, false, 9, 0.225},     // (9 + 1) * 0.0025
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "speed " << c.speed << " firstHit " << c.firstHit
                                    << " score " << c.playerScore);
    EXPECT_DOUBLE_EQ(speedAfterPlayerHit(c.speed, c.firstHit, c.playerScore), c.expected);
  }
}

TEST(BallRules, TruncatedMoveRoundsTowardZero) {
  struct Case {
    int coordinate;
    double delta;
    int expected;
  };
  const Case cases[] = {
      {100, 6.0, 106},    // a whole step: the same either way
      {100, -6.0, 94},    //
      {100, 6.075, 106},  // right: the whole part of the step
      {100, -6.075, 93},  // left: one pixel more
      {7, -6.075, 0},     // 0.925 reaches the left edge
      {8, -6.075, 1},     //
      {11, -9.125, 1},    // up: one pixel more
      {1, -9.125, -8},    // past the top wall: toward zero, not down
      {-8, 9.125, 1},     // back down from above the wall
      {360, 9.125, 369},  // down: the whole part
      {1, -0.5, 0},       // a sub-pixel step up still moves
      {50, 0.5, 50},      // a sub-pixel step down does not
  };
  for (const Case& c : cases) {
    EXPECT_EQ(truncatedMove(c.coordinate, c.delta), c.expected) << c.coordinate << " + " << c.delta;
  }
}

TEST(BallRules, HitSlopesKeepDirectionInTheFlag) {
  struct Case {
    bool computer;
    int paddleY;
    int ballY;
    double slope;
    bool movingUp;
  };
  const Case cases[] = {
      {false, 100, 132, 0.5 / 120, true},    // at most L.y + 32: up
      {false, 100, 133, 0.5 / 120, false},   // L.y + 33: down
      {false, 100, 70, 62.5 / 120, true},    // steepest upward
      {false, 100, 190, 57.5 / 120, false},  // steepest downward
      {true, 100, 75, 0.55, true},
      {true, 100, 190, 0.55, false},
      {true, 100, 132, 0.5 / 115 * 1.1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.computer ? "computer" : "player") << " paddle y "
                                    << c.paddleY << " ball y " << c.ballY);
    const double signedSlope =
        c.computer ? computerHitSlope(c.paddleY, c.ballY) : playerHitSlope(c.paddleY, c.ballY);
    const Heading heading = headingFromSlope(signedSlope);
    EXPECT_NEAR(heading.slope, c.slope, 1e-12);
    EXPECT_GT(heading.slope, 0.0);
    EXPECT_EQ(heading.movingUp, c.movingUp);
  }
}

TEST(BallRules, ComputerSlopeIsDividedBeforeItIsMultiplied) {
  // At ball y 80 against a paddle at 100 the two orders differ in the last
  // bit; the game's rallies depend on the divided-first value.
  const double dividedFirst = 52.5 / 115.0 * 1.1;
  ASSERT_NE(dividedFirst, 52.5 * 1.1 / 115.0);
  EXPECT_EQ(computerHitSlope(100, 80), dividedFirst);
}

}  // namespace
