#include "creatures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "noise.h"
#include "raster.h"

namespace assets {
namespace {

constexpr double kTau = 2 * std::numbers::pi;
// Creature proportions, as fractions of its frame.
constexpr double kBodyCentreX = 0.5;
constexpr double kBodyCentreY = 0.56;
constexpr double kBodyRadiusX = 0.43;
constexpr double kBodyRadiusY = 0.37;
constexpr int kFurTufts = 34;
constexpr double kTuftShortest = 0.05;  // of the body's radius
constexpr double kTuftLongest = 0.17;
constexpr double kStrandsPerSquarePixel = 0.05;
constexpr double kStrandLength = 0.16;  // of the body's width radius
constexpr double kEyeCentreY = 0.155;
constexpr double kEyeSpacing = 0.21;  // from the middle, of the width
constexpr double kEyeRadius = 0.195;  // of the width
constexpr double kFootY = 0.955;
constexpr double kFootSpacing = 0.2;
constexpr double kFootRadiusX = 0.14;
constexpr double kFootRadiusY = 0.045;
// Lines are drawn for the sprite's own width and keep their look when drawn larger.
constexpr double kSpriteWidthPixels = kPaddleWidthPixels;
constexpr double kOutlinePixels = 1.4;

Box boxOf(const Frame& f, double grow = 2) {
  return {static_cast<int>(std::floor(f.left - grow)), static_cast<int>(std::floor(f.top - grow)),
          static_cast<int>(std::ceil(f.left + f.width + grow)),
          static_cast<int>(std::ceil(f.top + f.height + grow))};
}

Mask maskFor(const Frame& f) {
  const Box b = boxOf(f);
  return Mask(b.left, b.top, b.right - b.left + 1, b.bottom - b.top + 1);
}

void paintShape(PaintCanvas& canvas, const Frame& frame,
                const std::function<bool(double, double)>& inside, const Shader& shade) {
  Mask mask = maskFor(frame);
  fillShape(mask, boxOf(frame), inside, 4);
  canvas.paintMask(mask, shade);
}

void paintEllipse(PaintCanvas& canvas, double cx, double cy, double rx, double ry, Colour c) {
  const Frame f{cx - rx, cy - ry, 2 * rx, 2 * ry};
  paintShape(
      canvas, f,
      [=](double x, double y) {
        return std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2) <= 1;
      },
      [c](double, double) { return c; });
}

void paintLine(PaintCanvas& canvas, const Frame& area, std::vector<PenPoint> path, Colour c) {
  Mask mask = maskFor(area);
  strokePath(mask, path);
  canvas.paintMask(mask, c);
}

// The furry outline: pointed tufts of uneven length all around the body.
class Fur {
 public:
  explicit Fur(std::uint64_t seed) {
    Prng hand(seed);
    for (double& length : tufts_) length = hand.uniform(kTuftShortest, kTuftLongest);
    seed_ = seed;
  }
  // The body's edge, in body radii, in the direction `angle`.
  double edge(double angle) const {
    const double turns = angle / kTau + 1.0;  // 0..2, never negative
    const double position = turns * kFurTufts + 0.35 * periodicNoise(seed_, turns * 9, 9);
    const double cell = std::floor(position);
    const double within = position - cell;
    const int index = static_cast<int>(cell) % kFurTufts;
    const double point = std::pow(1.0 - std::abs(2.0 * within - 1.0), 1.8);
    return 1.0 + tufts_[static_cast<std::size_t>(index)] * point;
  }

