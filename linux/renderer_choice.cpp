#include "linux/renderer_choice.h"

#include <SDL.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <utility>

#include "app/platform_parts.h"

namespace {

// An environment variable as Mesa reads a yes-or-no one: "1", "true", "y" or
// "yes" in any case is yes; anything else, or nothing, is no.
bool mesaSaysYes(const char* value) {
  if (value == nullptr) return false;
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  for (std::string_view yes : {"1", "true", "y", "yes"}) {
    if (std::ranges::equal(std::string_view(value), yes, {}, lower)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> graphicsDeviceNodes(const std::string& devFolder) {
  namespace fs = std::filesystem;
  std::vector<std::string> nodes;
  const fs::path dev(devFolder);
  const std::pair<fs::path, std::string_view> kinds[] = {
      {dev / "dri", "renderD"}, {dev / "dri", "card"}, {dev, "nvidia"}};
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
  if (chosenDriver != nullptr && *chosenDriver != '\0') return false;
  return deviceNodes.empty() || mesaSaysYes(libglAlwaysSoftware);
}

bool knownToDrawInSoftware() {
  return drawsInSoftwareFromTheStart(graphicsDeviceNodes(), SDL_getenv("LIBGL_ALWAYS_SOFTWARE"),
                                     SDL_GetHint(SDL_HINT_RENDER_DRIVER));
}

void giveBackFreedHeap() {
#if defined(__GLIBC__)
  // The GNU C library would otherwise keep it for the rest of the run.
  malloc_trim(0);
#endif
}
