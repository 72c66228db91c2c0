// The sizes the rules are written against: the court, the two paddles and the
// ball. Plain numbers with no SDL, so that the rules, the game's file
// description (present/game_files.h) and the picture generator in tools/ all
// read the same ones.
#pragma once

inline constexpr int kCourtWidthPixels = 600;
inline constexpr int kCourtHeightPixels = 400;

// Both creatures, the player's and the computer's.
inline constexpr int kPaddleWidthPixels = 60;
inline constexpr int kPaddleHeightPixels = 90;

// The ball is square.
inline constexpr int kBallSizePixels = 36;
