// The shapes of the game's hand-drawn lettering, as pen paths.
#pragma once

#include <vector>

#include "raster.h"

namespace assets {

// A pen path in glyph units: y runs from 0 (top of a capital) to 1 (baseline).
struct GlyphStroke {
  std::vector<Vec2> points;
  bool smooth = false;  // a curve through the points rather than straight lines
};

struct Glyph {
  std::vector<GlyphStroke> strokes;
  double width = 0;  // from the leftmost to the rightmost point
};

// Digits, the capitals the game writes and the small letters of its name;
// anything else comes back as a blank of a space's width.
const Glyph& glyphFor(char c);

}  // namespace assets
