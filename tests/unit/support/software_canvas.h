// A 600 x 400 picture drawn by SDL's software renderer: drawing code runs as
// in the game, and its pixels can be read back, with no SDL_Init and no display.
#pragma once

#include <SDL.h>

#include <ostream>
#include <vector>

#include "present/game_files.h"

struct Colour {
  Uint8 r = 0;
  Uint8 g = 0;
  Uint8 b = 0;
  bool operator==(const Colour&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Colour& colour) {
  return out << "rgb(" << int{colour.r} << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

inline constexpr Colour kTestCourtColour{30, 120, 60};
inline constexpr Colour kTestMarkerColour{200, 30, 30};
// Sprites are keyed on the game's own key colour.
inline constexpr Colour kTestKeyColour{kKeyColour.r, kKeyColour.g, kKeyColour.b};

class SoftwareCanvas {
 public:
  explicit SoftwareCanvas(int widthPixels = 600, int heightPixels = 400)
      : surface_(SDL_CreateRGBSurfaceWithFormat(0, widthPixels, heightPixels, 32,
                                                SDL_PIXELFORMAT_RGBA8888)),
        renderer_(SDL_CreateSoftwareRenderer(surface_)) {}
  ~SoftwareCanvas() {
    for (SDL_Texture* texture : textures_) SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(surface_);
  }
  SoftwareCanvas(const SoftwareCanvas&) = delete;
  SoftwareCanvas& operator=(const SoftwareCanvas&) = delete;

  SDL_Renderer* renderer() const { return renderer_; }

  // A texture of one colour, owned by the canvas: the court, say.
  SDL_Texture* solidTexture(int widthPixels, int heightPixels, Colour colour) {
    return keyedSprite(widthPixels, heightPixels, colour, 0);
  }

  // A sprite whose border of `marginPixels` is the key colour, so it shows
  // only its inner square in `colour` and lets the court show at its corners.
  SDL_Texture* keyedSprite(int widthPixels, int heightPixels, Colour colour, int marginPixels) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, widthPixels, heightPixels, 32, SDL_PIXELFORMAT_RGB888);
    const Uint32 key =
        SDL_MapRGB(surface->format, kTestKeyColour.r, kTestKeyColour.g, kTestKeyColour.b);
    SDL_FillRect(surface, nullptr, key);
    const SDL_Rect inner{marginPixels, marginPixels, widthPixels - 2 * marginPixels,
                         heightPixels - 2 * marginPixels};
    SDL_FillRect(surface, &inner, SDL_MapRGB(surface->format, colour.r, colour.g, colour.b));
    if (marginPixels > 0) SDL_SetColorKey(surface, SDL_TRUE, key);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface);
    SDL_FreeSurface(surface);
    textures_.push_back(texture);
    return texture;
  }

  void fill(const SDL_Rect& rect, Colour colour) {
    SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, SDL_ALPHA_OPAQUE);
    SDL_RenderFillRect(renderer_, &rect);
  }

  // Reading through the renderer flushes any drawing it still holds back.
  Colour pixel(int x, int y) const {
    const SDL_Rect one{x, y, 1, 1};
    Uint32 value = 0;
    SDL_RenderReadPixels(renderer_, &one, SDL_PIXELFORMAT_RGBA8888, &value, sizeof value);
    return Colour{static_cast<Uint8>(value >> 24), static_cast<Uint8>(value >> 16),
                  static_cast<Uint8>(value >> 8)};
  }

 private:
  SDL_Surface* surface_;
  SDL_Renderer* renderer_;
  std::vector<SDL_Texture*> textures_;
};
