// The frame loop: events, one fixed step of play, drawing, and the wait that
// fills the 30 ms frame period.
#pragma once

#include "app/run_seam.h"
#include "app/session.h"

// Whole milliseconds the frame still waits after its event handling took
// `frameElapsed` ms; never negative.
Uint32 frameWaitMillis(int frameMillis, double frameElapsed);

bool shouldRunFrame(const Game& game);

// One frame: events, end-of-match step, and unless paused the scores, the ball,
// the computer paddle, the player's paddle, the present and the wait. A paused
// frame waits for the next event instead.
void runFrame(Session& session, const RunSeam& seam);

// Runs frames until a quit has been requested.
void runFrameLoop(Session& session, const RunSeam& seam);
