// Plays the end of a run as the game lives it on X11, with the late wake-up
// made certain: a message sent on a connection of its own to a window that is
// already gone, whose error arrives only as that connection closes, after
// SDL_Quit. Run under a real X server by test_x11_wakeups.py.
//
//   x11_wakeup_check late-wakeup   exit 0: the game survives it
//   x11_wakeup_check other-error   exit 1: any other X error still ends it
#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

#include "app/platform_parts.h"

int main(int argc, char* argv[]) {
  const bool lateWakeUp = argc == 2 && std::strcmp(argv[1], "late-wakeup") == 0;
  if (argc != 2 || (!lateWakeUp && std::strcmp(argv[1], "other-error") != 0)) {
    std::fprintf(stderr, "usage: %s late-wakeup|other-error\n", argv[0]);
    return 2;
  }
  ignoreLateWakeUps();  // as start-up does, before SDL opens the display
  SDL_Window* window = SDL_CreateWindow("wake-up check", 0, 0, 60, 40, 0);
  if (window == nullptr) {
    std::fprintf(stderr, "no window: %s\n", SDL_GetError());
    return 2;
  }

  Display* second = XOpenDisplay(nullptr);
  if (second == nullptr) return 2;
  const Window gone = XCreateSimpleWindow(second, DefaultRootWindow(second), 0, 0, 1, 1, 0, 0, 0);
  XDestroyWindow(second, gone);
  if (lateWakeUp) {
    XEvent wakeUp{};
    wakeUp.xclient.type = ClientMessage;
    wakeUp.xclient.window = gone;
    wakeUp.xclient.format = 8;
    XSendEvent(second, gone, False, NoEventMask, &wakeUp);
  } else {
    XMapWindow(second, gone);
  }
  XFlush(second);

  SDL_DestroyWindow(window);
  SDL_Quit();             // puts back the error handler SDL found when it opened the display
  XCloseDisplay(second);  // the error arrives here
  std::puts("survived");
  return 0;
}
