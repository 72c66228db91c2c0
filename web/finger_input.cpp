#include "web/finger_input.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A finger that lifts sooner than a long press (half a second on phones),
// without wandering further than the slop (in window pixels), tapped;
// anything else steered.
constexpr Uint32 kTapMaxMillis = 500;
constexpr float kTapSlopPixels = 10.0f;

struct SteeringFinger {
  bool down = false;
  SDL_FingerID id = 0;
  Uint32 downMillis = 0;
  SDL_Point downPlace{};
  bool wandered = false;
};

SteeringFinger finger;
std::function<void()> tapHandler;
bool lastPressByFinger = false;

// SDL gives a finger's place as a fraction of the canvas's shown size.
SDL_Point windowPlace(SDL_Window* window, float x, float y) {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  return {std::clamp(static_cast<int>(x * static_cast<float>(width)), 0, width - 1),
          std::clamp(static_cast<int>(y * static_cast<float>(height)), 0, height - 1)};
}

void pushMouseEvent(SDL_Window* window, Uint32 type, SDL_Point at) {
  SDL_Event event{};
  event.type = type;
  if (type == SDL_MOUSEMOTION) {
    event.motion.windowID = SDL_GetWindowID(window);
    event.motion.x = at.x;
    event.motion.y = at.y;
  } else {
    event.button.windowID = SDL_GetWindowID(window);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = at.x;
    event.button.y = at.y;
  }
  SDL_PushEvent(&event);
}

// Puts the mouse where the finger is. Held by the game (relative mode), the
// mouse moves without an event of SDL's own, so the game hears one of ours.
void moveMouseTo(SDL_Window* window, SDL_Point at) {
  SDL_WarpMouseInWindow(window, at.x, at.y);
  if (SDL_GetRelativeMouseMode()) pushMouseEvent(window, SDL_MOUSEMOTION, at);
}

void onFinger(const SDL_TouchFingerEvent& touch) {
  SDL_Window* window = SDL_GetWindowFromID(touch.windowID);
  if (window == nullptr) return;
  if (touch.type == SDL_FINGERDOWN) {
    if (finger.down) return;
    finger = {true, touch.fingerId, touch.timestamp, windowPlace(window, touch.x, touch.y), false};
    lastPressByFinger = true;
  } else if (!finger.down || touch.fingerId != finger.id) {
    return;
  }
  const SDL_Point at = windowPlace(window, touch.x, touch.y);
  moveMouseTo(window, at);
  if (std::hypot(static_cast<float>(at.x - finger.downPlace.x),
                 static_cast<float>(at.y - finger.downPlace.y)) > kTapSlopPixels) {
    finger.wandered = true;
  }
  if (touch.type != SDL_FINGERUP) return;
  finger.down = false;
  if (finger.wandered || touch.timestamp - finger.downMillis > kTapMaxMillis) return;
  if (tapHandler) tapHandler();
  pushMouseEvent(window, SDL_MOUSEBUTTONDOWN, at);
  pushMouseEvent(window, SDL_MOUSEBUTTONUP, at);
}

// Runs as each event is queued, inside the browser's event. The fingers'
// own events are kept from the game, which has no use for them.
int SDLCALL filterEvent(void*, SDL_Event* event) {
  switch (event->type) {
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
      onFinger(event->tfinger);
      return 0;
    default:
      return 1;
  }
}

}  // namespace

void startFingerInput(std::function<void()> onTap) {
  tapHandler = std::move(onTap);
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  SDL_SetEventFilter(filterEvent, nullptr);
}

bool playingByFinger() {
  return lastPressByFinger;
}

void notePressByMouse() {
  lastPressByFinger = false;
}
