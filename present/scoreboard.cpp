#include "present/scoreboard.h"

#include "game/match_rules.h"
#include "present/sheet_layout.h"

namespace {

// The sheet has a cell for each digit, 0 to 9; a score shows at most two.
constexpr int kDigitCellCount = 10;
static_assert(kWinningScore < kDigitCellCount * kDigitCellCount);

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

// A score below kDigitCellCount is one cell at `onePlace`; a larger one is
// its tens at `tensPlace` and its units at `unitsPlace`.
void drawDigits(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer, SDL_Texture* texture,
                int score, const PixelRect& onePlace, const PixelRect& tensPlace,
                const PixelRect& unitsPlace) {
  if (score < kDigitCellCount) {
    copyRegion(srcRect, dstRect, renderer, texture, digitCell(score), onePlace);
    return;
  }
  copyRegion(srcRect, dstRect, renderer, texture, digitCell(score / kDigitCellCount), tensPlace);
  copyRegion(srcRect, dstRect, renderer, texture, digitCell(score % kDigitCellCount), unitsPlace);
}

}  // namespace

void drawPlayerScore(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                     SDL_Texture* texture, int score) {
  if (score < 0 || score > kWinningScore) return;
  // The player's two digits grow to the left of the units place.
  drawDigits(srcRect, dstRect, renderer, texture, score, kPlayerUnits, kPlayerTens, kPlayerUnits);
  if (score == kWinningScore) {
    copyRegion(srcRect, dstRect, renderer, texture, kYouWinStrip, kPlayerBanner);
  }
}

void drawComputerScore(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                       SDL_Texture* texture, int score) {
  if (score < 0 || score > kWinningScore) return;
  // The computer's two digits grow to the right of the units place.
  drawDigits(srcRect, dstRect, renderer, texture, score, kComputerUnits, kComputerUnits,
             kComputerZeroOfTen);
  if (score == kWinningScore) {
    copyRegion(srcRect, dstRect, renderer, texture, kYouCell, kComputerYou);
    copyRegion(srcRect, dstRect, renderer, texture, kLoseCell, kComputerLose);
  }
}

void drawEndButtons(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                    SDL_Texture* texture) {
  copyRegion(srcRect, dstRect, renderer, texture, kWeiterStrip, kWeiterButton);
  copyRegion(srcRect, dstRect, renderer, texture, kEndeBox, kEndeButton);
}
