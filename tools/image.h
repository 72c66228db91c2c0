// Pixel containers shared by every picture the generator draws.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  auto operator<=>(const Rgb&) const = default;
};

// The court's green is also the sheet's opaque background, so the two must be
// the very same colour for the sheet's cells to blend into the court.
inline constexpr Rgb kCourtGreen{32, 192, 64};
// The game turns this colour transparent on every sprite.
inline constexpr Rgb kKeyMagenta{255, 0, 255};
inline constexpr Rgb kInkBlack{0, 0, 0};

// 8 bits per pixel with a palette; rows stored top to bottom.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;
  std::uint8_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// 24 bits per pixel; rows stored top to bottom.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  const Rgb& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;  // 0 is fully transparent
};

// 32 bits per pixel with straight (not premultiplied) alpha; rows top to bottom.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;
};

}  // namespace assets
