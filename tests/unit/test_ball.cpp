// The ball step: stepBall and updateBall run frame by frame on a software
// renderer, with the picture read back where drawing matters. Its rules called
// directly are in rules/test_ball_rules.cpp.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <vector>

#include "game/ball_rules.h"
#include "game/frame_period.h"
#include "present/ball.h"
#include "tests/unit/support/cue_mixer.h"
#include "tests/unit/support/software_canvas.h"

namespace {

constexpr Colour kBallColour{250, 250, 240};
// The ball sprite's keyed border: its corners show the court beneath.
constexpr int kBallBorderPixels = 8;

// One ball, one game and a court on a software renderer. The paddles start
// all zero, as before the mouse first moves and the computer first steps.
struct BallBench {
  SoftwareCanvas canvas;
  Game game{};
  SoundBank bank{};
  Ball ball{};
  SDL_Rect player{};
  SDL_Rect computer{};
  SDL_Texture* court = nullptr;

  BallBench() {
    game.renderer = canvas.renderer();
    court = canvas.solidTexture(600, 400, kTestCourtColour);
    SDL_RenderCopy(game.renderer, court, nullptr, nullptr);
    ball.texture =
        canvas.keyedSprite(kBallSizePixels, kBallSizePixels, kBallColour, kBallBorderPixels);
    ball.dstRect = SDL_Rect{kServeXPixels, kServeYPixels, kBallSizePixels, kBallSizePixels};
  }

  // A ball already in play, drawn at least once.
  void fly(int x, int y, double speed, double slope, bool movingRight, bool movingUp) {
    ball.dstRect.x = x;
    ball.dstRect.y = y;
    ball.speed = speed;
    ball.slope = slope;
    ball.movingRight = movingRight;
    ball.movingUp = movingUp;
    ball.firstHit = false;
    ball.firstDraw = false;
  }

  void step() {
    updateBall(ball, stepBall(ball, game, player, computer), game.renderer, bank, court);
  }
};

// ---------------------------------------------------------------------------
// Paddle hits through the step

TEST(BallServe, PlayerWindowAroundTheRestingBall) {
  struct Case {
    int paddleX;
    int paddleY;
    bool hits;
  };
  const Case cases[] = {
      {35, 150, true},    // B.x = L.x + 65
      {34, 150, false},   //
      {99, 150, true},    //
      {100, 150, false},  // B.x = L.x
      {60, 92, true},     // B.y = L.y + 90
      {60, 91, false},    //
      {60, 212, true},    // B.y = L.y - 30
      {60, 213, false},   //
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "paddle at " << c.paddleX << ", " << c.paddleY);
    BallBench bench;
    bench.player = SDL_Rect{c.paddleX, c.paddleY, 60, 90};
    bench.step();
    if (c.hits) {
      EXPECT_EQ(bench.ball.speed, 0.2);
      EXPECT_FALSE(bench.ball.firstHit);
      EXPECT_EQ(bench.ball.dstRect.x, 106);  // the serve moves 6 pixels at once
    } else {
      EXPECT_EQ(bench.ball.speed, 0.0);
      EXPECT_TRUE(bench.ball.firstHit);
      EXPECT_EQ(bench.ball.dstRect.x, 100);
      EXPECT_EQ(bench.ball.dstRect.y, 182);
    }
  }
}

TEST(BallServe, ServeSpeedIsTheSameAtAnyScore) {
  for (int score : {0, 4, 9}) {
    BallBench bench;
    bench.game.playerScore = score;
    bench.ball.speed = 0.0;
    bench.player = SDL_Rect{50, 150, 60, 90};
    bench.step();
    EXPECT_EQ(bench.ball.speed, 0.2) << "score " << score;
    EXPECT_EQ(bench.ball.dstRect.x, 106) << "score " << score;
  }
}

