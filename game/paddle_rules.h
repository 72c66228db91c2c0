// The computer paddle's arithmetic, kept apart from drawing so that the aim
// and the step can be checked with chosen random draws and positions.
#pragma once

#include "game/sizes.h"

inline constexpr int kComputerPaddleXPixels = 530;
// The paddle's bottom edge on the bottom wall.
inline constexpr int kComputerPaddleLowestYPixels = kCourtHeightPixels - kPaddleHeightPixels;
// 9 pixels per 30 ms frame.
inline constexpr double kComputerPaddleSpeedPixelsPerMilli = 0.3;

// The target for the paddle's top: 33 pixels above the ball's top, shifted by
// secondDraw mod 45 pixels, upwards when firstDraw is even and downwards when
// it is odd. Both draws are rand() results, never negative.
int aimTarget(int ballY, int firstDraw, int secondDraw);

// The paddle's new height before truncation: one step toward the target, or no
// move at all inside the dead band from 19 pixels above the target to 10 below.
double nextPaddlePosY(int y, int targetY, double stepPixels);

// posY truncated toward zero and kept on the court, 0..kComputerPaddleLowestYPixels.
int placedPaddleY(double posY);
