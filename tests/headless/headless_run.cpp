#include "headless_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "app/run.h"
#include "present/window.h"

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

std::vector<Uint32> readPicture(Session& session) {
  std::vector<Uint32> pixels(static_cast<size_t>(kWindowWidthPixels) * kWindowHeightPixels);
  if (SDL_RenderReadPixels(session.game.renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(),
                           kWindowWidthPixels * 4) != 0) {
    ADD_FAILURE() << "could not read the picture back: " << SDL_GetError();
  }
  for (Uint32& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

std::string copyOfGameFolder() {
  char pattern[] = "/tmp/vombapong-game-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) return {};
  fs::copy(VOMBA_GAME_DIR, made,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  return made;
}

std::vector<Uint32> surfacePixels(SDL_Surface* surface) {
  std::vector<Uint32> pixels;
  if (surface == nullptr) return pixels;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0);
  if (rgb == nullptr) return pixels;
  pixels.reserve(static_cast<size_t>(rgb->w) * rgb->h);
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(rgb->pixels) +
                                                      static_cast<ptrdiff_t>(y) * rgb->pitch);
    for (int x = 0; x < rgb->w; ++x) pixels.push_back(row[x] & 0xFFFFFF);
  }
  SDL_FreeSurface(rgb);
  return pixels;
}

std::vector<Uint32> windowPixels(const Session& session) {
  // The dummy driver's window is a surface that every present copies into.
  return surfacePixels(SDL_GetWindowSurface(session.game.window));
}

RunResult runHeadless(const Script& script, const std::string& folder) {
  RunResult result;
  Sint64 fakeNanos = 0;
  Sint64 eventHandlingNanos = 0;  // passes right after the frame's first reading
  int frame = 0;
  RunSeam seam;
  seam.nowNanos = [&] {
    const Sint64 now = fakeNanos;
    fakeNanos += eventHandlingNanos;
    eventHandlingNanos = 0;
    return now;
  };
  seam.delay = [&](Uint32 millis) {
    if (script.onWait) script.onWait(millis, !result.courtDrawn);
    fakeNanos += static_cast<Sint64>(millis) * 1'000'000;
    if (result.courtDrawn) result.frameWaits.push_back(millis);
  };
  // The game's wait for the next event lasts until the player acts; here the
  // script's next pushes, at the next frame start, play that part, so the wait
  // returns at once. After a quit nothing more comes: a wait then would never end.
  Session* live = nullptr;
  seam.awaitEvent = [&] {
    ++result.eventWaits;
    if (live != nullptr && live->game.quitRequested) {
      ADD_FAILURE() << "a paused frame waits for an event after a quit: the game would hang";
    }
  };
  seam.makeCanvas = [&](SDL_Renderer* renderer) -> SDL_Texture* {
    if (!script.refuseCanvas) return realRunSeam().makeCanvas(renderer);
    SDL_SetError("Render targets not supported (refused by the test)");
    return nullptr;
  };
  seam.onStage = [&](Stage stage, Session& session) {
    live = &session;
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
        if (script.eventHandlingMillis) {
          eventHandlingNanos = std::llround(script.eventHandlingMillis(frame) * 1'000'000);
        }
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
  result.exitCode = runVombaPong(seam);
  result.stderrText = testing::internal::GetCapturedStderr();
  fs::current_path(before);
  result.frames = frame;
  return result;
}
