// The ball's rules: its places, its speeds, the paddles' hit windows and the
// slopes a hit gives, kept apart from drawing so that every rule of the ball
// step (game/ball_step.cpp) can be checked on its own.
#pragma once

#include <SDL.h>

#include "game/sizes.h"

// ----- places ----------------------------------------------------------------

// The ball's bottom edge touches the bottom wall.
inline constexpr int kBallLowestYPixels = kCourtHeightPixels - kBallSizePixels;
// The ball's right edge has reached the window's right edge.
inline constexpr int kPlayerPointXPixels = kCourtWidthPixels - kBallSizePixels;
inline constexpr int kComputerPointXPixels = 0;
// Where the ball rests after a point until the player serves it again.
inline constexpr int kServeXPixels = 100;
inline constexpr int kServeYPixels = 182;
// The ball's place at start-up, until the first step moves it: the first
// serve is made from further right than the later ones.
inline constexpr SDL_Rect kBallStart{184, 182, kBallSizePixels, kBallSizePixels};

// ----- speeds ----------------------------------------------------------------

// 6 whole pixels per 30 ms frame.
inline constexpr double kServeSpeedPixelsPerMilli = 0.2;
// Each return after the serve speeds the ball up by this times (playerScore + 1),
// so the rallies get harder as the player gets ahead.
inline constexpr double kSpeedGainPixelsPerMilli = 0.0025;

// ----- hit windows -----------------------------------------------------------

// Where the ball's top-left corner counts as a hit, relative to the paddle's
// top-left corner. The player's window reaches past the paddle's width so a
// ball touching its front still counts; the computer's lies wholly in front of
// its paddle.
inline constexpr int kPlayerReachRightPixels = 65;
inline constexpr int kPlayerReachAbovePixels = 30;
inline constexpr int kComputerReachLeftPixels = 35;
inline constexpr int kComputerReachAbovePixels = 25;
inline constexpr int kPaddleReachBelowPixels = 90;

// The player's paddle catches the ball's top-left corner right of the paddle's
// left edge, up to kPlayerReachRightPixels, from kPlayerReachAbovePixels above
// its top to kPaddleReachBelowPixels below it.
bool playerPaddleHits(const SDL_Rect& paddle, const SDL_Rect& ball);
// The computer's window lies in the kComputerReachLeftPixels left of its
// paddle, from kComputerReachAbovePixels above its top to
// kPaddleReachBelowPixels below it. An all-zero paddle (not yet placed) never hits.
bool computerPaddleHits(const SDL_Rect& paddle, const SDL_Rect& ball);

// ----- slopes ----------------------------------------------------------------

// The hit point that returns the ball flat, below the paddle's top. It is
// never whole, so no hit leaves the ball without a slope.
inline constexpr double kPaddleMiddlePixels = 32.5;
inline constexpr double kPlayerSlopeDivisor = 120.0;
inline constexpr double kComputerSlopeDivisor = 115.0;
// The computer returns a little steeper than the player.
inline constexpr double kComputerSlopeFactor = 1.1;

// Signed slope after a hit, in pixels per millisecond: positive sends the ball
// up, negative down. The distance of the ball's top above the paddle's middle
// (kPaddleMiddlePixels below its top), over kPlayerSlopeDivisor, or for the
// computer over kComputerSlopeDivisor and then times kComputerSlopeFactor.
double playerHitSlope(int paddleY, int ballY);
double computerHitSlope(int paddleY, int ballY);

// The ball keeps its slope as a magnitude and its vertical direction as a flag.
struct Heading {
  double slope;
  bool movingUp;
};
Heading headingFromSlope(double signedSlope);

// The serve always starts at kServeSpeedPixelsPerMilli; later returns add to it.
double speedAfterPlayerHit(double speed, bool firstHit, int playerScore);

// coordinate + delta in double precision, truncated toward zero. Moves right
// or down therefore advance by the whole part of the step, moves left or up by
// one pixel more while the result stays above zero.
int truncatedMove(int coordinate, double delta);
