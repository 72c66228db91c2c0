#include "run_checks.h"

#include <SDL_mixer.h>

#include "present/game_files.h"
#include "present/sounds.h"

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> unreleased(const Session& s) {
  std::vector<std::string> left;
  auto check = [&](const void* field, const char* name) {
    if (field != nullptr) left.push_back(name);
  };
  check(s.game.window, "window");
  check(s.game.renderer, "renderer");
  check(s.game.startSurface, "startSurface");
  check(s.game.startTexture, "startTexture");
  check(s.courtSurface, "courtSurface");
  check(s.courtTexture, "courtTexture");
  check(s.canvas, "canvas");
  check(s.player.surface, "player.surface");
  check(s.player.texture, "player.texture");
  check(s.computer.surface, "computer.surface");
  check(s.computer.texture, "computer.texture");
  check(s.ball.surface, "ball.surface");
  check(s.ball.texture, "ball.texture");
  check(s.scoreboard.surface, "scoreboard.surface");
  check(s.scoreboard.texture, "scoreboard.texture");
  SoundBank bank = s.bank;
  for (int index = 0; index < kSoundCount; ++index) {
    if (*soundSlot(bank, index) != nullptr) left.push_back(kSoundFileNames[index]);
  }
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (Mix_QuerySpec(&frequency, &format, &channels) != 0) left.push_back("audio device");
  if (SDL_WasInit(SDL_INIT_EVERYTHING) != 0) left.push_back("SDL");
  return left;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Adds a shut-down check to a script: everything must have been released.
void expectEverythingReleased(Script& script, std::vector<std::string>& left) {
  left = {"(shut-down never ran)"};
  script.onShutDown = [&left](Session& s) { left = unreleased(s); };
}
