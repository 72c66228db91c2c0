#include "present/canvas.h"

#include <string>
#include <utility>

#include "present/window.h"

namespace {
PresentWatcher presentWatcher;

void showWindow(SDL_Renderer* renderer) {
  if (presentWatcher) presentWatcher(renderer);
  SDL_RenderPresent(renderer);
}
}  // namespace

SDL_Texture* createCanvas(SDL_Renderer* renderer, Uint32 pixelFormat) {
  SDL_Texture* canvas = SDL_CreateTexture(renderer, pixelFormat, SDL_TEXTUREACCESS_TARGET,
                                          kWindowWidthPixels, kWindowHeightPixels);
  if (canvas == nullptr) return nullptr;
  // The canvas is opaque: showing it is a plain copy, never a blend.
  SDL_SetTextureBlendMode(canvas, SDL_BLENDMODE_NONE);
  if (SDL_SetRenderTarget(renderer, canvas) != 0) {
    // A driver that made the texture may still refuse to draw into it (an
    // OpenGL framebuffer it cannot complete, say). SDL then keeps the canvas
    // as its target all the same, and every present would show a canvas the
    // driver never drew into; the window, which keeps at least its own
    // picture, is drawn into instead. SDL's reason stays for the caller's
    // message.
    const std::string reason = SDL_GetError();
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_DestroyTexture(canvas);
    SDL_SetError("%s", reason.c_str());
    return nullptr;
  }
  // A new target texture holds undefined pixels on some renderers; start black,
  // as a fresh window does, until the title picture covers it.
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  return canvas;
}

void presentCanvas(SDL_Renderer* renderer) {
  SDL_Texture* canvas = SDL_GetRenderTarget(renderer);
  if (canvas == nullptr) {
    showWindow(renderer);
    return;
  }
  SDL_SetRenderTarget(renderer, nullptr);
  SDL_RenderCopy(renderer, canvas, nullptr, nullptr);
  showWindow(renderer);
  SDL_SetRenderTarget(renderer, canvas);
}

void watchPresents(PresentWatcher watcher) {
  presentWatcher = std::move(watcher);
}
