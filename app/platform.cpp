#include "app/platform.h"

#include <chrono>

#include "present/canvas.h"

namespace {
// Should the event queue itself fail, a paused game looks again after this
// long instead of spinning.
constexpr Uint32 kBrokenQueueRetryMillis = 30;
}  // namespace

Platform realPlatform() {
  Platform platform;
  platform.nowNanos = [] {
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<Sint64>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceStart).count());
  };
  platform.delay = [](Uint32 millis) { SDL_Delay(millis); };
  platform.awaitEvent = [] {
    // A null event leaves the event in the queue for the frame's own polling.
    // On X11 SDL wakes this wait with a message to the window: see x11_wakeups.h.
    if (SDL_WaitEvent(nullptr) == 0) SDL_Delay(kBrokenQueueRetryMillis);
  };
  platform.makeCanvas = [](SDL_Renderer* renderer) { return createCanvas(renderer); };
  return platform;
}

void notifyStage(const Platform& platform, Stage stage, Session& session) {
  if (platform.onStage) platform.onStage(stage, session);
}
