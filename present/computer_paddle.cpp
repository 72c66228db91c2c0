#include "present/computer_paddle.h"

void updateComputerPaddle(ComputerPaddle& paddle, const PaddleStep& step, SDL_Renderer* renderer,
                          SDL_Texture* courtTexture) {
  paddle.srcRect = kPaddleSource;
  if (step.erase) SDL_RenderCopy(renderer, courtTexture, &step.oldPlace, &step.oldPlace);
  SDL_RenderCopy(renderer, paddle.texture, &paddle.srcRect, &step.newPlace);
}
