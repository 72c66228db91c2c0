// A player for whole-program runs that needs no luck: it serves every ball and
// then keeps its paddle out of the ball's way, so the computer scores a point
// a few seconds of game time after every serve.
#pragma once

#include "app/session.h"

// Call before every frame: moves the mouse (through the event queue) only when
// the paddle has to go somewhere new.
void serveThenStandAside(Session& session);

// Call before every frame: serves and stands aside until a point has been
// played, then closes the window.
void quitAfterAPoint(int frame, Session& session);

// The points scored so far by both sides together.
int pointsPlayed(const Session& session);
