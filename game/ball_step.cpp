// The ball's step by its rules, in the order they run: hits, the move across
// with its point, the move up and down with its turns. What each did goes into
// the BallStep that the step on screen (present/ball.cpp) then shows.
#include "game/ball_step.h"

#include "game/ball_rules.h"

namespace {

void takeHeading(Ball& ball, double signedSlope) {
  const Heading heading = headingFromSlope(signedSlope);
  ball.slope = heading.slope;
  ball.movingUp = heading.movingUp;
}

// Paddle hits: tested before the move and whatever the direction, so a ball
// still inside a window next frame is hit again.
void takeHits(BallStep& step, Ball& ball, const Game& game, const SDL_Rect& playerRect,
              const SDL_Rect& computerRect) {
  if (playerPaddleHits(playerRect, ball.dstRect)) {
    step.playerHit = true;
    ball.movingRight = true;
    ball.speed = speedAfterPlayerHit(ball.speed, ball.firstHit, game.playerScore);
    ball.firstHit = false;
    takeHeading(ball, playerHitSlope(playerRect.y, ball.dstRect.y));
  }
  if (computerPaddleHits(computerRect, ball.dstRect)) {
    step.computerHit = true;
    ball.movingRight = false;
    takeHeading(ball, computerHitSlope(computerRect.y, ball.dstRect.y));
  }
}

// After a point the ball rests at the serve place until the player touches it;
// the direction flags stay as they are, the serve hit sets them.
void resetForServe(Ball& ball) {
  ball.firstHit = true;
  ball.slope = 0.0;
  ball.speed = 0.0;
  ball.dstRect.x = kServeXPixels;
  ball.dstRect.y = kServeYPixels;
}

// Horizontal move and scoring: exactly one direction runs.
void moveAcross(BallStep& step, Ball& ball, Game& game, double frameMillis) {
  SDL_Rect& place = ball.dstRect;
  if (ball.movingRight) {
    place.x = truncatedMove(place.x, frameMillis * ball.speed);
    if (place.x >= kPlayerPointXPixels) step.point = PointFor::Player;
  } else {
    place.x = truncatedMove(place.x, -(frameMillis * ball.speed));
    if (place.x <= kComputerPointXPixels) step.point = PointFor::Computer;
  }
  if (step.point == PointFor::Player) ++game.playerScore;
  if (step.point == PointFor::Computer) ++game.computerScore;
  if (step.point != PointFor::Nobody) resetForServe(ball);
}

// Vertical move: the top wall turns the ball within the same frame (the
// downward move follows at once), the bottom wall from the next frame on.
void moveUpAndDown(BallStep& step, Ball& ball, double frameMillis) {
  SDL_Rect& place = ball.dstRect;
  if (ball.movingUp) {
    place.y = truncatedMove(place.y, -(frameMillis * ball.slope));
    if (place.y <= 0) {
      ball.movingUp = false;
      step.turnedAtTop = true;
    }
  }
  if (!ball.movingUp) {
    place.y = truncatedMove(place.y, frameMillis * ball.slope);
    if (place.y >= kBallLowestYPixels) {
      ball.movingUp = true;
      step.turnedAtBottom = true;
    }
  }
  if (place.y < 0) place.y = 0;
  if (place.y > kBallLowestYPixels) place.y = kBallLowestYPixels;
}

}  // namespace

BallStep stepBall(Ball& ball, Game& game, const SDL_Rect& playerRect,
                  const SDL_Rect& computerRect) {
  BallStep step;
  const double frameMillis = static_cast<double>(game.frameMillis);
  takeHits(step, ball, game, playerRect, computerRect);
  // Before the first step nothing has been drawn that needs covering.
  step.erase = !ball.firstDraw;
  step.oldPlace = ball.dstRect;
  moveAcross(step, ball, game, frameMillis);
  ball.firstDraw = false;
  moveUpAndDown(step, ball, frameMillis);
  step.newPlace = ball.dstRect;
  return step;
}
