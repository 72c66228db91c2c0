// Reads the generated pictures and sounds back the way the game does, through SDL.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "present/sheet_layout.h"

// Boxes print as the columns and rows they span.
std::ostream& operator<<(std::ostream& out, const PixelBox& r);

namespace asset_tests {

std::string gameFile(const std::string& name);

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

SurfacePtr loadPicture(const std::string& name);

// Colours and inclusive boxes, as the game's description of its files writes them.
using Colour = PixelColour;
using Rect = PixelBox;

inline constexpr Colour kBlack{0, 0, 0};

// A picture as plain colours, whatever its depth on disk.
class Picture {
 public:
  explicit Picture(SDL_Surface* surface);
  int width() const { return width_; }
  int height() const { return height_; }
  Colour at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  // Smallest rectangle within `area` of the pixels that satisfy `wanted`.
  std::optional<Rect> bounds(const Rect& area, const std::function<bool(Colour)>& wanted) const;
  bool all(const Rect& area, const std::function<bool(Colour)>& wanted) const;

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// One sound file as 16-bit stereo frames, with its format as SDL reads it.
struct Sound {
  SDL_AudioSpec format{};
  std::vector<std::int16_t> samples;  // interleaved left, right
  double seconds() const;
};

std::optional<Sound> loadSound(const std::string& name);

// The cue files of each side's group.
std::vector<std::string> playerCueFiles();
std::vector<std::string> computerCueFiles();

}  // namespace asset_tests
