// The game's one lettering style: wobbly pen strokes of lively width,
// fitted so that the ink fills an exact pixel box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "raster.h"

namespace assets {

struct PenStyle {
  double radiusPixels = 4;    // half the typical stroke width
  double wobblePixels = 0.8;  // how far the hand strays from the ideal path
  std::uint64_t seed = 1;     // each word gets its own hand
};

// Where the text's ideal paths (before the pen's width) land, in pixels.
struct Placement {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// Draws `text` with its paths stretched over `placement` into a mask that
// covers `area`.
Mask drawText(const std::string& text, const Placement& placement, const PenStyle& pen,
              const Box& area);

// Finds the placement whose ink (pixels covered at least `inkThreshold`)
// spans exactly `target`, or nothing if the hand cannot be made to fit.
std::optional<Placement> fitText(const std::string& text, const Box& target, const PenStyle& pen,
                                 float inkThreshold);

// The box a fitted text's mask must cover so that no ink is cut off.
Box marginAround(const Box& target, const PenStyle& pen);

}  // namespace assets
