#include "web/browser_seam.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "app/match_flow.h"
#include "web/finger_input.h"

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

}  // namespace

RunSeam browserRunSeam() {
  RunSeam seam = realRunSeam();
  seam.onStage = onStage;
  return seam;
}
