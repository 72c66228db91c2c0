// One fixed step of play by the rules alone, in the frame's order: the ball,
// then the computer's aim at the ball's new place, then the computer's paddle.
// Nothing here draws; the frame (app/frame_loop.cpp) shows the step
// afterwards, and a test can run whole matches through it without a window.
#pragma once

#include "game/ball_step.h"
#include "game/records.h"

struct PaddleStep {
  bool erase = false;  // false only before the paddle's first step
  SDL_Rect oldPlace{};
  SDL_Rect newPlace{};
};

// Moves the computer's paddle one step toward its targetY, at the speed its
// own frameMillis gives.
PaddleStep stepComputerPaddle(ComputerPaddle& paddle);

struct PlayStep {
  BallStep ball;
  PaddleStep computer;
};

PlayStep stepPlay(Game& game, Ball& ball, ComputerPaddle& computer, const SDL_Rect& playerRect);
