// Turns a painted canvas into the pixel formats the game's BMP files use.
#pragma once

#include "image.h"
#include "paint.h"

namespace assets {

// An opaque picture in at most 256 colours.
IndexedImage toIndexedOpaque(const PaintCanvas& canvas);
// A sprite: pixels less than half covered become the key magenta, the rest
// keep their own colour, so no pixel mixes the creature with the magenta
// (a mixed pixel would survive the colour key as a pink fringe).
IndexedImage toIndexedSprite(const PaintCanvas& canvas);
RgbImage toRgbSprite(const PaintCanvas& canvas);
// Every pixel with its own coverage as alpha, for pictures outside the game
// that may blend their edges with whatever lies under them.
RgbaImage toRgbaPicture(const PaintCanvas& canvas);

}  // namespace assets
