// Each side has a group of sound cues, and every paddle hit and every point of
// that side starts one of them, drawn at random. How many each group holds
// sizes the sound bank's record (game/records.h) and the list of the game's
// sound files (present/game_files.h). A plain number with no SDL, so that the
// generator in tools/ reads it too.
#pragma once

inline constexpr int kCueCount = 14;
