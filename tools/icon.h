// The game's icon for desktop menus: the player's green creature, as it
// stands on the court, on a transparent square.
#pragma once

#include "image.h"

namespace assets {

RgbaImage drawIcon(int sizePixels);

}  // namespace assets
