// The computer's aim: the target from two random draws, and the draws from a
// generator seeded with the current second. Linked with the rules alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <set>

#include "game/paddle_rules.h"
#include "tests/unit/support/fixed_second.h"

namespace {

constexpr int kBallRestY = 182;

TEST(ComputerAim, TargetFromTheTwoDraws) {
  struct Case {
    int ballY;
    int firstDraw;
    int secondDraw;
    int target;
  };
  const Case cases[] = {
      {182, 2, 0, 149},        // no shift: 33 above the ball
      {182, 7, 0, 149},        // odd, no shift: the same
      {182, 1, 44, 193},       // odd: shifted down, the lowest
      {182, 0, 44, 105},       // even: shifted up, the highest
      {182, 4, 45, 149},       // the shift is taken mod 45
      {182, 9, 89, 193},       // 89 mod 45 = 44
      {0, RAND_MAX, 10, -23},  // the target may leave the court
      {364, 6, 1000, 321},     // 1000 mod 45 = 10
  };
  for (const Case& c : cases) {
    EXPECT_EQ(aimTarget(c.ballY, c.firstDraw, c.secondDraw), c.target)
        << "ball " << c.ballY << " draws " << c.firstDraw << ", " << c.secondDraw;
  }
}

TEST(ComputerAim, SeededFromTheCurrentSecond) {
  FixedSecond clock(1'700'000'000);
  std::set<int> targets;
  for (std::time_t second = 1'700'000'000; second < 1'700'000'040; ++second) {
    clock.set(second);
    std::srand(static_cast<unsigned>(second));
    const int firstDraw = std::rand();
    const int secondDraw = std::rand();
    int target = 0;
    aimComputerPaddle(&target, kBallRestY);
    EXPECT_EQ(target, aimTarget(kBallRestY, firstDraw, secondDraw)) << "second " << second;
    targets.insert(target);
  }
  // The offset follows the clock: forty seconds do not all give one target.
  EXPECT_GT(targets.size(), 1u);
}

}  // namespace
