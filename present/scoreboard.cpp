#include "present/scoreboard.h"

#include "game/match_rules.h"
#include "present/sheet_layout.h"

namespace {

constexpr SDL_Rect sdlRect(const PixelRect& r) {
  return {r.x, r.y, r.w, r.h};
}

// Both working rectangles are set in full before every copy: they carry
// nothing from one copy to the next.
void copyRegion(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer, SDL_Texture* texture,
                const PixelRect& from, const PixelRect& to) {
  *srcRect = sdlRect(from);
  *dstRect = sdlRect(to);
  SDL_RenderCopy(renderer, texture, srcRect, dstRect);
}

}  // namespace

void drawPlayerScore(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                     SDL_Texture* texture, int score) {
  if (score >= 0 && score < kWinningScore) {
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(score), kPlayerUnits);
  } else if (score == kWinningScore) {
    // The player's 10 grows to the left of the units place.
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(1), kPlayerTens);
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(0), kPlayerUnits);
    copyRegion(srcRect, dstRect, renderer, texture, kYouWinStrip, kPlayerBanner);
  }
}

void drawComputerScore(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                       SDL_Texture* texture, int score) {
  if (score >= 0 && score < kWinningScore) {
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(score), kComputerUnits);
  } else if (score == kWinningScore) {
    // The computer's 10 grows to the right of the units place.
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(1), kComputerUnits);
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(0), kComputerZeroOfTen);
    copyRegion(srcRect, dstRect, renderer, texture, kYouCell, kComputerYou);
    copyRegion(srcRect, dstRect, renderer, texture, kLoseCell, kComputerLose);
  }
}

void drawEndButtons(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                    SDL_Texture* texture) {
  copyRegion(srcRect, dstRect, renderer, texture, kWeiterStrip, kWeiterButton);
  copyRegion(srcRect, dstRect, renderer, texture, kEndeBox, kEndeButton);
}
