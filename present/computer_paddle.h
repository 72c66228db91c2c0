// The computer paddle's step on screen: the court put back under its old
// place and the paddle drawn at the new one that its rules
// (game/play_step.h) chose. Does not present.
#pragma once

#include "game/play_step.h"
#include "game/records.h"

void updateComputerPaddle(ComputerPaddle& paddle, const PaddleStep& step, SDL_Renderer* renderer,
                          SDL_Texture* courtTexture);
