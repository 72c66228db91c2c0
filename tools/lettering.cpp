#include "lettering.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "glyphs.h"
#include "noise.h"

namespace assets {
namespace {

constexpr double kLetterGap = 0.17;           // glyph units between letters
constexpr double kLetterTiltRadians = 0.045;  // how far a letter leans either way
constexpr double kLetterBounce = 0.035;       // how far a letter hops off the line
constexpr double kLetterScaleJitter = 0.04;
constexpr int kCurveSamplesPerSpan = 14;
constexpr double kLineSampleSpacing = 0.03;  // glyph units
constexpr double kWobbleWavelength = 0.35;   // glyph units per noise cell
constexpr double kWidthWavelength = 0.5;
constexpr double kWidthSwing = 0.2;       // +-20 % pressure changes
constexpr double kNibAngleRadians = 0.6;  // a broad nib gives thick and thin
constexpr double kNibContrast = 0.25;
constexpr double kEndTaper = 0.25;  // strokes thin out where the pen lifts
constexpr int kMaxFitRounds = 80;

// A path sample in glyph units with its distance along the stroke.
struct PathSample {
  Vec2 at;
  double along = 0;
  double direction = 0;  // radians
};

struct LaidStroke {
  std::vector<PathSample> samples;
  std::uint64_t seed = 0;
};

Vec2 catmullRom(const Vec2& p0, const Vec2& p1, const Vec2& p2, const Vec2& p3, double t) {
  const double t2 = t * t;
  const double t3 = t2 * t;
  auto blend = [&](double a, double b, double c, double d) {
    return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                  (-a + 3 * b - 3 * c + d) * t3);
  };
  return {blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)};
}

std::vector<Vec2> tracePath(const GlyphStroke& stroke) {
  const auto& p = stroke.points;
  std::vector<Vec2> out{p.front()};
  for (std::size_t i = 1; i < p.size(); ++i) {
    if (stroke.smooth) {
      const Vec2& before = p[i >= 2 ? i - 2 : 0];
      const Vec2& after = p[std::min(i + 1, p.size() - 1)];
      for (int s = 1; s <= kCurveSamplesPerSpan; ++s) {
        out.push_back(catmullRom(before, p[i - 1], p[i], after, double(s) / kCurveSamplesPerSpan));
      }
    } else {
      const double length = std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y);
      const int pieces = std::max(1, static_cast<int>(std::ceil(length / kLineSampleSpacing)));
      for (int s = 1; s <= pieces; ++s) {
        const double t = double(s) / pieces;
        out.push_back(
            {p[i - 1].x + (p[i].x - p[i - 1].x) * t, p[i - 1].y + (p[i].y - p[i - 1].y) * t});
      }
    }
  }
  return out;
}

// Sets the letters side by side, each leaning and hopping a little as a hand would.
std::vector<LaidStroke> layOut(const std::string& text, std::uint64_t seed) {
  std::vector<LaidStroke> laid;
  double cursor = 0;
  Prng hand(seed);
  for (std::size_t index = 0; index < text.size(); ++index) {
    const Glyph& glyph = glyphFor(text[index]);
    const double tilt = hand.uniform(-kLetterTiltRadians, kLetterTiltRadians);
    const double hop = hand.uniform(-kLetterBounce, kLetterBounce);
    const double scale = 1.0 + hand.uniform(-kLetterScaleJitter, kLetterScaleJitter);
    const double pivotX = glyph.width / 2;
    for (std::size_t s = 0; s < glyph.strokes.size(); ++s) {
      LaidStroke stroke{{}, seed * 7919 + index * 31 + s};
      double along = 0;
      std::optional<Vec2> previous;
      for (const Vec2& raw : tracePath(glyph.strokes[s])) {
        const double x = (raw.x - pivotX) * scale;
        const double y = (raw.y - 0.5) * scale;
        const Vec2 at{cursor + pivotX + x * std::cos(tilt) - y * std::sin(tilt),
                      0.5 + hop + x * std::sin(tilt) + y * std::cos(tilt)};
        double direction = 0;
        if (previous) {
          along += std::hypot(at.x - previous->x, at.y - previous->y);
          direction = std::atan2(at.y - previous->y, at.x - previous->x);
        }
        stroke.samples.push_back({at, along, direction});
        previous = at;
      }
      if (stroke.samples.size() > 1) stroke.samples[0].direction = stroke.samples[1].direction;
      laid.push_back(std::move(stroke));
    }
    cursor += glyph.width + kLetterGap;
  }
  return laid;
}

