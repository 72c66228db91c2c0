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
  platform.awaitEvent = [](int millis) { SDL_WaitEventTimeout(nullptr, millis); };
  return platform;
}

void notifyStage(const Platform& platform, Stage stage, Session& session) {
  if (platform.onStage) platform.onStage(stage, session);
}
