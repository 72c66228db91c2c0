// The computer's paddle step: moved toward the target its aim set
// (aimComputerPaddle in game/paddle_rules.h), 9 pixels a frame with a dead
// band around the target, then drawn.
#pragma once

#include "game/records.h"

// Erases the paddle, moves it toward targetY, draws it. Does not present.
void updateComputerPaddle(ComputerPaddle& paddle, SDL_Renderer* renderer,
                          SDL_Texture* courtTexture);
