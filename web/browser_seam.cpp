#include "web/browser_seam.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <functional>

#include "app/match_flow.h"
#include "web/finger_input.h"

extern "C" int __real_SDL_UpdateWindowSurface(SDL_Window* window);

namespace {

// The canvas SDL draws into; the page names it so (web/page.html.in).
constexpr const char* kCanvas = "#canvas";
// The mouse buttons SDL takes from a browser: left, middle, right.
constexpr unsigned short kLastSdlButton = 2;

bool titleShowing = false;
// Set by the browser's events, read by the game between frames: the browser
// let the pointer go, or refused it, while the game wanted it held.
bool pointerLostInPlay = false;

// The browser starts a page's sound only from a gesture. The game opens its
// audio after the title click, when the click's handler is long over, so the
// page makes the audio in the click (web/page.js) and SDL takes it up when the
// game opens its audio.
EM_JS(void, startAudioInGesture, (), { Module['vombaStartAudio'](); });

// The page's end screen (web/page.js).
EM_JS(void, showEndScreen, (int exitCode), { Module['vombaGameEnded'](exitCode); });

// Runs beside SDL's own handler of the same press, inside the browser's event.
EM_BOOL onMouseDown(int, const EmscriptenMouseEvent* event, void*) {
  if (event->button > kLastSdlButton) return EM_FALSE;
  notePressByMouse();
  if (!titleShowing) return EM_FALSE;
  titleShowing = false;
  startAudioInGesture();
  // The game asks for the pointer only after the intro, too late for the
  // gesture; it then finds the pointer held already.
  emscripten_request_pointerlock(kCanvas, EM_FALSE);
  return EM_FALSE;
}

// A touch screen grants no pointer, and a finger needs none: only a mouse
// player is paused for the lack of it. A browser that grants it to a finger
// anyway gets it back, lest it hide a mouse the player reaches for later.
EM_BOOL onPointerLockChange(int, const EmscriptenPointerlockChangeEvent* change, void*) {
  if (change->isActive && playingByFinger()) emscripten_exit_pointerlock();
  if (!change->isActive && SDL_GetRelativeMouseMode() && !playingByFinger()) {
    pointerLostInPlay = true;
  }
  return EM_FALSE;
}

EM_BOOL onPointerLockError(int, const void*, void*) {
  if (SDL_GetRelativeMouseMode() && !playingByFinger()) pointerLostInPlay = true;
  return EM_FALSE;
}

// The tap on the title starts the sound as the click does; the pointer is
// left alone, since a finger steers without it.
void onTap() {
  if (!titleShowing) return;
  titleShowing = false;
  startAudioInGesture();
}

void onStage(Stage stage, Session& session) {
  switch (stage) {
    case Stage::TitleShown:
      titleShowing = true;
      startFingerInput(onTap);
      emscripten_set_mousedown_callback(kCanvas, nullptr, EM_FALSE, onMouseDown);
      emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                                onPointerLockChange);
      emscripten_set_pointerlockerror_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                               onPointerLockError);
      break;
    case Stage::FrameStart:
      // Unsteered play would go on without the player: pause as a click does,
      // which leaves the pointer free; the next click plays on and holds it.
      if (pointerLostInPlay && !session.game.paused) setPaused(session.game, true);
      pointerLostInPlay = false;
      break;
    case Stage::ShutDown:
      showEndScreen(session.exitCode);
      break;
    default:
      break;
  }
}

// Where the browser gives SDL no WebGL, SDL's software renderer shows the
// window by copying every pixel into the 2D canvas (SDL_UpdateWindowSurface).
// Within a frame nobody sees a present but the last, the browser showing the
// canvas only once the frame waits: the picture of a frame's presents is
// copied once, just before its wait (the build wraps the function).
bool picturesHeld = false;
SDL_Window* pictureHeldFor = nullptr;

void showHeldPicture() {
  if (pictureHeldFor != nullptr) __real_SDL_UpdateWindowSurface(pictureHeldFor);
  pictureHeldFor = nullptr;
}

// SDL reads one switch for two things in a page: whether its waits (SDL_Delay,
// SDL_WaitEvent) give the browser its turn, which they must, and whether every
// present does too, through a zero-length timeout. The browser clamps such
// nested timeouts to 4 ms or more, and a frame of play presents twice: 8 to 10
// ms a frame on top of the 30 ms wait, a quarter of the pace. The frame's own
// wait gives the browser its turn to show the canvas anyway, so the switch is
// on only while the game waits. Every wait after the title's goes through the
// run seam; the title's comes first and runs with SDL's default, on.
void waitGivingTurn(const std::function<void()>& wait) {
  showHeldPicture();
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "1");
  picturesHeld = false;
  wait();
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
  picturesHeld = true;
}

}  // namespace

extern "C" int __wrap_SDL_UpdateWindowSurface(SDL_Window* window) {
  if (!picturesHeld) return __real_SDL_UpdateWindowSurface(window);
  pictureHeldFor = window;
  return 0;
}

RunSeam browserRunSeam() {
  RunSeam seam = realRunSeam();
  seam.onStage = onStage;
  seam.delay = [delay = seam.delay](Uint32 millis) {
    waitGivingTurn([&] { delay(millis); });
  };
  seam.awaitEvent = [awaitEvent = seam.awaitEvent] { waitGivingTurn(awaitEvent); };
  return seam;
}
