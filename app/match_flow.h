// The pause, the end of a match and the two ways out of it: play again and quit.
#pragma once

#include "app/session.h"
#include "game/match_rules.h"  // isMatchOver

// Pauses or resumes play. The mouse is held by the window during play, so the
// player's paddle hears every motion, and free while paused.
void setPaused(Game& game, bool paused);

// Runs in every frame in which a side has 10 points, right after the events:
// the first pass draws and presents the end-of-match display and starts the
// outro; every pass keeps play paused and the mouse free.
void endOfMatchStep(Session& session);

// A new match from the end-of-match display: the sprite sheet read afresh,
// scores and flags reset, the court drawn whole, the intro started. A sheet
// that can no longer be read stops the game (reported) after this frame, with
// nothing of a new match begun or shown; once the game has had to stop, it
// does nothing.
void playAgain(Session& session);

// A quit from the close button or ENDE: this frame still runs to its end.
void requestQuit(Game& game);
