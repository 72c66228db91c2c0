// The three sprite pictures: both paddles and the ball, on key magenta.
#pragma once

#include "image.h"

namespace assets {

IndexedImage drawGreenPaddle();
IndexedImage drawPurplePaddle();
RgbImage drawBallSprite();

}  // namespace assets
