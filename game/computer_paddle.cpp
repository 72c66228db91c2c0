// The computer paddle's step: its rules (game/paddle_rules.h) with the erase
// and the draw around them.
#include "game/computer_paddle.h"

#include "game/paddle_rules.h"

void updateComputerPaddle(ComputerPaddle& paddle, SDL_Renderer* renderer,
                          SDL_Texture* courtTexture) {
  paddle.srcRect = kPaddleSource;
  // Erase: put the court back under the old place; before the first step
  // there is none.
  if (!paddle.firstDraw) SDL_RenderCopy(renderer, courtTexture, &paddle.dstRect, &paddle.dstRect);

  // The paddle's own frame period sets its speed, not the game's.
  const double stepPixels = paddle.frameMillis * kComputerPaddleSpeedPixelsPerMilli;
  paddle.posY = nextPaddlePosY(paddle.dstRect.y, paddle.targetY, stepPixels);
  paddle.dstRect = SDL_Rect{kComputerPaddleXPixels, placedPaddleY(paddle.posY), kPaddleWidthPixels,
                            kPaddleHeightPixels};

  SDL_RenderCopy(renderer, paddle.texture, &paddle.srcRect, &paddle.dstRect);
  paddle.firstDraw = false;
}
