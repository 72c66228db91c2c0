// The computer paddle's rules, as game/paddle_rules.h states them. Nothing
// here draws: present/computer_paddle.cpp shows the paddle's step.
#include "game/paddle_rules.h"

#include <cstdlib>

#include "game/seconds_clock.h"

int aimTarget(int ballY, int firstDraw, int secondDraw) {
  const int shift = secondDraw % kAimShiftSpanPixels;
  if (firstDraw % 2 == 0) return ballY - shift - kAimAboveBallPixels;
  return ballY - kAimAboveBallPixels + shift;
}

void aimComputerPaddle(int* targetY, int ballY) {
  // Reseeding from the current second before both draws keeps the shift still
  // for a whole second, whatever else drew from the generator meanwhile, so the
  // paddle settles instead of jittering every frame.
  std::srand(static_cast<unsigned>(currentSeconds()));
  const int firstDraw = std::rand();
  const int secondDraw = std::rand();
  *targetY = aimTarget(ballY, firstDraw, secondDraw);
}

double nextPaddlePosY(int y, int targetY, double stepPixels) {
  double posY = y;
  if (y > targetY) posY = y - stepPixels;
  if (y < targetY) posY = y + stepPixels;
  if (targetY - kDeadBandAbovePixels < y && y <= targetY + kDeadBandBelowPixels) posY = y;
  return posY;
}

int placedPaddleY(double posY) {
  const int y = static_cast<int>(posY);
  if (y < 0) return 0;
  if (y > kComputerPaddleLowestYPixels) return kComputerPaddleLowestYPixels;
  return y;
}
