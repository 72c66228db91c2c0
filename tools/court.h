// The court picture "pong.bmp": the field and its dashed centre line.
#pragma once

#include "image.h"

namespace assets {

IndexedImage drawCourt();

}  // namespace assets
