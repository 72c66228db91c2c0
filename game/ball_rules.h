// The ball's arithmetic, kept apart from drawing so that every rule of the
// ball step (hit windows, slopes, speed-ups, truncating moves) can be checked
// on its own.
#pragma once

#include <SDL.h>

#include "game/sizes.h"

// The ball's bottom edge touches the bottom wall.
inline constexpr int kBallLowestYPixels = kCourtHeightPixels - kBallSizePixels;
// The ball's right edge has reached the window's right edge.
inline constexpr int kPlayerPointXPixels = kCourtWidthPixels - kBallSizePixels;
inline constexpr int kComputerPointXPixels = 0;
// Where the ball rests after a point until the player serves it again.
inline constexpr int kServeXPixels = 100;
inline constexpr int kServeYPixels = 182;
// 6 whole pixels per 30 ms frame.
inline constexpr double kServeSpeedPixelsPerMilli = 0.2;
// Each return after the serve speeds the ball up by this times (playerScore + 1),
// so the rallies get harder as the player gets ahead.
inline constexpr double kSpeedGainPixelsPerMilli = 0.0025;

// The player's paddle catches the ball's top-left corner in a window 65 pixels
// wide to the right of the paddle's left edge, from 30 above to 90 below its top.
bool playerPaddleHits(const SDL_Rect& paddle, const SDL_Rect& ball);
// The computer's window lies in the 35 pixels left of its paddle, from 25 above
// to 90 below its top. An all-zero paddle (not yet placed) never hits.
bool computerPaddleHits(const SDL_Rect& paddle, const SDL_Rect& ball);

// Signed slope after a hit, in pixels per millisecond: positive sends the ball
// up, negative down. Hits near the paddle's middle return the ball flat.
double playerHitSlope(int paddleY, int ballY);
double computerHitSlope(int paddleY, int ballY);

// The ball keeps its slope as a magnitude and its vertical direction as a flag.
struct Heading {
  double slope;
  bool movingUp;
};
Heading headingFromSlope(double signedSlope);

// The serve always starts at the same speed; later returns add to it.
double speedAfterPlayerHit(double speed, bool firstHit, int playerScore);

// coordinate + delta in double precision, truncated toward zero. Moves right
// or down therefore advance by the whole part of the step, moves left or up by
// one pixel more while the result stays above zero.
int truncatedMove(int coordinate, double delta);
