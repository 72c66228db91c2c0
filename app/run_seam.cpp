#include "app/run_seam.h"

#include <chrono>

#include "present/canvas.h"

namespace {
// Should the event queue itself fail, a paused game looks again after this
// long instead of spinning.
constexpr Uint32 kBrokenQueueRetryMillis = 30;
}  // namespace

RunSeam realRunSeam() {
  RunSeam seam;
  seam.nowNanos = [] {
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<Sint64>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceStart).count());
  };
  seam.delay = [](Uint32 millis) { SDL_Delay(millis); };
  seam.awaitEvent = [] {
    // A null event leaves the event in the queue for the frame's own polling.
    // On X11 SDL wakes this wait with a message to the window: see linux/x11_wakeups.h.
    if (SDL_WaitEvent(nullptr) == 0) SDL_Delay(kBrokenQueueRetryMillis);
  };
  seam.makeCanvas = [](SDL_Renderer* renderer) { return createCanvas(renderer); };
  return seam;
}

void notifyStage(const RunSeam& seam, Stage stage, Session& session) {
  if (seam.onStage) seam.onStage(stage, session);
}
