// The ball's rules, as game/ball_rules.h states them. Nothing here draws or
// plays a sound: the ball's step (game/ball_step.cpp) applies them, and
// present/ball.cpp shows and plays what it did.
#include "game/ball_rules.h"

bool playerPaddleHits(const SDL_Rect& paddle, const SDL_Rect& ball) {
  return paddle.x < ball.x && ball.x <= paddle.x + kPlayerReachRightPixels &&
         paddle.y - kPlayerReachAbovePixels <= ball.y &&
         ball.y <= paddle.y + kPaddleReachBelowPixels;
}

bool computerPaddleHits(const SDL_Rect& paddle, const SDL_Rect& ball) {
  return paddle.x - kComputerReachLeftPixels <= ball.x && ball.x < paddle.x &&
         paddle.y - kComputerReachAbovePixels <= ball.y &&
         ball.y <= paddle.y + kPaddleReachBelowPixels;
}

double playerHitSlope(int paddleY, int ballY) {
  return (paddleY + kPaddleMiddlePixels - ballY) / kPlayerSlopeDivisor;
}

double computerHitSlope(int paddleY, int ballY) {
  // Divided first, then multiplied: the order fixes the last bits of the slope.
  return (paddleY + kPaddleMiddlePixels - ballY) / kComputerSlopeDivisor * kComputerSlopeFactor;
}

Heading headingFromSlope(double signedSlope) {
  if (signedSlope < 0.0) return Heading{-signedSlope, false};
  return Heading{signedSlope, true};
}

double speedAfterPlayerHit(double speed, bool firstHit, int playerScore) {
  if (firstHit) return kServeSpeedPixelsPerMilli;
  return speed + static_cast<double>(playerScore + 1) * kSpeedGainPixelsPerMilli;
}

int truncatedMove(int coordinate, double delta) {
  return static_cast<int>(static_cast<double>(coordinate) + delta);
}
