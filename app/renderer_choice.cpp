#include "app/renderer_choice.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <SDL_opengl.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "app/errors.h"

namespace {

// Only on Linux do device nodes tell whether there is a graphics card.
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
constexpr bool kDeviceNodesTellGraphicsCards = true;
#else
constexpr bool kDeviceNodesTellGraphicsCards = false;
#endif

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

bool sameLetters(std::string_view a, std::string_view b) {
  return lowerCase(a) == lowerCase(b);
}

// An environment variable as Mesa reads a yes-or-no one: "1", "true", "y" or
// "yes" in any case is yes; anything else, or nothing, is no.
bool mesaSaysYes(const char* value) {
  if (value == nullptr) return false;
  for (std::string_view yes : {"1", "true", "y", "yes"}) {
    if (sameLetters(value, yes)) return true;
  }
  return false;
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

std::vector<std::string> graphicsDeviceNodes() {
  std::vector<std::string> nodes;
  if (!kDeviceNodesTellGraphicsCards) return nodes;
  namespace fs = std::filesystem;
  const std::pair<const char*, std::string_view> kinds[] = {
      {"/dev/dri", "renderD"}, {"/dev/dri", "card"}, {"/dev", "nvidia"}};
  for (const auto& [folder, prefix] : kinds) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      if (it->path().filename().string().starts_with(prefix)) nodes.push_back(it->path().string());
    }
  }
  return nodes;
}

bool drawsInSoftwareFromTheStart(const std::vector<std::string>& deviceNodes,
                                 const char* libglAlwaysSoftware, const char* chosenDriver) {
  if (!kDeviceNodesTellGraphicsCards) return false;
  if (chosenDriver != nullptr && *chosenDriver != '\0') return false;
  return deviceNodes.empty() || mesaSaysYes(libglAlwaysSoftware);
}

SDL_Renderer* createGameRenderer(SDL_Window* window) {
  // A video driver that shows nothing (dummy, offscreen: the whole-program
  // tests) has no graphics card to miss, and its first renderer is checked
  // as before.
  if (!drawsNowhere(SDL_GetCurrentVideoDriver()) &&
      drawsInSoftwareFromTheStart(graphicsDeviceNodes(), SDL_getenv("LIBGL_ALWAYS_SOFTWARE"),
                                  SDL_GetHint(SDL_HINT_RENDER_DRIVER))) {
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
#if defined(__GLIBC__)
  // The rasteriser's context leaves about 12 MB of freed heap behind, which
  // the C library would otherwise keep for the rest of the run.
  malloc_trim(0);
#endif
  SDL_Renderer* software = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (software != nullptr) {
    reportProblem(kSoftwareNotice);
    return software;
  }
  reportProblem(std::string("no graphics card found, but couldn't make the software renderer (") +
                SDL_GetError() + "); drawing with OpenGL");
  return SDL_CreateRenderer(window, -1, 0);
}
