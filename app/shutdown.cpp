#include "app/shutdown.h"

#include "present/pictures.h"
#include "present/sounds.h"

void releaseSession(Session& s) {
  Game& game = s.game;
  freeSoundBank(s.bank);

  destroyTexture(&game.startTexture);
  destroyTexture(&s.courtTexture);
  destroyTexture(&s.scoreboard.texture);
  destroyTexture(&s.player.texture);
  destroyTexture(&s.computer.texture);
  destroyTexture(&s.ball.texture);
  if (game.renderer != nullptr) SDL_SetRenderTarget(game.renderer, nullptr);
  destroyTexture(&s.canvas);

  freeSurface(&game.startSurface);
  freeSurface(&s.courtSurface);
  freeSurface(&s.scoreboard.surface);
  freeSurface(&s.player.surface);
  freeSurface(&s.computer.surface);
  freeSurface(&s.ball.surface);

  if (game.renderer != nullptr) SDL_DestroyRenderer(game.renderer);
  if (game.window != nullptr) SDL_DestroyWindow(game.window);
  game.renderer = nullptr;
  game.window = nullptr;
}

void shutDown(Session& s) {
  releaseSession(s);
  // Closing the device here rather than leaving it to SDL_Quit lets the mixer
  // free its channel tables and forget the device, so nothing leaks.
  Mix_CloseAudio();
  Mix_Quit();
  SDL_Quit();
}