 private:
  double tufts_[kFurTufts] = {};
  std::uint64_t seed_ = 0;
};

struct EyeSpot {
  double x;
  double y;
  double radius;
};

void paintEye(PaintCanvas& canvas, const EyeSpot& eye, double gaze, double outlinePixels,
              Colour outline) {
  paintEllipse(canvas, eye.x, eye.y, eye.radius, eye.radius, outline);
  const double white = eye.radius - outlinePixels;
  paintEllipse(canvas, eye.x, eye.y, white, white, {250, 250, 245});
  const double pupil = white * 0.52;
  const double px = eye.x + gaze * (white - pupil) * 0.7;
  const double py = eye.y + white * 0.12;
  paintEllipse(canvas, px, py, pupil, pupil, {10, 10, 16});
  const double glint = std::max(0.9, pupil * 0.32);
  paintEllipse(canvas, px - pupil * 0.35, py - pupil * 0.4, glint, glint, {255, 255, 255});
}

// Short hairs all over the body, pointing outwards and a little downwards,
// some darker and some lighter than the fur around them.
void paintFurStrands(PaintCanvas& canvas, const CreatureLook& look, const Frame& frame, Vec2 centre,
                     double rx, double ry, const Fur& fur, double scale) {
  Prng hand(look.seed * 31 + 1);
  const int count = static_cast<int>(kStrandsPerSquarePixel * rx * ry / std::max(1.0, scale * 0.6));
  const double length = kStrandLength * rx;
  const double radius = std::max(0.45, 0.4 * scale);
  Mask dark = maskFor(frame);
  Mask light = maskFor(frame);
  for (int i = 0; i < count; ++i) {
    const double angle = hand.uniform(-std::numbers::pi, std::numbers::pi);
    const double reach = std::sqrt(hand.uniform(0.05, 1.0)) * (fur.edge(angle) - 0.12);
    const Vec2 root{centre.x + std::cos(angle) * reach * rx,
                    centre.y + std::sin(angle) * reach * ry};
    const double lean = angle * 0.85 + std::numbers::pi / 2 * 0.15 + hand.uniform(-0.35, 0.35);
    const Vec2 tip{root.x + std::cos(lean) * length, root.y + std::sin(lean) * length};
    const Vec2 bend{(root.x + tip.x) / 2 + hand.uniform(-0.3, 0.3) * length,
                    (root.y + tip.y) / 2 + hand.uniform(-0.3, 0.3) * length};
    Mask& into = hand.between(0, 2) == 0 ? light : dark;
    strokePath(into, {{root, radius}, {bend, radius * 0.9}, {tip, radius * 0.5}});
  }
  canvas.paintMask(dark, mixColours(look.furShade, look.furDeep, 0.7));
  canvas.paintMask(light, mixColours(look.furLight, Colour{255, 255, 230}, 0.25));
}

}  // namespace

const CreatureLook& greenCreature() {
  static const CreatureLook look{.furLight = {214, 236, 70},
                                 .furShade = {168, 206, 38},
                                 .furDeep = {116, 156, 22},
                                 .outline = {40, 62, 8},
                                 .belly = {236, 246, 150},
                                 .feet = {150, 110, 30},
                                 .gaze = 1.0,
                                 .seed = 7};
  return look;
}

const CreatureLook& purpleCreature() {
  static const CreatureLook look{.furLight = {196, 132, 236},
                                 .furShade = {150, 84, 204},
                                 .furDeep = {102, 46, 156},
                                 .outline = {44, 12, 72},
                                 .belly = {226, 190, 246},
                                 .feet = {96, 50, 120},
                                 .gaze = -1.0,
                                 .seed = 11};
  return look;
}

void paintCreature(PaintCanvas& canvas, const CreatureLook& look, const Frame& frame) {
  const double w = frame.width;
  const double h = frame.height;
  const double scale = w / kSpriteWidthPixels;
  const double outline = kOutlinePixels * std::max(1.0, scale * 0.8);
  const double cx = frame.left + kBodyCentreX * w;
  const double cy = frame.top + kBodyCentreY * h;
  const double rx = kBodyRadiusX * w;
  const double ry = kBodyRadiusY * h;
  const Fur fur(look.seed);

  // Feet first, so the body's fur hangs over them.
  for (double side : {-1.0, 1.0}) {
    const double fx = cx + side * kFootSpacing * w;
    const double fy = frame.top + kFootY * h;
    paintEllipse(canvas, fx, fy, kFootRadiusX * w, kFootRadiusY * h, look.outline);
    paintEllipse(canvas, fx, fy - outline * 0.3, kFootRadiusX * w - outline,
                 kFootRadiusY * h - outline, look.feet);
  }

  // Body: an outline ring of fur, then the fur itself, lit from the top left,
  // with strands that run outwards from the middle.
  auto bodyInside = [&](double inset) {
    return [&, inset](double x, double y) {
      const double u = (x - cx) / rx;
      const double v = (y - cy) / ry;
      return std::hypot(u, v) <= fur.edge(std::atan2(v, u)) - inset;
    };
  };
  paintShape(canvas, frame, bodyInside(0), [&](double, double) { return look.outline; });
  const double inset = outline / std::min(rx, ry);
  paintShape(canvas, frame, bodyInside(inset), [&](double x, double y) {
    const double u = (x - cx) / rx;
    const double v = (y - cy) / ry;
    const double light = std::clamp(0.45 + 0.35 * u + 0.45 * v, 0.0, 1.0);
    const Colour c = mixColours(look.furLight, look.furShade, light);
    // Soft patches where the fur lies darker.
    const double patch =
        smoothNoise(look.seed + 3, u * 2.5 + 10) * smoothNoise(look.seed + 4, v * 2.5 + 10);
    return mixColours(c, look.furDeep, std::clamp(patch * 1.2, 0.0, 0.35));
  });
  paintFurStrands(canvas, look, frame, {cx, cy}, rx, ry, fur, scale);
  // A paler belly.
  const double bx = cx;
  const double by = cy + 0.33 * ry;
  const double brx = 0.55 * rx;
  const double bry = 0.45 * ry;
  paintShape(
      canvas, frame,
      [&](double x, double y) {
        const double u = (x - bx) / brx;
        const double v = (y - by) / bry;
        const double ragged =
            1.0 + 0.08 * periodicNoise(look.seed + 5, (std::atan2(v, u) / kTau + 1) * 14, 14);
        return std::hypot(u, v) <= ragged;
      },
      [&](double x, double y) {
        const double v = (y - by) / bry;
        return mixColours(look.belly, look.furLight,
                          std::clamp(0.5 + 0.5 * v + 0.1 * (x - bx) / brx, 0.0, 1.0));
      });

  // A wide grin with one tooth.
  const double mouthY = frame.top + 0.43 * h;
  const double mouthHalf = 0.17 * w;
  const double lip = std::max(0.7, 0.9 * scale);
  std::vector<PenPoint> grin;
  for (int i = 0; i <= 12; ++i) {
    const double t = -1.0 + i / 6.0;
    grin.push_back({{cx + t * mouthHalf, mouthY + (1 - t * t) * 0.045 * h - 0.01 * h * t}, lip});
  }
  paintLine(canvas, frame, grin, look.outline);
  const double toothX = cx + 0.05 * w * look.gaze;
  const double toothTop = mouthY + 0.045 * h - 0.6 * lip;
  paintShape(
      canvas, frame,
      [&](double x, double y) {
        return y >= toothTop && y <= toothTop + 0.035 * h && std::abs(x - toothX) <= 0.04 * w;
      },
      [](double, double) {
        return Colour{250, 250, 240};
      });

  // Two big round eyes on top of the head.
  for (double side : {-1.0, 1.0}) {
    paintEye(canvas, {cx + side * kEyeSpacing * w, frame.top + kEyeCentreY * h, kEyeRadius * w},
             look.gaze, outline, look.outline);
  }
}

