// Reads the generated pictures and sounds back the way the game does, through SDL.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace asset_tests {

std::string gameFile(const std::string& name);

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

SurfacePtr loadPicture(const std::string& name);

struct Colour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  auto operator<=>(const Colour&) const = default;
};

inline constexpr Colour kGreen{32, 192, 64};
inline constexpr Colour kMagenta{255, 0, 255};
inline constexpr Colour kBlack{0, 0, 0};

// Inclusive pixel rectangle.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

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

std::ostream& operator<<(std::ostream& out, const Rect& r);

// One sound file as 16-bit stereo frames, with its format as SDL reads it.
struct Sound {
  SDL_AudioSpec format{};
  std::vector<std::int16_t> samples;  // interleaved left, right
  double seconds() const;
};

std::optional<Sound> loadSound(const std::string& name);

// The 28 cue files, player's first.
std::vector<std::string> playerCueFiles();
std::vector<std::string> computerCueFiles();

}  // namespace asset_tests
