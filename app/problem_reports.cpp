#include "app/problem_reports.h"

#include <cstdio>

#include "app/platform_parts.h"
#include "app/video_driver.h"

namespace {
constexpr size_t kBoxLineCharacters = 60;

// The message as a box shows it, broken into lines unless the box does that itself.
std::string boxText(const std::string& message) {
  return boxesBreakLines() ? message : wrapForBox(message, kBoxLineCharacters);
}

bool displayCanShowBoxes() {
  const char* driver = SDL_GetCurrentVideoDriver();
  // Without a video driver, or with one that draws nowhere, nobody could see a box.
  return driver != nullptr && !drawsNowhere(driver);
}
}  // namespace

std::string wrapForBox(const std::string& message, size_t width) {
  std::string wrapped;
  size_t lineStart = 0;                  // where the current line begins in `wrapped`
  size_t lastBreak = std::string::npos;  // the last place in it that may break
  for (char c : message) {
    wrapped += c;
    if (c == ' ' || c == '/') lastBreak = wrapped.size();
    if (wrapped.size() - lineStart > width && lastBreak != std::string::npos &&
        lastBreak > lineStart) {
      // A space at the break is replaced; after a slash a line break is inserted.
      if (wrapped[lastBreak - 1] == ' ') {
        wrapped[lastBreak - 1] = '\n';
        lineStart = lastBreak;
      } else {
        wrapped.insert(lastBreak, 1, '\n');
        lineStart = lastBreak + 1;
      }
      lastBreak = std::string::npos;
    }
  }
  return wrapped;
}

void reportFatal(SDL_Window* window, const std::string& message) {
  std::fprintf(stderr, "VombaPong: %s\n", message.c_str());
  if ((displayCanShowBoxes() || !reachesSomeone(stderr)) &&
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "VombaPong cannot go on",
                               boxText(message).c_str(), window) != 0) {
    // Without the box a player who started the game from a terminal still
    // learns why it did not come (an X server without core fonts, say).
    std::fprintf(stderr, "VombaPong: couldn't show this message in a box: %s\n", SDL_GetError());
  }
}

void reportProblem(const std::string& message) {
  reportProblems({message});
}

void reportProblems(const std::vector<std::string>& messages) {
  std::string box;
  for (const std::string& message : messages) {
    std::fprintf(stderr, "VombaPong: %s\n", message.c_str());
    box += (box.empty() ? "" : "\n\n") + boxText(message);
  }
  if (box.empty() || reachesSomeone(stderr)) return;
  // Not over the game's window: the game plays on once the box is dismissed.
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "VombaPong", box.c_str(), nullptr);
}
