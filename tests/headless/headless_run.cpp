#include "headless_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/run.h"

namespace fs = std::filesystem;

namespace {
// Frames past the limit for a game to hear the quit it was sent; one that does
// not is stopped from outside, so that a broken frame loop fails its tests
// instead of hanging them.
constexpr int kFramesToHearAQuit = 100;

// No display and no sound card needed; a test may still choose other drivers.
const bool kDummyDriversChosen = [] {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();
}  // namespace

void pushEvent(Uint32 type) {
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

void pushClick(Uint8 button) {
  SDL_Event event{};
  event.type = SDL_MOUSEBUTTONDOWN;
  event.button.button = button;
  event.button.state = SDL_PRESSED;
  SDL_PushEvent(&event);
}

void moveMouse(Session& session, int x, int y) {
  // In relative mode SDL moves its position without queueing an event.
  SDL_WarpMouseInWindow(session.game.window, x, y);
  if (SDL_GetRelativeMouseMode()) pushEvent(SDL_MOUSEMOTION);
}

std::string copyOfGameFolder() {
  char pattern[] = "/tmp/vombapong-game-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) return {};
  fs::copy(VOMBA_GAME_DIR, made,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  return made;
}

RunResult runHeadless(const Script& script, const std::string& folder) {
  RunResult result;
  Sint64 fakeNanos = 0;
  int frame = 0;
  Platform platform;
  platform.nowNanos = [&] { return fakeNanos; };
  platform.delay = [&](Uint32 millis) {
    if (script.onWait) script.onWait(millis, !result.courtDrawn);
    fakeNanos += static_cast<Sint64>(millis) * 1'000'000;
    if (result.courtDrawn) result.frameWaits.push_back(millis);
  };
  platform.awaitEvent = [&](int millis) { fakeNanos += static_cast<Sint64>(millis) * 1'000'000; };
  platform.onStage = [&](Stage stage, Session& session) {
    switch (stage) {
      case Stage::TitleShown:
        if (script.onTitle) {
          script.onTitle(session);
        } else {
          pushClick();
        }
        break;
      case Stage::CourtDrawn:
        result.courtDrawn = true;
        result.fakeMillisAtCourt = fakeNanos / 1'000'000;
        if (script.onCourt) script.onCourt(session);
        break;
      case Stage::FrameStart:
        if (frame >= script.maxFrames) {
          result.hitFrameLimit = true;
          pushEvent(SDL_QUIT);
          if (frame >= script.maxFrames + kFramesToHearAQuit) session.game.quitRequested = true;
        } else if (script.beforeFrame) {
          script.beforeFrame(frame, session);
        }
        break;
      case Stage::FrameEnd:
        if (script.afterFrame) script.afterFrame(frame, session);
        ++frame;
        break;
      case Stage::ShutDown:
        result.shutDown = true;
        if (script.onShutDown) script.onShutDown(session);
        break;
    }
  };

  const fs::path before = fs::current_path();
  fs::current_path(folder);
  testing::internal::CaptureStderr();
  result.exitCode = runVombaPong(platform);
  result.stderrText = testing::internal::GetCapturedStderr();
  fs::current_path(before);
  result.frames = frame;
  return result;
}
