#include "paint.h"

namespace assets {

Colour toColour(Rgb c) {
  return {double(c.r), double(c.g), double(c.b)};
}

Colour mixColours(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

PaintCanvas::PaintCanvas(int width, int height)
    : width_(width), height_(height), cells_(static_cast<std::size_t>(width * height)) {}

void PaintCanvas::fillOpaque(Colour c) {
  for (Cell& cell : cells_) cell = {c, 1.0};
}

void PaintCanvas::paint(int x, int y, Colour c, double cover) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || cover <= 0) return;
  Cell& cell = cells_[static_cast<std::size_t>(y * width_ + x)];
  const double keep = 1.0 - cover;
  cell.premultiplied = {cell.premultiplied.r * keep + c.r * cover,
                        cell.premultiplied.g * keep + c.g * cover,
                        cell.premultiplied.b * keep + c.b * cover};
  cell.alpha = cell.alpha * keep + cover;
}

void PaintCanvas::paintMask(const Mask& mask, Colour c) {
  paintMask(mask, [c](double, double) { return c; });
}

void PaintCanvas::paintMask(const Mask& mask, const Shader& shade) {
  const Box a = mask.area();
  for (int y = a.top; y <= a.bottom; ++y) {
    for (int x = a.left; x <= a.right; ++x) {
      const float cover = mask.coverage(x, y);
      if (cover > 0) paint(x, y, shade(x + 0.5, y + 0.5), cover);
    }
  }
}

double PaintCanvas::alpha(int x, int y) const {
  return cells_[static_cast<std::size_t>(y * width_ + x)].alpha;
}

Colour PaintCanvas::colour(int x, int y) const {
  const Cell& cell = cells_[static_cast<std::size_t>(y * width_ + x)];
  if (cell.alpha <= 0) return {};
  return {cell.premultiplied.r / cell.alpha, cell.premultiplied.g / cell.alpha,
          cell.premultiplied.b / cell.alpha};
}

}  // namespace assets
