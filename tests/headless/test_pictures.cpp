// Pictures as the player sees them, without a screenshot: the game's loader on
// the game's own files, and the window read back after a play again, after the
// sprites moved, and after it was uncovered.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
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

bool inScoreCell(int x, int y) {
  return std::any_of(std::begin(kScoreCells), std::end(kScoreCells),
                     [x, y](const Region& r) { return r.contains(x, y); });
}

struct Sprite {
  const char* file;
  SDL_Rect place;
};

// The court with each sprite's file drawn over it, its magenta left out:
// what the window shows beside the scores, told by the files alone.
std::vector<Uint32> courtWith(const std::vector<Sprite>& sprites) {
  const std::string folder = VOMBA_GAME_DIR "/";
  SDL_Surface* file = SDL_LoadBMP((folder + "pong.bmp").c_str());
  SDL_Surface* court = SDL_ConvertSurfaceFormat(file, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(file);
  for (const Sprite& sprite : sprites) {
    SDL_Surface* picture = SDL_LoadBMP((folder + sprite.file).c_str());
    SDL_SetColorKey(picture, SDL_TRUE, SDL_MapRGB(picture->format, 255, 0, 255));
    SDL_Rect place = sprite.place;
    SDL_BlitSurface(picture, nullptr, court, &place);
    SDL_FreeSurface(picture);
  }
  std::vector<Uint32> pixels = surfacePixels(court);
  SDL_FreeSurface(court);
  return pixels;
}

// Blanks the window, as uncovering it may leave it, and queues the exposure.
void uncover(const Session& s) {
  SDL_FillRect(SDL_GetWindowSurface(s.game.window), nullptr, 0);
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_EXPOSED;
  event.window.windowID = SDL_GetWindowID(s.game.window);
  SDL_PushEvent(&event);
}

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
      if (afterPlayAgain[i] != (inScoreCell(x, y) ? nilNil[i] : court[i])) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "beside the ball and the paddles, the court and 0:0 as in a new game";
}

TEST(Drawing, EachSpriteShowsItsOwnPictureAndTheCourtComesBackWhereItWas) {
  std::vector<Uint32> shown, expected;
  SDL_Rect player{};
  Script script;
  script.beforeFrame = [](int frame, Session& s) {
    if (frame == 0) moveMouse(s, 50, 100);   // paddle at (20, 55), clear of the ball
    if (frame == 2) moveMouse(s, 100, 300);  // and on to (70, 255)
    if (frame == 3) pushEvent(SDL_QUIT);
  };
  script.afterFrame = [&](int frame, Session& s) {
    if (frame != 2) return;
    shown = windowPixels(s);
    player = s.player.dstRect;
    // In the order a frame draws them; the computer's creature has walked down
    // from the top edge meanwhile.
    expected = courtWith({{"ball.bmp", s.ball.dstRect},
                          {"vombaLILA.bmp", s.computer.dstRect},
                          {"vombaGruen.bmp", s.player.dstRect}});
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  ASSERT_EQ(player.y, 255) << "the paddle moved";
  ASSERT_EQ(shown.size(), expected.size());
  int wrong = 0;
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 600; ++x) {
      const size_t i = static_cast<size_t>(y) * 600 + x;
      if (!inScoreCell(x, y) && shown[i] != expected[i]) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0) << "beside the scores, the court with the ball and both creatures";
}

TEST(Exposure, AnUncoveredWindowIsPaintedAgainWhereverTheGameIsWaiting) {
  std::vector<Uint32> before;
  std::vector<std::string> blankLeft;
  const Session* session = nullptr;
  auto look = [&](const char* where) {
    if (windowPixels(*session) != before) blankLeft.push_back(where);
  };
  auto uncoverNow = [&](const Session& s) {
    session = &s;
    before = windowPixels(s);
    uncover(s);
  };
  int waits = 0;
  Script script;
  script.onTitle = [&](Session& s) {
    uncoverNow(s);
    pushClick();  // after the exposure: the start screen handles both in turn
  };
  script.onWait = [&](Uint32, bool startingUp) {
    if (!startingUp) return;
    if (waits == 0) {
      look("start screen");
      uncoverNow(*session);
    } else if (waits == 1) {
      look("intro wait");
    }
    ++waits;
  };
  script.beforeFrame = [&](int frame, Session& s) {
    if (frame == 1) pushClick();              // paused: nothing is presented
    if (frame == 3) s.game.playerScore = 10;  // the end of a match, shown once
    if (frame == 2 || frame == 5) uncoverNow(s);
    if (frame == 6) pushEvent(SDL_QUIT);
  };
  script.afterFrame = [&](int frame, Session&) {
    if (frame == 2) look("paused");
    if (frame == 5) look("end of match");
  };
  EXPECT_EQ(runHeadless(script).exitCode, 0);
  EXPECT_GT(waits, 1);
  EXPECT_TRUE(blankLeft.empty()) << "left blank: " << testing::PrintToString(blankLeft);
}