TEST(BallPlayerHit, SlopeAndDirectionFromTheHitHeight) {
  struct Case {
    int ballY;
    bool hits;
    bool movingUp;
    double slope;
    int yAfter;
  };
  const Case cases[] = {
      {132, true, true, 0.5 / 120, 131},    // 132 - 0.125
      {133, true, false, 0.5 / 120, 133},   // 133 + 0.125
      {70, true, true, 62.5 / 120, 54},     // 70 - 15.625
      {190, true, false, 57.5 / 120, 204},  // 190 + 14.375
      {69, false, false, 0.1, 72},          // 31 above the paddle: missed
      {191, false, false, 0.1, 194},        // 91 below: missed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ball y " << c.ballY);
    BallBench bench;
    bench.player = SDL_Rect{50, 100, 60, 90};
    bench.fly(100, c.ballY, 0.2, 0.1, false, false);
    bench.step();
    EXPECT_EQ(bench.ball.movingRight, c.hits);
    EXPECT_EQ(bench.ball.movingUp, c.movingUp);
    EXPECT_NEAR(bench.ball.slope, c.slope, 1e-12);
    EXPECT_EQ(bench.ball.dstRect.y, c.yAfter);
    EXPECT_EQ(bench.ball.speed, c.hits ? 0.2025 : 0.2);
  }
}

TEST(BallComputerHit, WindowSlopeAndUnchangedSpeed) {
  struct Case {
    int ballX;
    int ballY;
    bool hits;
    bool movingUp;
    double slope;
  };
  const Case cases[] = {
      {495, 182, true, false, 49.5 / 115 * 1.1},  // B.x = R.x - 35
      {529, 182, true, false, 49.5 / 115 * 1.1},
      {530, 182, false, false, 0.1},  // B.x = R.x
      {494, 182, false, false, 0.1},
      {500, 75, true, true, 0.55},    // B.y = R.y - 25
      {500, 190, true, false, 0.55},  // B.y = R.y + 90
      {500, 74, false, false, 0.1},
      {500, 191, false, false, 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ball at " << c.ballX << ", " << c.ballY);
    BallBench bench;
    bench.computer = SDL_Rect{530, 100, 60, 90};
    bench.fly(c.ballX, c.ballY, 0.2025, 0.1, true, false);
    bench.step();
    EXPECT_EQ(bench.ball.movingRight, !c.hits);
    EXPECT_EQ(bench.ball.movingUp, c.movingUp);
    EXPECT_NEAR(bench.ball.slope, c.slope, 1e-12);
    EXPECT_EQ(bench.ball.speed, 0.2025);
    EXPECT_EQ(bench.ball.dstRect.x, c.hits ? c.ballX - 7 : c.ballX + 6);
  }
}

TEST(BallComputerHit, LeavesTheServeStateAlone) {
  BallBench bench;
  bench.computer = SDL_Rect{530, 100, 60, 90};
  bench.fly(500, 150, 0.2, 0.1, true, true);
  bench.ball.firstHit = true;
  bench.step();
  EXPECT_FALSE(bench.ball.movingRight);
  EXPECT_EQ(bench.ball.speed, 0.2);
  EXPECT_TRUE(bench.ball.firstHit);
}

TEST(BallComputerHit, NoneBeforeTheComputerPaddleIsPlaced) {
  // The computer's rectangle is all zero until its first step; its window
  // would lie left of the court, where the ball never is.
  const SDL_Point places[] = {{1, 182}, {1, 0}, {34, 364}, {300, 182}, {563, 100}};
  for (const SDL_Point& place : places) {
    BallBench bench;
    bench.player = SDL_Rect{240, 0, 60, 90};  // out of the way
    bench.fly(place.x, place.y, 0.0, 0.0, true, true);
    bench.step();
    EXPECT_TRUE(bench.ball.movingRight) << place.x << ", " << place.y;
  }
}

// ---------------------------------------------------------------------------
// Moves, points and walls

TEST(BallMove, WholeStepsRightOnePixelMoreLeft) {
  struct Case {
    double speed;
    bool movingRight;
    int xAfter;
  };
  const Case cases[] = {
      {0.2, true, 206},
      {0.2, false, 194},
      {0.2025, true, 206},
      {0.2025, false, 193},
  };
  for (const Case& c : cases) {
    BallBench bench;
    bench.fly(200, 182, c.speed, 0.0, c.movingRight, true);
    bench.step();
    EXPECT_EQ(bench.ball.dstRect.x, c.xAfter) << c.speed << (c.movingRight ? " right" : " left");
    EXPECT_EQ(bench.ball.dstRect.y, 182);
  }
}

TEST(BallScoring, PointsOnlyAtTheEdges) {
  struct Case {
    int x;
    bool movingRight;
    double speed;
    int playerPoints;
    int computerPoints;
    int xAfter;
  };
  const Case cases[] = {
      // A step of 6 pixels: reaches the point line, or stops one pixel short.
      {kPlayerPointXPixels - 6, true, 0.2, 1, 0, 100},
      {kPlayerPointXPixels - 7, true, 0.2, 0, 0, kPlayerPointXPixels - 1},
      {6, false, 0.2, 0, 1, 100},     // reaches 0
      {7, false, 0.2, 0, 0, 1},       // one pixel short
      {7, false, 0.2025, 0, 1, 100},  // 0.925 is truncated to 0
      {8, false, 0.2025, 0, 0, 1},    //
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "from " << c.x << (c.movingRight ? " right" : " left") << " at " << c.speed);
    BallBench bench;
    bench.game.playerScore = 3;
    bench.game.computerScore = 5;
    bench.fly(c.x, 300, c.speed, 0.1, c.movingRight, false);
    bench.step();
    EXPECT_EQ(bench.game.playerScore, 3 + c.playerPoints);
    EXPECT_EQ(bench.game.computerScore, 5 + c.computerPoints);
    EXPECT_EQ(bench.ball.dstRect.x, c.xAfter);
    const bool scored = c.playerPoints + c.computerPoints > 0;
    if (scored) {
      // At rest at the serve place, already in this frame; the flags stay.
      EXPECT_EQ(bench.ball.dstRect.y, kServeYPixels);
      EXPECT_EQ(bench.ball.speed, 0.0);
      EXPECT_EQ(bench.ball.slope, 0.0);
      EXPECT_TRUE(bench.ball.firstHit);
      EXPECT_EQ(bench.ball.movingRight, c.movingRight);
      EXPECT_FALSE(bench.ball.movingUp);
    } else {
      EXPECT_EQ(bench.ball.dstRect.y, 303);
    }
  }
}

