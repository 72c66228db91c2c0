#include "app/match_flow.h"

#include "app/problem_reports.h"
#include "game/match_rules.h"
#include "present/canvas.h"
#include "present/pictures.h"
#include "present/scoreboard.h"
#include "present/sounds.h"

void setPaused(Game& game, bool paused) {
  game.paused = paused;
  SDL_SetRelativeMouseMode(paused ? SDL_FALSE : SDL_TRUE);
}

void endOfMatchStep(Session& s) {
  Game& game = s.game;
  // The display is drawn and shown on the first pass after the tenth point.
  // Later passes would draw the very same picture, which the window already
  // shows (and shows again whenever it is exposed); redrawing and presenting
  // it 33 times a second would only keep a core busy while the player decides.
  if (!game.outroPlayed) {
    Scoreboard& board = s.scoreboard;
    drawComputerScore(&board.srcRect, &board.computerDstRect, game.renderer, board.texture,
                      game.computerScore);
    drawPlayerScore(&board.srcRect, &board.playerDstRect, game.renderer, board.texture,
                    game.playerScore);
    startSound(s.bank.outro);
    drawEndButtons(&board.srcRect, &board.playerDstRect, game.renderer, board.texture);
    presentCanvas(game.renderer);
  }
  game.outroPlayed = true;
  setPaused(game, true);
}

void playAgain(Session& s) {
  // A play again that failed stops the game; WEITER clicks queued behind it in
  // the same frame try nothing more: no second message, no new match begun in
  // a game that is leaving.
  if (s.exitCode != 0) return;
  Game& game = s.game;
  Scoreboard& board = s.scoreboard;
  // The sheet is read first: a new match it cannot draw is never begun, so the
  // end-of-match display stays as it was until the game stops.
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

  startMatch(game);
  SDL_RenderCopy(game.renderer, s.courtTexture, nullptr, nullptr);
  destroyTexture(&board.texture);
  freeSurface(&board.surface);
  board.surface = surface;
  board.texture = texture;

  presentCanvas(game.renderer);
  setPaused(game, false);
  startSound(s.bank.intro);
}

void requestQuit(Game& game) {
  game.running = false;
  game.quitRequested = true;
}
