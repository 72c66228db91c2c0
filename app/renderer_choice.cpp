#include "app/renderer_choice.h"

#include <SDL_opengl.h>

#include <string>
#include <string_view>

#include "app/platform_parts.h"
#include "app/problem_reports.h"
#include "app/video_driver.h"

namespace {

constexpr const char* kSoftwareNotice =
    "no graphics card found; drawing with the software renderer";

// GL_RENDERER strings of rasterisers that draw on the processor: Mesa's
// llvmpipe, softpipe and swrast (older ones call themselves "Software
// Rasterizer"), Apple's "Software Renderer", Windows' "GDI Generic" and the
// "Basic Render Driver" behind Direct3D-backed OpenGL.
constexpr std::string_view kSoftwareRasterisers[] = {
    "llvmpipe",
    "softpipe",
    "swrast",
    "software rasterizer",
    "software renderer",
    "basic render driver",
    "gdi generic",
};

std::string lowerCase(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

// The GL_RENDERER string of the OpenGL context SDL's renderer just made
// current; null when there is none (any renderer but OpenGL's).
const char* currentGlRenderer() {
  if (SDL_GL_GetCurrentContext() == nullptr) return nullptr;
  using GetString = const GLubyte*(GLAPIENTRY*)(GLenum);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (getString == nullptr) return nullptr;
  return reinterpret_cast<const char*>(getString(GL_RENDERER));
}

}  // namespace

bool namesSoftwareRasteriser(const char* glRenderer) {
  if (glRenderer == nullptr) return false;
  const std::string lowered = lowerCase(glRenderer);
  for (std::string_view name : kSoftwareRasterisers) {
    if (lowered.find(name) != std::string::npos) return true;
  }
  return false;
}

SDL_Renderer* createGameRenderer(SDL_Window* window) {
  // A video driver that shows nothing (dummy, offscreen: the whole-program
  // tests) has no graphics card to miss, and its first renderer is checked
  // as before.
  if (!drawsNowhere(SDL_GetCurrentVideoDriver()) && knownToDrawInSoftware()) {
    if (SDL_Renderer* software = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE)) {
      reportProblem(kSoftwareNotice);
      return software;
    }
  }
  return preferSoftwareRenderer(window, SDL_CreateRenderer(window, -1, 0));
}

bool shouldDrawInSoftware(const char* rendererName, const char* glRenderer,
                          const char* chosenDriver) {
  // An empty choice is none: SDL itself then picks the first renderer.
  if (chosenDriver != nullptr && *chosenDriver != '\0') return false;
  if (rendererName == nullptr || std::string_view(rendererName).substr(0, 6) != "opengl") {
    return false;
  }
  return namesSoftwareRasteriser(glRenderer);
}

SDL_Renderer* preferSoftwareRenderer(SDL_Window* window, SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) return renderer;
  if (!shouldDrawInSoftware(info.name, currentGlRenderer(), SDL_GetHint(SDL_HINT_RENDER_DRIVER))) {
    return renderer;
  }
  // A window holds one renderer at a time. The software renderer shows its
  // picture without OpenGL, since start-up turned SDL's framebuffer
  // acceleration off.
  SDL_DestroyRenderer(renderer);
  giveBackFreedHeap();
  SDL_Renderer* software = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (software != nullptr) {
    reportProblem(kSoftwareNotice);
    return software;
  }
  reportProblem(std::string("no graphics card found, but couldn't make the software renderer (") +
                SDL_GetError() + "); drawing with OpenGL");
  return SDL_CreateRenderer(window, -1, 0);
}