TEST(BallScoring, RestsAtTheServePlaceUntilThePlayerHitsIt) {
  BallBench bench;
  bench.fly(558, 300, 0.2, 0.3, true, true);
  bench.step();
  ASSERT_EQ(bench.game.playerScore, 1);
  for (int frame = 0; frame < 200; ++frame) {
    bench.step();
    ASSERT_EQ(bench.ball.dstRect.x, kServeXPixels) << "frame " << frame;
    ASSERT_EQ(bench.ball.dstRect.y, kServeYPixels) << "frame " << frame;
  }
  EXPECT_EQ(bench.game.playerScore, 1);
  EXPECT_EQ(bench.game.computerScore, 0);
  EXPECT_TRUE(bench.ball.movingRight);
  EXPECT_TRUE(bench.ball.movingUp);

  bench.player = SDL_Rect{50, 150, 60, 90};
  bench.step();
  EXPECT_EQ(bench.ball.speed, 0.2);
  EXPECT_EQ(bench.ball.dstRect.x, 106);
}

TEST(BallWalls, TopTurnsInTheFrameBottomInTheNext) {
  struct Frame {
    int y;
    bool movingUp;
  };
  struct Case {
    const char* name;
    int startY;
    bool movingUp;
    double stepPixels;
    std::vector<Frame> frames;
  };
  const Case cases[] = {
      // Reaching -8 turns the ball and moves it down again at once.
      {"top", 11, true, 9.125, {{1, true}, {1, false}, {10, false}}},
      // A step past the lowest row is limited to it; the upward move starts
      // next frame, truncated to a whole pixel.
      {"bottom",
       kBallLowestYPixels - 4,
       false,
       9.125,
       {{kBallLowestYPixels, true}, {kBallLowestYPixels - 10, true}}},
      // Only a step under one pixel lets the ball show on the top wall; such a
      // step moving down is truncated away, so the ball stays there.
      {"sub-pixel top", 1, true, 0.5, {{0, false}, {0, false}, {0, false}}},
      {"sub-pixel up", 50, true, 0.5, {{49, true}, {48, true}}},
      {"sub-pixel down", 50, false, 0.5, {{50, false}, {50, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BallBench bench;
    bench.fly(300, c.startY, 0.0, c.stepPixels / kFrameMillis, true, c.movingUp);
    for (const Frame& expected : c.frames) {
      bench.step();
      EXPECT_EQ(bench.ball.dstRect.y, expected.y);
      EXPECT_EQ(bench.ball.movingUp, expected.movingUp);
    }
  }
}

// ---------------------------------------------------------------------------
// Cues

TEST(BallCues, MotionlessPaddleHitsTheServeThreeTimes) {
  CueMixer cues;
  ASSERT_TRUE(cues.open()) << "SDL's dummy audio driver did not open: " << Mix_GetError();
  BallBench bench;
  cues.fill(bench.bank);
  bench.player = SDL_Rect{50, 150, 60, 90};

  struct Frame {
    int xBefore;
    double speedAfter;
  };
  const Frame frames[] = {{100, 0.2}, {106, 0.2025}, {112, 0.205}, {118, 0.205}};
  for (const Frame& frame : frames) {
    EXPECT_EQ(bench.ball.dstRect.x, frame.xBefore);
    bench.step();
    EXPECT_DOUBLE_EQ(bench.ball.speed, frame.speedAfter) << "from x " << frame.xBefore;
    EXPECT_TRUE(bench.ball.movingRight);
  }
  EXPECT_EQ(cues.playingCount(CueGroup::Player), 3);
  EXPECT_EQ(cues.playingCount(CueGroup::Computer), 0);
}

TEST(BallCues, EachHitAndPointStartsItsSidesCue) {
  CueMixer cues;
  ASSERT_TRUE(cues.open()) << "SDL's dummy audio driver did not open: " << Mix_GetError();
  struct Case {
    const char* name;
    int x;
    bool movingRight;
    SDL_Rect computer;
    int playerCues;
    int computerCues;
  };
  const Case cases[] = {
      {"player's point", 558, true, {}, 1, 0},
      {"computer's point", 6, false, {}, 0, 1},
      {"computer hit", 500, true, {530, 150, 60, 90}, 0, 1},
      {"no event", 300, true, {}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BallBench bench;
    cues.fill(bench.bank);
    bench.computer = c.computer;
    bench.fly(c.x, 182, 0.2, 0.1, c.movingRight, true);
    const int playerBefore = cues.playingCount(CueGroup::Player);
    const int computerBefore = cues.playingCount(CueGroup::Computer);
    bench.step();
    EXPECT_EQ(cues.playingCount(CueGroup::Player) - playerBefore, c.playerCues);
    EXPECT_EQ(cues.playingCount(CueGroup::Computer) - computerBefore, c.computerCues);
  }
}

// ---------------------------------------------------------------------------
// Drawing

TEST(BallDrawing, DrawsAtTheNewPlaceAndPutsTheCourtBackAtTheOld) {
  BallBench bench;
  bench.fly(200, 150, 0.2, 0.0, true, true);
  // Last frame's picture of the ball, as a solid block the erase must remove.
  bench.canvas.fill(SDL_Rect{200, 150, 36, 36}, kTestMarkerColour);
  bench.step();
  ASSERT_EQ(bench.ball.dstRect.x, 206);
  EXPECT_EQ(bench.canvas.pixel(201, 160), kTestCourtColour);  // left behind
  EXPECT_EQ(bench.canvas.pixel(224, 168), kBallColour);       // the ball's middle
  EXPECT_EQ(bench.canvas.pixel(207, 151), kTestCourtColour);  // keyed corner, over the old place
  EXPECT_EQ(bench.canvas.pixel(240, 185), kTestCourtColour);  // keyed corner, fresh court
  EXPECT_EQ(bench.ball.srcRect.w, kBallSizePixels);
  EXPECT_EQ(bench.ball.srcRect.h, kBallSizePixels);
}

TEST(BallDrawing, FirstStepErasesNothing) {
  BallBench bench;
  bench.ball.dstRect = SDL_Rect{184, 182, 36, 36};  // the start-up place
  bench.canvas.fill(bench.ball.dstRect, kTestMarkerColour);
  bench.step();
  EXPECT_FALSE(bench.ball.firstDraw);
  EXPECT_EQ(bench.canvas.pixel(202, 200), kBallColour);
  EXPECT_EQ(bench.canvas.pixel(185, 183), kTestMarkerColour);  // keyed corner: not erased

  bench.step();
  EXPECT_EQ(bench.canvas.pixel(185, 183), kTestCourtColour);
  EXPECT_EQ(bench.canvas.pixel(202, 200), kBallColour);
}

TEST(BallDrawing, PointShowsTheBallAtTheServePlaceInTheSameFrame) {
  BallBench bench;
  bench.fly(558, 40, 0.2, 0.0, true, true);
  bench.canvas.fill(SDL_Rect{558, 40, 36, 36}, kTestMarkerColour);
  bench.step();
  EXPECT_EQ(bench.canvas.pixel(570, 50), kTestCourtColour);
  EXPECT_EQ(bench.canvas.pixel(118, 200), kBallColour);
}

}  // namespace
