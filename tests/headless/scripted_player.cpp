#include "scripted_player.h"

#include "headless_run.h"

namespace {
// The paddle's centre sits 30 right of its left edge and 45 below its top.
constexpr int kHalfPaddleWidth = 30;
constexpr int kHalfPaddleHeight = 45;
// A serve touches the ball with the paddle's left edge 30 pixels left of the
// ball and its top 30 above it: well inside the hit window.
constexpr int kServeOffsetX = 30;
constexpr int kServeOffsetY = 30;
// Out of the way: the paddle in the top or bottom left corner, whichever the
// ball's height keeps clear of the hit window (30 above to 90 below its top).
constexpr int kAsideCentreX = 30;
constexpr int kAsideTopCentreY = 45;
constexpr int kAsideBottomCentreY = 355;
constexpr int kCourtMiddleY = 182;

void movePaddleCentreTo(Session& s, int x, int y) {
  const SDL_Rect& paddle = s.player.dstRect;
  if (!s.player.firstDraw && paddle.x == x - kHalfPaddleWidth &&
      paddle.y == y - kHalfPaddleHeight) {
    return;
  }
  moveMouse(s, x, y);
}
}  // namespace

void serveThenStandAside(Session& s) {
  if (s.game.paused) return;
  const SDL_Rect& ball = s.ball.dstRect;
  if (s.ball.speed == 0.0) {
    movePaddleCentreTo(s, ball.x - kServeOffsetX + kHalfPaddleWidth,
                       ball.y - kServeOffsetY + kHalfPaddleHeight);
    return;
  }
  movePaddleCentreTo(s, kAsideCentreX,
                     ball.y < kCourtMiddleY ? kAsideBottomCentreY : kAsideTopCentreY);
}

int pointsPlayed(const Session& s) {
  return s.game.playerScore + s.game.computerScore;
}

void quitAfterAPoint(int, Session& s) {
  if (pointsPlayed(s) > 0) {
    pushEvent(SDL_QUIT);
  } else {
    serveThenStandAside(s);
  }
}
