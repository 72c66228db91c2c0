// Runs the whole game in this process with SDL's dummy drivers: a fake clock
// that moves when the game waits (and, if the script says so, while a frame
// handles its events), and a script that pushes events at the title screen and
// before every frame.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "app/run_seam.h"
#include "app/session.h"

struct Script {
  // On the title screen; the default presses the left mouse button.
  std::function<void(Session&)> onTitle;
  // Before frame `frame` (0, 1, ...) polls its events.
  std::function<void(int frame, Session&)> beforeFrame;
  // After frame `frame`, its wait included.
  std::function<void(int frame, Session&)> afterFrame;
  // Once start-up is over, before the first frame.
  std::function<void(Session&)> onCourt;
  // Each time the game waits on the fake clock (the intro wait in slices, then
  // every frame wait), before the clock moves; `startingUp` until the court is drawn.
  std::function<void(Uint32 millis, bool startingUp)> onWait;
  // After shut-down released everything, before the game returns.
  std::function<void(Session&)> onShutDown;
  // How long frame `frame` takes to handle its events: the fake clock moves by
  // this many milliseconds between the frame's two readings. None by default.
  std::function<double(int frame)> eventHandlingMillis;
  int maxFrames = 5000;       // a runaway game is closed here and the run marked
  bool refuseCanvas = false;  // play a renderer that cannot draw into a texture
};

struct RunResult {
  int exitCode = -1;
  int frames = 0;
  bool courtDrawn = false;
  bool hitFrameLimit = false;
  bool shutDown = false;
  Sint64 fakeMillisAtCourt = 0;    // how long start-up waited on the fake clock
  std::vector<Uint32> frameWaits;  // every frame wait handed to the seam
  int eventWaits = 0;              // paused frames that waited for the next event, unlimited
  std::string stderrText;
};

// Runs the game from `folder` (default: the built game's folder).
RunResult runHeadless(const Script& script, const std::string& folder = VOMBA_GAME_DIR);

// A copy of the game's folder in a temporary place, to damage freely.
std::string copyOfGameFolder();

void pushEvent(Uint32 type);
void pushClick(Uint8 button = SDL_BUTTON_LEFT);
// Puts SDL's mouse at window position (x, y) and queues the motion event.
void moveMouse(Session& session, int x, int y);

// Three pictures, each as 0xRRGGBB per pixel, row by row. They differ in where
// they look: what the next present would show (the canvas or, without one,
// the window's back buffer), read through the renderer; what the window shows,
// as the last present left it; what a surface (one of the game's pictures, say)
// holds.
std::vector<Uint32> readPicture(Session& session);
std::vector<Uint32> windowPixels(const Session& session);
std::vector<Uint32> surfacePixels(SDL_Surface* surface);
inline constexpr Uint32 kBlackPixel = 0x000000;
