#include "app/platform.h"

#include <chrono>

Platform realPlatform() {
  Platform platform;
  platform.nowNanos = [] {
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<Sint64>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceStart).count());
  };
  platform.delay = [](Uint32 millis) { SDL_Delay(millis); };
  // A paused frame sleeps its period out, as a frame of play does, and its
  // events wait for the next frame. SDL's own wait (SDL_WaitEventTimeout)
  // wakes itself on X11 with a message to the window over a second
  // connection, sent for every event it takes in; when that event ends the
  // game (ENDE, a close), the window can be gone before the X server reads
  // the message, and Xlib then ends the process with exit code 1.
  platform.awaitEvent = [](int millis) { SDL_Delay(static_cast<Uint32>(millis)); };
  return platform;
}

void notifyStage(const Platform& platform, Stage stage, Session& session) {
  if (platform.onStage) platform.onStage(stage, session);
}
