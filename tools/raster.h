// Coverage masks: thick pen strokes and filled shapes, anti-aliased.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "present/game_files.h"

namespace assets {

struct Vec2 {
  double x = 0;
  double y = 0;
};

// One point of a pen's path and the pen's radius there, in pixels.
struct PenPoint {
  Vec2 at;
  double radius = 1;
};

// Inclusive pixel rectangle, as the game's file description writes the
// boxes the generator paints.
using Box = PixelBox;

// How much of each pixel a shape covers, 0..1, over a window of a picture.
// Pixel (x, y) spans [x, x+1) x [y, y+1).
class Mask {
 public:
  Mask(int left, int top, int width, int height);
  float coverage(int x, int y) const;
  void raise(int x, int y, float cover);
  void clear();
  Box area() const { return {left_, top_, left_ + width_ - 1, top_ + height_ - 1}; }

 private:
  bool inside(int x, int y) const;
  int left_;
  int top_;
  int width_;
  int height_;
  std::vector<float> cover_;
};

// Smallest box holding every pixel with coverage >= threshold, if any.
std::optional<Box> inkBounds(const Mask& mask, float threshold);

// Round-capped thick segments between consecutive points; the radius is
// interpolated along each segment.
void strokePath(Mask& mask, const std::vector<PenPoint>& path);

// Fills the pixels of `area` whose samples lie inside the shape, with
// `samplesPerAxis`^2 samples per pixel for smooth edges.
void fillShape(Mask& mask, const Box& area, const std::function<bool(double, double)>& inside,
               int samplesPerAxis = 4);

}  // namespace assets
