#include "game/play_step.h"

#include "game/paddle_rules.h"

PaddleStep stepComputerPaddle(ComputerPaddle& paddle) {
  PaddleStep step;
  step.erase = !paddle.firstDraw;
  step.oldPlace = paddle.dstRect;
  // The paddle's own frame period sets its speed, not the game's.
  const double stepPixels = paddle.frameMillis * kComputerPaddleSpeedPixelsPerMilli;
  paddle.posY = nextPaddlePosY(paddle.dstRect.y, paddle.targetY, stepPixels);
  paddle.dstRect = SDL_Rect{kComputerPaddleXPixels, placedPaddleY(paddle.posY), kPaddleWidthPixels,
                            kPaddleHeightPixels};
  paddle.firstDraw = false;
  step.newPlace = paddle.dstRect;
  return step;
}

PlayStep stepPlay(Game& game, Ball& ball, ComputerPaddle& computer, const SDL_Rect& playerRect) {
  PlayStep step;
  step.ball = stepBall(ball, game, playerRect, computer.dstRect);
  aimComputerPaddle(&computer.targetY, ball.dstRect.y);
  step.computer = stepComputerPaddle(computer);
  return step;
}
