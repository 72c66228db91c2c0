#include "app/input.h"

#include <algorithm>

#include "app/match_flow.h"
#include "app/picture_keeping.h"
#include "present/canvas.h"
#include "present/sheet_layout.h"

namespace {
// The click areas of the end-of-match buttons, from where the scoreboard draws
// them. Both reach down to the window's bottom edge, below the drawn buttons,
// and WEITER's ends where ENDE's begins, under the last columns of WEITER's
// button: a click there quits.
static_assert(kWeiterButton.y == kEndeButton.y);
constexpr int kButtonsTopY = kEndeButton.y;
constexpr int kButtonsBottomY = kCourtHeightPixels;
constexpr int kButtonsSplitX = kEndeButton.x;
constexpr int kPlayAgainLeftX = kWeiterButton.x;
constexpr int kQuitRightX = kEndeButton.x + kEndeButton.w;
}  // namespace

int clampPaddleCentreX(int mouseX) {
  return std::clamp(mouseX, kPaddleCentreMinX, kPaddleCentreMaxX);
}

int clampPaddleCentreY(int mouseY) {
  return std::clamp(mouseY, kPaddleCentreMinY, kPaddleCentreMaxY);
}

EndButton endButtonAt(int x, int y) {
  const bool buttonRow = y >= kButtonsTopY && y <= kButtonsBottomY;
  // Quit is tested first, so the shared column x = 300 quits.
  if (buttonRow && x >= kButtonsSplitX && x <= kQuitRightX) return EndButton::Quit;
  if (buttonRow && x >= kPlayAgainLeftX && x <= kButtonsSplitX) return EndButton::PlayAgain;
  return EndButton::None;
}

void handleMotion(Session& s) {
  PlayerPaddle& paddle = s.player;
  SDL_GetMouseState(&paddle.mouseX, &paddle.mouseY);
  paddle.mouseX = clampPaddleCentreX(paddle.mouseX);
  paddle.mouseY = clampPaddleCentreY(paddle.mouseY);
  paddle.srcRect = kPaddleSource;
  if (!paddle.firstDraw) {
    SDL_RenderCopy(s.game.renderer, s.courtTexture, &paddle.dstRect, &paddle.dstRect);
  }
  paddle.dstRect = {paddle.mouseX - kPaddleWidthPixels / 2, paddle.mouseY - kPaddleHeightPixels / 2,
                    kPaddleWidthPixels, kPaddleHeightPixels};
  paddle.firstDraw = false;
  // Drawn at once, as every other sprite is drawn right after its erase: the
  // ball step presents before the frame draws the paddle again, and that
  // present must not show a hole where the player is looking.
  drawPlayerPaddle(paddle, s.game.renderer);
}

void drawPlayerPaddle(const PlayerPaddle& paddle, SDL_Renderer* renderer) {
  SDL_RenderCopy(renderer, paddle.texture, &paddle.srcRect, &paddle.dstRect);
}

void handleClick(Session& s) {
  Game& game = s.game;
  if (isMatchOver(game)) {
    // The button test reads the real window position, unclamped.
    SDL_GetMouseState(&s.player.mouseX, &s.player.mouseY);
    switch (endButtonAt(s.player.mouseX, s.player.mouseY)) {
      case EndButton::Quit:
        requestQuit(game);
        break;
      case EndButton::PlayAgain:
        playAgain(s);
        break;
      case EndButton::None:
        break;
    }
    return;
  }
  setPaused(game, !game.paused);
}

void handleEvent(Session& s) {
  Game& game = s.game;
  switch (game.event.type) {
    case SDL_QUIT:
      requestQuit(game);
      break;
    case SDL_MOUSEMOTION:
      if (!game.paused) handleMotion(s);
      break;
    case SDL_MOUSEBUTTONDOWN:
      handleClick(s);
      break;
    default:
      if (isExposure(game.event)) presentCanvas(game.renderer);
      break;
  }
}

void handleEvents(Session& s) {
  while (SDL_PollEvent(&s.game.event) != 0) handleEvent(s);
}
