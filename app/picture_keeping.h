// Keeping the window's picture, also while the game waits: whenever the
// window is exposed (uncovered, restored, first mapped), it is shown again
// from the canvas. The start screen, the intro wait and the frame's events
// each look for exposures.
#pragma once

#include <SDL.h>

#include "app/run_seam.h"

bool isExposure(const SDL_Event& event);

// Waits `millis` on the seam's clock; meanwhile repaints the window when it
// is exposed. Every other event stays queued for the frame loop.
void waitKeepingPicture(SDL_Renderer* renderer, Uint32 millis, const RunSeam& seam);
