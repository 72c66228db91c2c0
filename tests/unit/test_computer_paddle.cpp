// The computer paddle: the aim beside the sound cues, and updateComputerPaddle
// run on a software renderer with its pixels read back. The aim alone is
// checked in rules/test_paddle_rules.cpp.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "game/paddle_rules.h"
#include "present/computer_paddle.h"
#include "present/sounds.h"
#include "tests/unit/support/fixed_second.h"
#include "tests/unit/support/software_canvas.h"

namespace {

constexpr Colour kPaddleColour{150, 60, 200};
constexpr int kBallRestY = 182;

struct PaddleBench {
  SoftwareCanvas canvas;
  ComputerPaddle paddle{};
  SDL_Texture* court = nullptr;

  PaddleBench() {
    court = canvas.solidTexture(600, 400, kTestCourtColour);
    SDL_RenderCopy(canvas.renderer(), court, nullptr, nullptr);
    paddle.texture = canvas.solidTexture(60, 90, kPaddleColour);
  }

  // A paddle already drawn at least once, at height y.
  void placeAt(int y) {
    paddle.dstRect = SDL_Rect{kComputerPaddleXPixels, y, 60, 90};
    paddle.firstDraw = false;
  }

  void step() {
    updateComputerPaddle(paddle, stepComputerPaddle(paddle), canvas.renderer(), court);
  }
};

bool sameRect(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// ---------------------------------------------------------------------------
// Aim

TEST(ComputerAim, SameTargetForEveryFrameOfOneSecond) {
  FixedSecond clock(1'234'567);
  int first = 0;
  aimComputerPaddle(&first, kBallRestY);
  SoundBank bank{};  // empty slots: the cue draws from the generator but stays silent
  for (int frame = 0; frame < 30; ++frame) {
    playCue(bank, CueGroup::Player);
    for (int draw = 0; draw < frame; ++draw) std::rand();
    int target = 0;
    aimComputerPaddle(&target, kBallRestY);
    ASSERT_EQ(target, first) << "frame " << frame;
  }
}

// ---------------------------------------------------------------------------
// Step

TEST(ComputerStep, StepsOrRestsInTheDeadBandAndStaysOnCourt) {
  struct Case {
    int target;
    int yBefore;
    double posY;
    int yAfter;
  };
  const Case cases[] = {
      {100, 111, 102, 102},  // more than 10 below the target: rises
      {100, 110, 110, 110},  // dead band, lower edge
      {100, 81, 81, 81},     // dead band, upper edge
      {100, 80, 89, 89},     // 20 above the target: sinks
      {100, 100, 100, 100},  // on the target
      {400, 305, 314, 310},  // limited to the bottom wall
      {400, 310, 319, 310},  //
      {-50, 4, -5, 0},       // limited to the top wall
      {-50, 0, -9, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "target " << c.target << " from y " << c.yBefore);
    PaddleBench bench;
    bench.placeAt(c.yBefore);
    bench.paddle.targetY = c.target;
    bench.step();
    EXPECT_EQ(bench.paddle.posY, c.posY);
    EXPECT_TRUE(sameRect(bench.paddle.dstRect, SDL_Rect{530, c.yAfter, 60, 90}));
    EXPECT_EQ(bench.paddle.dstRect.y, c.yAfter);
  }
}

TEST(ComputerStep, StepComesFromThePaddlesOwnFrameMillis) {
  struct Case {
    int frameMillis;
    int yAfter;
  };
  // From 150 toward a target of 100.
  const Case cases[] = {{30, 141}, {10, 147}, {20, 144}};
  for (const Case& c : cases) {
    PaddleBench bench;
    bench.placeAt(150);
    bench.paddle.targetY = 100;
    bench.paddle.frameMillis = c.frameMillis;
    bench.step();
    EXPECT_EQ(bench.paddle.dstRect.y, c.yAfter) << "frameMillis " << c.frameMillis;
  }
}

TEST(ComputerStep, FirstStepFromTheUnplacedPaddle) {
  // With the ball at rest at 182 every target lies in 105..193.
  for (int target = 105; target <= 193; ++target) {
    PaddleBench bench;
    bench.paddle.targetY = target;
    bench.step();
    ASSERT_TRUE(sameRect(bench.paddle.dstRect, SDL_Rect{530, 9, 60, 90})) << "target " << target;
    ASSERT_TRUE(sameRect(bench.paddle.srcRect, SDL_Rect{0, 0, 60, 90}));
    ASSERT_FALSE(bench.paddle.firstDraw);
  }
}

TEST(ComputerStep, SinksNinePixelsAFrameAndComesToRest) {
  FixedSecond clock(1'000);
  for (std::time_t second = 1'000; second < 1'020; ++second) {
    clock.set(second);
    PaddleBench bench;
    int previousY = 0;
    for (int frame = 0; frame < 60; ++frame) {
      aimComputerPaddle(&bench.paddle.targetY, kBallRestY);
      bench.step();
      const int moved = bench.paddle.dstRect.y - previousY;
      ASSERT_TRUE(moved == 9 || moved == 0) << "second " << second << " frame " << frame;
      previousY = bench.paddle.dstRect.y;
    }
    // At rest between 96 above and 21 below the ball.
    EXPECT_GE(previousY, kBallRestY - 96) << "second " << second;
    EXPECT_LE(previousY, kBallRestY + 21) << "second " << second;
    const int target = bench.paddle.targetY;
    EXPECT_TRUE(target - 20 < previousY && previousY <= target + 10) << "second " << second;
  }
}

// ---------------------------------------------------------------------------
// Drawing

TEST(ComputerDrawing, FirstStepDrawsAt530AndErasesNothing) {
  PaddleBench bench;
  // A paddle placed but never drawn keeps what lies under its old rectangle.
  bench.paddle.dstRect = SDL_Rect{530, 200, 60, 90};
  bench.canvas.fill(bench.paddle.dstRect, kTestMarkerColour);
  bench.paddle.targetY = 100;
  bench.step();
  ASSERT_EQ(bench.paddle.dstRect.y, 191);
  EXPECT_EQ(bench.canvas.pixel(560, 285), kTestMarkerColour);  // below the new place
  EXPECT_EQ(bench.canvas.pixel(560, 200), kPaddleColour);
  EXPECT_EQ(bench.canvas.pixel(530, 191), kPaddleColour);
  EXPECT_EQ(bench.canvas.pixel(529, 191), kTestCourtColour);
}

TEST(ComputerDrawing, LaterStepsPutTheCourtBackUnderTheOldPlace) {
  PaddleBench bench;
  bench.placeAt(200);
  bench.canvas.fill(bench.paddle.dstRect, kTestMarkerColour);
  bench.paddle.targetY = 100;
  bench.step();
  ASSERT_EQ(bench.paddle.dstRect.y, 191);
  EXPECT_EQ(bench.canvas.pixel(560, 285), kTestCourtColour);  // uncovered by the move
  EXPECT_EQ(bench.canvas.pixel(589, 280), kPaddleColour);     // the new place's last row
  EXPECT_EQ(bench.canvas.pixel(560, 281), kTestCourtColour);
}

}  // namespace
