#include "sprites.h"

#include "creatures.h"
#include "quantize.h"

namespace assets {
namespace {

IndexedImage drawPaddle(const CreatureLook& look) {
  PaintCanvas canvas(kPaddleWidthPixels, kPaddleHeightPixels);
  paintCreature(canvas, look, {0, 0, kPaddleWidthPixels, kPaddleHeightPixels});
  return toIndexedSprite(canvas);
}

}  // namespace

IndexedImage drawGreenPaddle() {
  return drawPaddle(greenCreature());
}

IndexedImage drawPurplePaddle() {
  return drawPaddle(purpleCreature());
}

RgbImage drawBallSprite() {
  PaintCanvas canvas(kBallSizePixels, kBallSizePixels);
  paintBall(canvas, {0, 0, kBallSizePixels, kBallSizePixels});
  return toRgbSprite(canvas);
}

}  // namespace assets
