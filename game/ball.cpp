#include "game/ball.h"

#include "game/ball_rules.h"
#include "present/canvas.h"
#include "present/sounds.h"

namespace {

constexpr double kPlayerSlopeDivisor = 120.0;
constexpr double kComputerSlopeDivisor = 115.0;
// The computer returns a little steeper than the player.
constexpr double kComputerSlopeFactor = 1.1;
// The hit point that returns the ball flat, below the paddle's top. It is
// never whole, so no hit leaves the ball without a slope.
constexpr double kPaddleMiddlePixels = 32.5;

// Hit windows for the ball's top-left corner, relative to the paddle's top-left.
// The player's reaches past the paddle's 60-pixel width so a ball touching its
// front still counts; the computer's lies wholly in front of its paddle.
constexpr int kPlayerReachRightPixels = 65;
constexpr int kPlayerReachAbovePixels = 30;
constexpr int kComputerReachLeftPixels = 35;
constexpr int kComputerReachAbovePixels = 25;
constexpr int kPaddleReachBelowPixels = 90;

void takeHeading(Ball& ball, double signedSlope) {
  const Heading heading = headingFromSlope(signedSlope);
  ball.slope = heading.slope;
  ball.movingUp = heading.movingUp;
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

}  // namespace

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

void updateBall(Ball& ball, Game& game, const SDL_Rect& playerRect, const SDL_Rect& computerRect,
                SoundBank& bank, SDL_Texture* courtTexture) {
  SDL_Rect& place = ball.dstRect;
  const double frameMillis = static_cast<double>(game.frameMillis);
  ball.srcRect = kBallSource;

  // Paddle hits: tested before the move and whatever the direction, so a ball
  // still inside a window next frame is hit again.
  if (playerPaddleHits(playerRect, place)) {
    ball.movingRight = true;
    ball.speed = speedAfterPlayerHit(ball.speed, ball.firstHit, game.playerScore);
    ball.firstHit = false;
    takeHeading(ball, playerHitSlope(playerRect.y, place.y));
    playCue(bank, CueGroup::Player);
  }
  if (computerPaddleHits(computerRect, place)) {
    ball.movingRight = false;
    takeHeading(ball, computerHitSlope(computerRect.y, place.y));
    playCue(bank, CueGroup::Computer);
  }

  // Erase: the window keeps its picture, so only the ball's old place needs
  // the court put back. Before the first step there is nothing to cover.
  if (!ball.firstDraw) SDL_RenderCopy(game.renderer, courtTexture, &place, &place);

  // Horizontal move and scoring: exactly one direction runs.
  if (ball.movingRight) {
    place.x = truncatedMove(place.x, frameMillis * ball.speed);
    ball.firstDraw = false;
    if (place.x >= kPlayerPointXPixels) {
      ++game.playerScore;
      playCue(bank, CueGroup::Player);
      resetForServe(ball);
    }
  } else {
    place.x = truncatedMove(place.x, -(frameMillis * ball.speed));
    ball.firstDraw = false;
    if (place.x <= kComputerPointXPixels) {
      ++game.computerScore;
      playCue(bank, CueGroup::Computer);
      resetForServe(ball);
    }
  }

  // Vertical move: the top wall turns the ball within the same frame (the
  // downward move follows at once), the bottom wall from the next frame on.
  if (ball.movingUp) {
    place.y = truncatedMove(place.y, -(frameMillis * ball.slope));
    ball.firstDraw = false;
    if (place.y <= 0) ball.movingUp = false;
  }
  if (!ball.movingUp) {
    place.y = truncatedMove(place.y, frameMillis * ball.slope);
    ball.firstDraw = false;
    if (place.y >= kBallLowestYPixels) ball.movingUp = true;
  }
  if (place.y < 0) place.y = 0;
  if (place.y > kBallLowestYPixels) place.y = kBallLowestYPixels;

  SDL_RenderCopy(game.renderer, ball.texture, &ball.srcRect, &place);
  presentCanvas(game.renderer);
}
