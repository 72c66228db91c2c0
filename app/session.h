// Everything main owns for the whole run: the six records, the court picture
// (which belongs to no record) and the canvas every present shows.
#pragma once

#include "game/records.h"

struct Session {
  Game game = Game();
  SoundBank bank = SoundBank();
  PlayerPaddle player = PlayerPaddle();
  Ball ball = Ball();
  ComputerPaddle computer = ComputerPaddle();
  Scoreboard scoreboard = Scoreboard();
  SDL_Surface* courtSurface = nullptr;  // "pong.bmp", also the eraser of every sprite
  SDL_Texture* courtTexture = nullptr;
  SDL_Texture* canvas = nullptr;
  int exitCode = 0;  // 1 once the game had to stop for a file it cannot do without
};
