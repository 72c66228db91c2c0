// The court picture "pong.bmp": the field and its dashed centre line.
#pragma once

#include "image.h"

namespace assets {

inline constexpr int kCourtWidthPixels = 600;
inline constexpr int kCourtHeightPixels = 400;

IndexedImage drawCourt();

}  // namespace assets
