#include "app/picture_keeping.h"

#include <algorithm>

#include "present/canvas.h"

namespace {
// How often a long wait looks for exposures: short enough that an uncovered
// window looks repainted at once.
constexpr Sint64 kRepaintPollMillis = 20;

void repaintIfExposed(SDL_Renderer* renderer) {
  SDL_PumpEvents();
  SDL_Event event;
  bool exposed = false;
  // Window events are the only ones taken out of the queue here; the frame
  // loop has no use for them beyond repainting.
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) > 0) {
    exposed = exposed || isExposure(event);
  }
  if (exposed) presentCanvas(renderer);
}
}  // namespace

bool isExposure(const SDL_Event& event) {
  return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED;
}

void waitKeepingPicture(SDL_Renderer* renderer, Uint32 millis, const RunSeam& seam) {
  const Sint64 end = seam.nowNanos() + static_cast<Sint64>(millis) * kNanosPerMilli;
  for (;;) {
    repaintIfExposed(renderer);
    const Sint64 left = end - seam.nowNanos();
    if (left <= 0) break;
    const Sint64 leftMillis = (left + kNanosPerMilli - 1) / kNanosPerMilli;
    seam.delay(static_cast<Uint32>(std::min(leftMillis, kRepaintPollMillis)));
  }
  // Pumping left SDL's end-of-poll marker in the queue; without it gone, the
  // first frame's poll would stop there and miss what was queued after it.
  SDL_FlushEvent(SDL_POLLSENTINEL);
}
