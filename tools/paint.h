// A painter's canvas: colours laid over each other through coverage masks.
#pragma once

#include <functional>
#include <vector>

#include "image.h"
#include "raster.h"

namespace assets {

struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
};

Colour toColour(Rgb c);
Colour mixColours(Colour a, Colour b, double t);

using Shader = std::function<Colour(double x, double y)>;

// Premultiplied colour with an alpha, so that sprites can be painted on
// nothing and given their hard magenta background only at the end.
class PaintCanvas {
 public:
  PaintCanvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  void fillOpaque(Colour c);
  void paint(int x, int y, Colour c, double cover);
  void paintMask(const Mask& mask, Colour c);
  void paintMask(const Mask& mask, const Shader& shade);
  double alpha(int x, int y) const;
  // The colour as painted, before any background shows through.
  Colour colour(int x, int y) const;

 private:
  struct Cell {
    Colour premultiplied;
    double alpha = 0;
  };
  int width_;
  int height_;
  std::vector<Cell> cells_;
};

}  // namespace assets
