// How a match ends. A plain number with no SDL: the match flow (app/), the
// scoreboard that shows the winning score (present/) and the tests read it.
#pragma once

// A match ends when either side has exactly this many points. The scoreboard
// shows it with two digits of the sheet, a 1 and a 0 (present/scoreboard.cpp),
// and every lower score with one.
inline constexpr int kWinningScore = 10;
