#include "refused_render_target.h"

#include <SDL.h>

namespace {
bool refusing = false;
}  // namespace

RefusedRenderTargets::RefusedRenderTargets() {
  refusing = true;
}

RefusedRenderTargets::~RefusedRenderTargets() {
  refusing = false;
}

#if defined(__linux__)
#include <dlfcn.h>

extern "C" int SDL_SetRenderTarget(SDL_Renderer* renderer, SDL_Texture* texture) {
  using SetRenderTarget = int (*)(SDL_Renderer*, SDL_Texture*);
  static const auto sdls =
      reinterpret_cast<SetRenderTarget>(dlsym(RTLD_NEXT, "SDL_SetRenderTarget"));
  const int result = sdls(renderer, texture);
  if (refusing && texture != nullptr) {
    return SDL_SetError("the driver cannot draw into this texture (refused by the test)");
  }
  return result;
}

bool canRefuseRenderTargets() {
  return true;
}
#else
bool canRefuseRenderTargets() {
  return false;
}
#endif
