// The computer's paddle: aimed at the ball with a random offset that can change
// once a second, then moved 9 pixels a frame with a dead band around the target.
#pragma once

#include "game/records.h"

// Sets targetY from the ball's y after this frame's ball step.
void aimComputerPaddle(int* targetY, int ballY);

// Erases the paddle, moves it toward targetY, draws it. Does not present.
void updateComputerPaddle(ComputerPaddle& paddle, SDL_Renderer* renderer,
                          SDL_Texture* courtTexture);
