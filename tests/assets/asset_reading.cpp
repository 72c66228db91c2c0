#include "asset_reading.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const PixelBox& r) {
  return out << "columns " << r.left << ".." << r.right << " rows " << r.top << ".." << r.bottom;
}

namespace asset_tests {

std::string gameFile(const std::string& name) {
  return std::string(VOMBA_GAME_DIR) + "/" + name;
}

SurfacePtr loadPicture(const std::string& name) {
  return SurfacePtr(SDL_LoadBMP_RW(SDL_RWFromFile(gameFile(name).c_str(), "rb"), 1));
}

Picture::Picture(SDL_Surface* surface) : width_(surface->w), height_(surface->h) {
  SurfacePtr rgba(SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGBA32, 0));
  pixels_.reserve(static_cast<std::size_t>(width_ * height_));
  for (int y = 0; y < height_; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(rgba->pixels) + y * rgba->pitch;
    for (int x = 0; x < width_; ++x)
      pixels_.push_back({row[4 * x], row[4 * x + 1], row[4 * x + 2]});
  }
}

std::optional<Rect> Picture::bounds(const Rect& area,
                                    const std::function<bool(Colour)>& wanted) const {
  std::optional<Rect> found;
  for (int y = area.top; y <= area.bottom; ++y) {
    for (int x = area.left; x <= area.right; ++x) {
      if (!wanted(at(x, y))) continue;
      if (!found) found = Rect{x, y, x, y};
      found->left = std::min(found->left, x);
      found->right = std::max(found->right, x);
      found->top = std::min(found->top, y);
      found->bottom = std::max(found->bottom, y);
    }
  }
  return found;
}

bool Picture::all(const Rect& area, const std::function<bool(Colour)>& wanted) const {
  for (int y = area.top; y <= area.bottom; ++y) {
    for (int x = area.left; x <= area.right; ++x) {
      if (!wanted(at(x, y))) return false;
    }
  }
  return true;
}

double Sound::seconds() const {
  return format.freq > 0 ? double(samples.size()) / 2.0 / format.freq : 0.0;
}

std::optional<Sound> loadSound(const std::string& name) {
  Sound sound;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(gameFile(name).c_str(), &sound.format, &buffer, &length)) return std::nullopt;
  sound.samples.resize(length / sizeof(std::int16_t));
  SDL_memcpy(sound.samples.data(), buffer, length);
  SDL_FreeWAV(buffer);
  return sound;
}

std::vector<std::string> playerCueFiles() {
  return {kSoundFileNames + kFirstPlayerCue, kSoundFileNames + kFirstPlayerCue + kCueCount};
}

std::vector<std::string> computerCueFiles() {
  return {kSoundFileNames + kFirstComputerCue, kSoundFileNames + kFirstComputerCue + kCueCount};
}

}  // namespace asset_tests
