#include "app/errors.h"

#include <cstdio>
#include <cstring>

namespace {
bool displayCanShowBoxes() {
  const char* driver = SDL_GetCurrentVideoDriver();
  // Without a video driver, or with one that draws nowhere, nobody could see a box.
  return driver != nullptr && std::strcmp(driver, "dummy") != 0 &&
         std::strcmp(driver, "offscreen") != 0;
}
}  // namespace

void reportFatal(SDL_Window* window, const std::string& message) {
  std::fprintf(stderr, "VombaPong: %s\n", message.c_str());
  if (displayCanShowBoxes()) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "VombaPong cannot go on", message.c_str(),
                             window);
  }
}

void reportProblem(const std::string& message) {
  std::fprintf(stderr, "VombaPong: %s\n", message.c_str());
}
