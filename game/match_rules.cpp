#include "game/match_rules.h"

bool isMatchOver(const Game& game) {
  return game.playerScore == kWinningScore || game.computerScore == kWinningScore;
}

void startMatch(Game& game) {
  game.playerScore = 0;
  game.computerScore = 0;
  game.running = true;
  game.outroPlayed = false;
}
