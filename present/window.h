// The game's window: its title, where it opens on the screen, and its size,
// which is the court's. Plain numbers with no SDL, so that the generator can
// hand them on to the end-to-end tests and the benchmarks with the rest of the
// game's facts (tools/facts.cpp).
#pragma once

#include "game/sizes.h"

inline constexpr const char* kWindowTitle = "VombaPong DO NOT DISTRIBUTE";
// Where the window opens on the screen; the floor program opens its own there too.
inline constexpr int kWindowScreenX = 300;
inline constexpr int kWindowScreenY = 100;
// The window shows the whole court.
inline constexpr int kWindowWidthPixels = kCourtWidthPixels;
inline constexpr int kWindowHeightPixels = kCourtHeightPixels;
