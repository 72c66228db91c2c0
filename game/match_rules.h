// How a match ends and a new one begins. The match flow (app/), the
// scoreboard that shows the winning score (present/) and the tests read it.
#pragma once

#include "game/records.h"

// A match ends when either side has exactly this many points. The scoreboard
// shows a score of two digits with two cells of the sheet
// (present/scoreboard.cpp), and every lower score with one.
inline constexpr int kWinningScore = 10;

bool isMatchOver(const Game& game);

// Both scores back to 0, and the game running with the outro still to come.
// The ball is left alone: the point that ended the match put it at rest.
void startMatch(Game& game);
