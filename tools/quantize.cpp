#include "quantize.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace assets {
namespace {

constexpr double kOpaqueFromAlpha = 0.5;
constexpr std::size_t kPaletteSize = 256;
// Coarser and coarser colour steps until few enough colours remain; every
// step divides 32, so the court green, black, white and magenta stay exact.
constexpr int kSnapSteps[] = {1, 4, 8, 16, 32};
constexpr std::size_t kColoursWorthRanking = 4096;

std::uint8_t toByte(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0l, 255l));
}

Rgb snap(Rgb c, int step) {
  auto s = [step](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::min(255, (v + step / 2) / step * step));
  };
  return {s(c.r), s(c.g), s(c.b)};
}

int distanceSquared(Rgb a, Rgb b) {
  const int dr = a.r - b.r;
  const int dg = a.g - b.g;
  const int db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

// Pixels as plain colours; nullopt marks a background (keyed) pixel.
std::vector<std::optional<Rgb>> flatten(const PaintCanvas& canvas, bool sprite) {
  std::vector<std::optional<Rgb>> out;
  out.reserve(static_cast<std::size_t>(canvas.width() * canvas.height()));
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (sprite && canvas.alpha(x, y) < kOpaqueFromAlpha) {
        out.emplace_back();
        continue;
      }
      const Colour c = canvas.colour(x, y);
      out.push_back(Rgb{toByte(c.r), toByte(c.g), toByte(c.b)});
    }
  }
  return out;
}

IndexedImage quantize(const PaintCanvas& canvas, bool sprite) {
  std::vector<std::optional<Rgb>> pixels = flatten(canvas, sprite);
  const std::size_t room = sprite ? kPaletteSize - 1 : kPaletteSize;
  std::map<Rgb, int> counts;
  for (int step : kSnapSteps) {
    counts.clear();
    for (const auto& p : pixels) {
      if (p) ++counts[snap(*p, step)];
    }
    if (counts.size() <= kColoursWorthRanking || step == 32) {
      for (auto& p : pixels) {
        if (p) p = snap(*p, step);
      }
      break;
    }
  }
  // The most used colours win a palette entry; ties go to the smaller colour
  // so that the order never depends on anything but the picture.
  std::vector<std::pair<Rgb, int>> ranked(counts.begin(), counts.end());
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  if (ranked.size() > room) ranked.resize(room);

  IndexedImage image{canvas.width(), canvas.height(), {}, {}};
  if (sprite) image.palette.push_back(kKeyColour);
  const auto firstOwn = static_cast<std::uint8_t>(image.palette.size());
  for (const auto& entry : ranked) image.palette.push_back(entry.first);

  std::map<Rgb, std::uint8_t> lookup;
  image.pixels.reserve(pixels.size());
  for (const auto& p : pixels) {
    if (!p) {
      image.pixels.push_back(0);
      continue;
    }
    auto found = lookup.find(*p);
    if (found == lookup.end()) {
      std::uint8_t best = firstOwn;
      for (std::size_t i = firstOwn; i < image.palette.size(); ++i) {
        if (distanceSquared(image.palette[i], *p) < distanceSquared(image.palette[best], *p)) {
          best = static_cast<std::uint8_t>(i);
        }
      }
      found = lookup.emplace(*p, best).first;
    }
    image.pixels.push_back(found->second);
  }
  return image;
}

}  // namespace

IndexedImage toIndexedOpaque(const PaintCanvas& canvas) {
  return quantize(canvas, false);
}

IndexedImage toIndexedSprite(const PaintCanvas& canvas) {
  return quantize(canvas, true);
}

RgbImage toRgbSprite(const PaintCanvas& canvas) {
  RgbImage image{canvas.width(), canvas.height(), {}};
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (canvas.alpha(x, y) < kOpaqueFromAlpha) {
        image.pixels.push_back(kKeyColour);
        continue;
      }
      const Colour c = canvas.colour(x, y);
      image.pixels.push_back(Rgb{toByte(c.r), toByte(c.g), toByte(c.b)});
    }
  }
  return image;
}

RgbaImage toRgbaPicture(const PaintCanvas& canvas) {
  RgbaImage image{canvas.width(), canvas.height(), {}};
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const std::uint8_t alpha = toByte(canvas.alpha(x, y) * 255);
      const Colour c = alpha == 0 ? Colour{} : canvas.colour(x, y);
      image.pixels.push_back(Rgba{toByte(c.r), toByte(c.g), toByte(c.b), alpha});
    }
  }
  return image;
}

}  // namespace assets
