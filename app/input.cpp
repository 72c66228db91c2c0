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

// While the window holds the mouse, SDL's own position runs on to the
// window's edge where the paddle has stopped at its limit, and every later
// motion would be clamped back to that limit until SDL's position came back
// inside: the creature would seem stuck. So SDL's position is set to the
// paddle's. Held, the warp only sets that position: the pointer does not jump
// and no motion is queued (one that were would land on the same place).
// A free pointer is left where the player put it.
void keepMouseOnPaddle(SDL_Window* window, const SDL_Point& read, const PlayerPaddle& paddle) {
  const bool clamped = read.x != paddle.mouseX || read.y != paddle.mouseY;
  if (clamped && SDL_GetRelativeMouseMode()) {
    SDL_WarpMouseInWindow(window, paddle.mouseX, paddle.mouseY);
  }
}
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
  SDL_Point read{};
  SDL_GetMouseState(&read.x, &read.y);
  paddle.mouseX = clampPaddleCentreX(read.x);
  paddle.mouseY = clampPaddleCentreY(read.y);
  keepMouseOnPaddle(s.game.window, read, paddle);
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
