// The computer paddle's rules: its aim at the ball and its step toward the
// aim, kept apart from drawing so that they can be checked with chosen random
// draws and positions. The paddle's step is game/play_step.cpp, drawn by
// present/computer_paddle.cpp.
#pragma once

#include "game/sizes.h"

inline constexpr int kComputerPaddleXPixels = 530;
// The paddle's bottom edge on the bottom wall.
inline constexpr int kComputerPaddleLowestYPixels = kCourtHeightPixels - kPaddleHeightPixels;
// 9 pixels per 30 ms frame.
inline constexpr double kComputerPaddleSpeedPixelsPerMilli = 0.3;

// ----- the aim ---------------------------------------------------------------

// Aiming the paddle's top this far above the ball's top centres the ball on it.
inline constexpr int kAimAboveBallPixels = 33;
// The random shift of the aim: 0 up to one pixel less than this.
inline constexpr int kAimShiftSpanPixels = 45;

// The target for the paddle's top: kAimAboveBallPixels above the ball's top,
// shifted by secondDraw mod kAimShiftSpanPixels, upwards when firstDraw is
// even and downwards when it is odd. Both draws are rand() results, never
// negative.
int aimTarget(int ballY, int firstDraw, int secondDraw);

// Sets targetY from the ball's y after this frame's ball step, with the two
// draws of a generator seeded from the current second (game/seconds_clock.h).
void aimComputerPaddle(int* targetY, int ballY);

// ----- the step --------------------------------------------------------------

// The paddle rests while its top is within this band around the target. The
// band is wider than one step, so a paddle that reaches it stops there instead
// of swinging past.
inline constexpr int kDeadBandAbovePixels = 20;
inline constexpr int kDeadBandBelowPixels = 10;

// The paddle's new height before truncation: one step toward the target, or no
// move at all inside the dead band, from less than kDeadBandAbovePixels above
// the target to kDeadBandBelowPixels below it.
double nextPaddlePosY(int y, int targetY, double stepPixels);

// posY truncated toward zero and kept on the court, 0..kComputerPaddleLowestYPixels.
int placedPaddleY(double posY);
