#include "raster.h"

#include <algorithm>
#include <cmath>

namespace assets {

Mask::Mask(int left, int top, int width, int height)
    : left_(left),
      top_(top),
      width_(width),
      height_(height),
      cover_(static_cast<std::size_t>(width * height), 0.0f) {}

bool Mask::inside(int x, int y) const {
  return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_;
}

float Mask::coverage(int x, int y) const {
  if (!inside(x, y)) return 0.0f;
  return cover_[static_cast<std::size_t>((y - top_) * width_ + (x - left_))];
}

void Mask::raise(int x, int y, float cover) {
  if (!inside(x, y)) return;
  float& c = cover_[static_cast<std::size_t>((y - top_) * width_ + (x - left_))];
  c = std::max(c, std::clamp(cover, 0.0f, 1.0f));
}

void Mask::clear() {
  std::fill(cover_.begin(), cover_.end(), 0.0f);
}

std::optional<Box> inkBounds(const Mask& mask, float threshold) {
  const Box a = mask.area();
  std::optional<Box> found;
  for (int y = a.top; y <= a.bottom; ++y) {
    for (int x = a.left; x <= a.right; ++x) {
      if (mask.coverage(x, y) < threshold) continue;
      if (!found) {
        found = Box{x, y, x, y};
      } else {
        found->left = std::min(found->left, x);
        found->right = std::max(found->right, x);
        found->top = std::min(found->top, y);
        found->bottom = std::max(found->bottom, y);
      }
    }
  }
  return found;
}

namespace {

// Coverage of one pixel centre by a capsule whose radius runs from ra to rb:
// one pixel of soft edge gives anti-aliasing without supersampling.
void stampSegment(Mask& mask, const PenPoint& a, const PenPoint& b) {
  const double maxRadius = std::max(a.radius, b.radius) + 1.0;
  const Box bounds = mask.area();
  const int x0 =
      std::max(bounds.left, static_cast<int>(std::floor(std::min(a.at.x, b.at.x) - maxRadius)));
  const int x1 =
      std::min(bounds.right, static_cast<int>(std::ceil(std::max(a.at.x, b.at.x) + maxRadius)));
  const int y0 =
      std::max(bounds.top, static_cast<int>(std::floor(std::min(a.at.y, b.at.y) - maxRadius)));
  const int y1 =
      std::min(bounds.bottom, static_cast<int>(std::ceil(std::max(a.at.y, b.at.y) + maxRadius)));
  const double dx = b.at.x - a.at.x;
  const double dy = b.at.y - a.at.y;
  const double lengthSquared = dx * dx + dy * dy;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5 - a.at.x;
      const double py = y + 0.5 - a.at.y;
      double t = lengthSquared > 0 ? (px * dx + py * dy) / lengthSquared : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      const double distance = std::hypot(px - t * dx, py - t * dy);
      const double radius = a.radius + t * (b.radius - a.radius);
      mask.raise(x, y, static_cast<float>(radius - distance + 0.5));
    }
  }
}

}  // namespace

void strokePath(Mask& mask, const std::vector<PenPoint>& path) {
  if (path.size() == 1) stampSegment(mask, path[0], path[0]);
  for (std::size_t i = 1; i < path.size(); ++i) stampSegment(mask, path[i - 1], path[i]);
}

void fillShape(Mask& mask, const Box& area, const std::function<bool(double, double)>& inside,
               int samplesPerAxis) {
  const Box bounds = mask.area();
  const double step = 1.0 / samplesPerAxis;
  const auto total = static_cast<float>(samplesPerAxis * samplesPerAxis);
  for (int y = std::max(area.top, bounds.top); y <= std::min(area.bottom, bounds.bottom); ++y) {
    for (int x = std::max(area.left, bounds.left); x <= std::min(area.right, bounds.right); ++x) {
      int hits = 0;
      for (int sy = 0; sy < samplesPerAxis; ++sy) {
        for (int sx = 0; sx < samplesPerAxis; ++sx) {
          if (inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step)) ++hits;
        }
      }
      if (hits > 0) mask.raise(x, y, static_cast<float>(hits) / total);
    }
  }
}

}  // namespace assets
