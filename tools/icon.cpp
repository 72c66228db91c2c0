#include "icon.h"

#include "creatures.h"
#include "quantize.h"
#include "sprites.h"

namespace assets {
namespace {

// The creature keeps its sprite's proportions and fills the square's height
// but for a thin margin, which icon themes expect so that icons do not touch.
constexpr double kMarginOfSize = 0.04;

}  // namespace

RgbaImage drawIcon(int sizePixels) {
  PaintCanvas canvas(sizePixels, sizePixels);
  const double height = sizePixels * (1 - 2 * kMarginOfSize);
  const double width = height * kPaddleWidthPixels / kPaddleHeightPixels;
  paintCreature(canvas, greenCreature(),
                {(sizePixels - width) / 2, sizePixels * kMarginOfSize, width, height});
  return toRgbaPicture(canvas);
}

}  // namespace assets
