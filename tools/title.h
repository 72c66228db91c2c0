// The title picture "Start.bmp", shown until the player clicks.
#pragma once

#include "image.h"

namespace assets {

// Throws std::runtime_error if its lettering cannot be fitted.
IndexedImage drawTitle();

}  // namespace assets