struct DesignBounds {
  double left = std::numeric_limits<double>::max();
  double top = std::numeric_limits<double>::max();
  double right = std::numeric_limits<double>::lowest();
  double bottom = std::numeric_limits<double>::lowest();
};

DesignBounds boundsOf(const std::vector<LaidStroke>& laid) {
  DesignBounds b;
  for (const auto& stroke : laid) {
    for (const auto& s : stroke.samples) {
      b.left = std::min(b.left, s.at.x);
      b.right = std::max(b.right, s.at.x);
      b.top = std::min(b.top, s.at.y);
      b.bottom = std::max(b.bottom, s.at.y);
    }
  }
  return b;
}

// Pen pressure: thinner at the ends, a slow swell along the stroke, and
// thick/thin with the direction as from a slightly broad nib.
double penRadius(const PenStyle& pen, const LaidStroke& stroke, const PathSample& s) {
  const double total = stroke.samples.back().along;
  const double fromEnd = total > 0 ? std::min(s.along, total - s.along) / total : 0.5;
  const double taper = 1.0 - kEndTaper * std::max(0.0, 1.0 - fromEnd / 0.15);
  const double swell =
      1.0 + kWidthSwing * smoothNoise(stroke.seed ^ 0x51u, s.along / kWidthWavelength);
  const double nib =
      1.0 - kNibContrast / 2 + kNibContrast * std::abs(std::sin(s.direction - kNibAngleRadians));
  return pen.radiusPixels * taper * swell * nib;
}

}  // namespace

Mask drawText(const std::string& text, const Placement& placement, const PenStyle& pen,
              const Box& area) {
  Mask mask(area.left, area.top, area.right - area.left + 1, area.bottom - area.top + 1);
  const std::vector<LaidStroke> laid = layOut(text, pen.seed);
  const DesignBounds design = boundsOf(laid);
  const double scaleX = (placement.right - placement.left) / (design.right - design.left);
  const double scaleY = (placement.bottom - placement.top) / (design.bottom - design.top);
  for (const auto& stroke : laid) {
    std::vector<PenPoint> path;
    for (const auto& s : stroke.samples) {
      const double wobbleX =
          pen.wobblePixels * smoothNoise(stroke.seed, s.along / kWobbleWavelength);
      const double wobbleY =
          pen.wobblePixels * smoothNoise(stroke.seed ^ 0xA5u, s.along / kWobbleWavelength);
      path.push_back({{placement.left + (s.at.x - design.left) * scaleX + wobbleX,
                       placement.top + (s.at.y - design.top) * scaleY + wobbleY},
                      penRadius(pen, stroke, s)});
    }
    strokePath(mask, path);
  }
  return mask;
}

Box marginAround(const Box& target, const PenStyle& pen) {
  const int margin = static_cast<int>(std::ceil(pen.radiusPixels * 2 + pen.wobblePixels)) + 4;
  return {target.left - margin, target.top - margin, target.right + margin, target.bottom + margin};
}

std::optional<Placement> fitText(const std::string& text, const Box& target, const PenStyle& pen,
                                 float inkThreshold) {
  const Box area = marginAround(target, pen);
  // Start with the paths one pen radius inside the box, then nudge each edge
  // by what the ink overshoots; a shrinking step settles the rounding of pixels.
  Placement place{target.left + pen.radiusPixels, target.top + pen.radiusPixels,
                  target.right + 1 - pen.radiusPixels, target.bottom + 1 - pen.radiusPixels};
  double gain = 1.0;
  for (int round = 0; round < kMaxFitRounds; ++round) {
    const std::optional<Box> ink = inkBounds(drawText(text, place, pen, area), inkThreshold);
    if (!ink) return std::nullopt;
    if (*ink == target) return place;
    if (round > 0 && round % 10 == 0) gain *= 0.6;
    place.left += (target.left - ink->left) * gain;
    place.right += (target.right - ink->right) * gain;
    place.top += (target.top - ink->top) * gain;
    place.bottom += (target.bottom - ink->bottom) * gain;
  }
  return std::nullopt;
}

}  // namespace assets
