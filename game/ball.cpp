// The ball step: the ball's rules (game/ball_rules.h) applied in their order,
// with the erase, the draw, the cues and the present around them.
#include "game/ball.h"

#include "game/ball_rules.h"
#include "present/canvas.h"
#include "present/sounds.h"

namespace {

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
