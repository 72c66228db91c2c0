#include "app/frame_loop.h"

#include "app/input.h"
#include "app/match_flow.h"
#include "game/play_step.h"
#include "present/ball.h"
#include "present/canvas.h"
#include "present/computer_paddle.h"
#include "present/scoreboard.h"

namespace {
void drawScores(Session& s) {
  Game& game = s.game;
  Scoreboard& board = s.scoreboard;
  drawPlayerScore(&board.srcRect, &board.playerDstRect, game.renderer, board.texture,
                  game.playerScore);
  drawComputerScore(&board.srcRect, &board.computerDstRect, game.renderer, board.texture,
                    game.computerScore);
}

void playOneStep(Session& s) {
  Game& game = s.game;
  drawScores(s);
  // The rules decide the whole step first; nothing they read is drawn, so
  // showing it afterwards draws and plays in the order it happened.
  const PlayStep step = stepPlay(game, s.ball, s.computer, s.player.dstRect);
  updateBall(s.ball, step.ball, game.renderer, s.bank, s.courtTexture);
  updateComputerPaddle(s.computer, step.computer, game.renderer, s.courtTexture);
  drawPlayerPaddle(s.player, game.renderer);
  presentCanvas(game.renderer);
}
}  // namespace

Uint32 frameWaitMillis(int frameMillis, double frameElapsed) {
  const int wait = static_cast<int>(static_cast<double>(frameMillis) - frameElapsed);
  return wait > 0 ? static_cast<Uint32>(wait) : 0;
}

bool shouldRunFrame(const Game& game) {
  return game.running && !game.quitRequested && game.started;
}

void runFrame(Session& s, const RunSeam& seam) {
  Game& game = s.game;
  const Sint64 frameStart = seam.nowNanos();
  handleEvents(s);
  const Sint64 eventsHandled = seam.nowNanos();

  if (isMatchOver(game)) endOfMatchStep(s);
  if (game.paused) {
    // Nothing changes on screen while paused but through an event: sleep until
    // the player does something, for as long as that takes. After a quit
    // nothing more is coming, so the loop ends instead.
    if (!game.quitRequested) seam.awaitEvent();
    return;
  }
  s.ball.frameElapsed = static_cast<double>((eventsHandled - frameStart) / kNanosPerMilli);
  playOneStep(s);
  seam.delay(frameWaitMillis(game.frameMillis, s.ball.frameElapsed));
}

void runFrameLoop(Session& s, const RunSeam& seam) {
  while (shouldRunFrame(s.game)) {
    notifyStage(seam, Stage::FrameStart, s);
    runFrame(s, seam);
    notifyStage(seam, Stage::FrameEnd, s);
  }
}
