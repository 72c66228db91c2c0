// Pictures as the player sees them, without a screenshot: the game's loader on
// the game's own files, and the window read back after a play again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "headless_run.h"
#include "present/pictures.h"

namespace fs = std::filesystem;

namespace {

constexpr Uint32 kMagenta = 0xFF00FF;
constexpr Uint32 kUnderneath = 0x010203;  // in none of the pictures

struct Region {
  SDL_Rect rect;
  bool contains(int x, int y) const {
    return x >= rect.x && x < rect.x + rect.w && y >= rect.y && y < rect.y + rect.h;
  }
};

// The two score cells, where a fresh match shows its 0 and 0.
constexpr Region kScoreCells[] = {{{220, 0, 45, 60}}, {{325, 0, 45, 60}}};

}  // namespace

TEST(LoadedPictures, OnlyTheSpritesLetWhatIsUnderneathThroughAndOnlyWhereTheyAreMagenta) {
  struct Case {
    const PictureFile* file;
    bool seeThrough;
  };
  const Case cases[] = {{&kTitlePicture, false},   {&kCourtPicture, false}, {&kPlayerPicture, true},
                        {&kComputerPicture, true}, {&kBallPicture, true},   {&kSheetPicture, true}};
  const fs::path before = fs::current_path();
  fs::current_path(VOMBA_GAME_DIR);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file->name);
    SDL_Surface* underneath = SDL_CreateRGBSurfaceWithFormat(
        0, c.file->widthPixels, c.file->heightPixels, 32, SDL_PIXELFORMAT_RGB888);
    SDL_FillRect(underneath, nullptr, kUnderneath);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(underneath);
    SDL_Surface* surface = nullptr;
    SDL_Texture* texture = nullptr;
    EXPECT_EQ(loadPicture(renderer, *c.file, &surface, &texture), "");
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderFlush(renderer);
    const std::vector<Uint32> shown = surfacePixels(underneath);

    SDL_Surface* file = SDL_LoadBMP(c.file->name);
    const std::vector<Uint32> drawn = surfacePixels(file);
    ASSERT_EQ(shown.size(), drawn.size());
    int wrong = 0, throughMagenta = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
      const bool through = c.seeThrough && drawn[i] == kMagenta;
      if (shown[i] != (through ? kUnderneath : drawn[i])) ++wrong;
      if (through) ++throughMagenta;
    }
    EXPECT_EQ(wrong, 0) << "pixels not as the file and its key say";
    if (c.seeThrough) {
      EXPECT_GT(throughMagenta, 0) << "a sprite stands on magenta";
    }

    SDL_FreeSurface(file);
    destroyTexture(&texture);
    freeSurface(&surface);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(underneath);
  }
  fs::current_path(before);
}

TEST(PlayAgain, TheWindowShowsAFreshCourtAtNilNilWithoutBannerOrButtons) {
  std::vector<Uint32> court, nilNil, afterPlayAgain;
  std::vector<Region> sprites;
  int endDisplayPixels = 0;
  Script script;
  script.beforeFrame = [](int frame, Session& s) {
    if (frame == 1) s.game.playerScore = 10;
    if (frame == 2) {
      moveMouse(s, 100, 360);  // WEITER
      pushClick();
    }
    if (frame == 3) pushEvent(SDL_QUIT);
  };
  script.afterFrame = [&](int frame, Session& s) {
    if (frame == 0) {
      court = surfacePixels(s.courtSurface);
      nilNil = windowPixels(s);
    }
    if (frame == 1) {
      const std::vector<Uint32> shown = windowPixels(s);
      for (size_t i = 0; i < shown.size(); ++i) endDisplayPixels += shown[i] != court[i];
    }
    if (frame == 2) {
      afterPlayAgain = windowPixels(s);
      sprites = {{s.ball.dstRect}, {s.computer.dstRect}, {s.player.dstRect}};
    }
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  ASSERT_EQ(afterPlayAgain.size(), court.size());
  EXPECT_GT(endDisplayPixels, 20000) << "the end of the match was on the window";

  int wrong = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 600; ++x) {
      auto at = [x, y](const Region& r) { return r.contains(x, y); };
      if (std::any_of(sprites.begin(), sprites.end(), at)) continue;
      const size_t i = static_cast<size_t>(y) * 600 + x;
      const bool score = std::any_of(std::begin(kScoreCells), std::end(kScoreCells), at);
      if (afterPlayAgain[i] != (score ? nilNil[i] : court[i])) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "beside the ball and the paddles, the court and 0:0 as in a new game";
}
