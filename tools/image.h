// Pixel containers shared by every picture the generator draws.
#pragma once

#include <cstdint>
#include <vector>

// The game's key colour and court green come from its own description of its
// files, and so do the pictures' names and sizes.
#include "present/game_files.h"

namespace assets {

using Rgb = PixelColour;

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
