#include "game/computer_paddle.h"

#include <cstdlib>

#include "game/paddle_rules.h"
#include "game/seconds_clock.h"

namespace {

// Aiming the paddle's top this far above the ball's top centres the ball on it.
constexpr int kAimAboveBallPixels = 33;
// The random shift of the aim: 0..44 pixels.
constexpr int kAimShiftSpanPixels = 45;
// The paddle rests while its top is within this band around the target. The
// band is wider than one step, so a paddle that reaches it stops there instead
// of swinging past.
constexpr int kDeadBandAbovePixels = 20;
constexpr int kDeadBandBelowPixels = 10;

}  // namespace

int aimTarget(int ballY, int firstDraw, int secondDraw) {
  const int shift = secondDraw % kAimShiftSpanPixels;
  if (firstDraw % 2 == 0) return ballY - shift - kAimAboveBallPixels;
  return ballY - kAimAboveBallPixels + shift;
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

void aimComputerPaddle(int* targetY, int ballY) {
  // Reseeding from the current second before both draws keeps the shift still
  // for a whole second, whatever else drew from the generator meanwhile, so the
  // paddle settles instead of jittering every frame.
  std::srand(static_cast<unsigned>(currentSeconds()));
  const int firstDraw = std::rand();
  const int secondDraw = std::rand();
  *targetY = aimTarget(ballY, firstDraw, secondDraw);
}

void updateComputerPaddle(ComputerPaddle& paddle, SDL_Renderer* renderer,
                          SDL_Texture* courtTexture) {
  paddle.srcRect = kPaddleSource;
  // Erase: put the court back under the old place; before the first step
  // there is none.
  if (!paddle.firstDraw) SDL_RenderCopy(renderer, courtTexture, &paddle.dstRect, &paddle.dstRect);

  // The paddle's own frame period sets its speed, not the game's.
  const double stepPixels = paddle.frameMillis * kComputerPaddleSpeedPixelsPerMilli;
  paddle.posY = nextPaddlePosY(paddle.dstRect.y, paddle.targetY, stepPixels);
  paddle.dstRect = SDL_Rect{kComputerPaddleXPixels, placedPaddleY(paddle.posY), kPaddleWidthPixels,
                            kPaddleHeightPixels};

  SDL_RenderCopy(renderer, paddle.texture, &paddle.srcRect, &paddle.dstRect);
  paddle.firstDraw = false;
}
