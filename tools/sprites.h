// The three sprite pictures: both paddles and the ball, on key magenta.
#pragma once

#include "image.h"

namespace assets {

inline constexpr int kPaddleWidthPixels = 60;
inline constexpr int kPaddleHeightPixels = 90;
inline constexpr int kBallSizePixels = 36;

IndexedImage drawGreenPaddle();
IndexedImage drawPurplePaddle();
RgbImage drawBallSprite();

}  // namespace assets