void paintBall(PaintCanvas& canvas, const Frame& frame) {
  // Laid out on a 36-pixel grid and scaled to the frame.
  const double s = frame.width / 36.0;
  auto at = [&](double x, double y) { return Vec2{frame.left + x * s, frame.top + y * s}; };
  const double limb = std::max(0.65, 0.65 * s);
  const Colour ink{16, 16, 20};

  // Thin arms waving and legs standing, behind the body.
  paintLine(canvas, frame, {{at(8, 16), limb}, {at(4.5, 10), limb}, {at(2.2, 3.2), limb}}, ink);
  paintLine(canvas, frame, {{at(28, 16), limb}, {at(31.5, 10), limb}, {at(33.8, 3.2), limb}}, ink);
  paintLine(canvas, frame, {{at(14.5, 26), limb}, {at(13.4, 34.2), limb}, {at(9.8, 34.4), limb}},
            ink);
  paintLine(canvas, frame, {{at(21.5, 26), limb}, {at(22.6, 34.2), limb}, {at(26.2, 34.4), limb}},
            ink);

  // A rounded white blob, a little lumpy, shaded towards the bottom right.
  const Vec2 centre = at(18, 17);
  const double radius = 11.6 * s;
  auto blob = [&](double inset) {
    return [&, inset](double x, double y) {
      const double a = std::atan2(y - centre.y, x - centre.x);
      const double r = radius * (1 + 0.04 * std::sin(3 * a + 1) + 0.025 * std::sin(5 * a));
      return std::hypot(x - centre.x, y - centre.y) <= r - inset;
    };
  };
  paintShape(canvas, frame, blob(0), [&](double, double) { return Colour{40, 40, 46}; });
  paintShape(canvas, frame, blob(std::max(1.0, 1.1 * s)), [&](double x, double y) {
    const double t =
        std::clamp(0.5 + ((x - centre.x) * 0.4 + (y - centre.y) * 0.7) / radius, 0.0, 1.0);
    return mixColours({255, 255, 252}, {196, 200, 214}, t * t);
  });

  // Two eyes and a straight mouth.
  for (double x : {14.2, 21.8}) {
    const Vec2 eye = at(x, 13.6);
    paintEllipse(canvas, eye.x, eye.y, 1.6 * s, 2.3 * s, ink);
    if (s > 1.5) {
      paintEllipse(canvas, eye.x - 0.4 * s, eye.y - 0.8 * s, 0.5 * s, 0.5 * s, {255, 255, 255});
    }
  }
  paintLine(canvas, frame, {{at(14.4, 21.4), limb}, {at(21.6, 21.3), limb}}, ink);
}

}  // namespace assets
