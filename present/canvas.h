// The window keeps no picture between presents on every renderer (the back
// buffer is undefined afterwards), yet the game draws incrementally and never
// clears. So all drawing goes into a 600 x 400 canvas texture, the renderer's
// target, and every present shows the canvas.
#pragma once

#include <SDL.h>

#include <functional>

// Makes the canvas and sets it as the renderer's target. Null on failure, also
// when the renderer makes the texture but will not take it as its target; the
// renderer then draws into the window, and SDL_GetError says why.
// The game's canvas is RGB888; the benchmarks try others.
SDL_Texture* createCanvas(SDL_Renderer* renderer, Uint32 pixelFormat = SDL_PIXELFORMAT_RGB888);

// Shows the canvas in the window: the present of every drawing step.
// With no canvas as the target it presents the renderer as it is.
void presentCanvas(SDL_Renderer* renderer);

// Sees every present with the picture it shows, before it is shown; it may
// read it with SDL_RenderReadPixels. Tests look at each present through it;
// the game watches none.
using PresentWatcher = std::function<void(SDL_Renderer* renderer)>;
void watchPresents(PresentWatcher watcher);
