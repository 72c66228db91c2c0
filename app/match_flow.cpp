#include "app/match_flow.h"

#include "app/errors.h"
#include "app/input.h"
#include "present/canvas.h"
#include "present/pictures.h"
#include "present/scoreboard.h"
#include "present/sounds.h"

bool isMatchOver(const Game& game) {
  return game.playerScore == kWinningScore || game.computerScore == kWinningScore;
}

void endOfMatchStep(Session& s) {
  Game& game = s.game;
  Scoreboard& board = s.scoreboard;
  drawComputerScore(&board.srcRect, &board.computerDstRect, game.renderer, board.texture,
                    game.computerScore);
  drawPlayerScore(&board.srcRect, &board.playerDstRect, game.renderer, board.texture,
                  game.playerScore);
  const bool firstPass = !game.outroPlayed;
  if (firstPass) startSound(s.bank.outro);
  game.outroPlayed = true;
  game.paused = true;
  drawEndButtons(&board.srcRect, &board.playerDstRect, game.renderer, board.texture);
  // Later passes draw the very same picture, which the window already shows
  // (and shows again whenever it is exposed); presenting it 33 times a second
  // would only keep a core busy while the player decides.
  if (firstPass) presentCanvas(game.renderer);
  SDL_SetRelativeMouseMode(SDL_FALSE);
}

void playAgain(Session& s) {
  Game& game = s.game;
  Scoreboard& board = s.scoreboard;
  game.playerScore = 0;
  game.computerScore = 0;
  game.paused = false;
  game.running = true;
  game.outroPlayed = false;
  SDL_RenderCopy(game.renderer, s.courtTexture, nullptr, nullptr);

  SDL_Surface* surface = nullptr;
  SDL_Texture* texture = nullptr;
  std::string problem = loadPicture(game.renderer, kSheetPicture, &surface, &texture);
  if (!problem.empty()) {
    // The old sheet stays in the record until shut-down releases it.
    reportFatal(game.window, problem + ". The game cannot run without it.");
    requestQuit(game);
    s.exitCode = 1;
    return;
  }
  destroyTexture(&board.texture);
  freeSurface(&board.surface);
  board.surface = surface;
  board.texture = texture;

  presentCanvas(game.renderer);
  SDL_SetRelativeMouseMode(SDL_TRUE);
  startSound(s.bank.intro);
}
