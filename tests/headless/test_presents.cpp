// What the window shows at each present of a frame in which the player moved:
// the creature whole at its new place, the court back at its old one.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "game/paddle_rules.h"
#include "headless_run.h"
#include "present/canvas.h"
#include "present/window.h"

namespace {

constexpr int kPixelBytes = 4;
// Both places keep clear of the ball resting at its serve place, of its hit
// window and of everything the end-of-match display draws.
constexpr SDL_Point kOldCentre{40, 200};
constexpr SDL_Point kNewCentre{110, 200};
constexpr int kMotionFrame = 3;

struct Picture {
  std::vector<Uint32> pixels = std::vector<Uint32>(kWindowWidthPixels * kWindowHeightPixels);
  Uint32 at(int x, int y) const { return pixels[y * kWindowWidthPixels + x]; }
};

Picture shownBy(SDL_Renderer* renderer) {
  Picture picture;
  SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, picture.pixels.data(),
                       kWindowWidthPixels * kPixelBytes);
  return picture;
}

// The court from the game's own picture with the sprites drawn over it.
Picture court(const Session& s, std::initializer_list<std::pair<SDL_Surface*, SDL_Rect>> sprites) {
  SDL_Surface* window = SDL_ConvertSurfaceFormat(s.courtSurface, SDL_PIXELFORMAT_RGB888, 0);
  for (auto [sprite, place] : sprites) SDL_BlitSurface(sprite, nullptr, window, &place);
  Picture picture;
  for (int y = 0; y < kWindowHeightPixels; ++y) {
    const auto* row = static_cast<const Uint8*>(window->pixels) + y * window->pitch;
    SDL_memcpy(&picture.pixels[y * kWindowWidthPixels], row, kWindowWidthPixels * kPixelBytes);
  }
  SDL_FreeSurface(window);
  return picture;
}

// Pixels of `region`, outside every rectangle of `except`, in which the two
// pictures differ.
int differing(const Picture& a, const Picture& b, const SDL_Rect& region,
              std::initializer_list<SDL_Rect> except = {}) {
  int count = 0;
  for (int y = region.y; y < region.y + region.h; ++y) {
    for (int x = region.x; x < region.x + region.w; ++x) {
      const SDL_Point p{x, y};
      const bool excepted = std::any_of(except.begin(), except.end(),
                                        [&](const SDL_Rect& r) { return SDL_PointInRect(&p, &r); });
      if (!excepted && (a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) ++count;
    }
  }
  return count;
}

SDL_Rect paddleAround(SDL_Point centre) {
  return {centre.x - kPaddleWidthPixels / 2, centre.y - kPaddleHeightPixels / 2, kPaddleWidthPixels,
          kPaddleHeightPixels};
}

}  // namespace

TEST(Presents, ShowTheMovedCreatureWholeAtItsNewPlaceAndTheCourtAtItsOld) {
  struct Case {
    const char* what;
    bool placedBefore;
    int motionEvents;
    bool matchEnds;  // the frame shows the end-of-match display: its one present
    size_t presents;
  };
  const Case cases[] = {
      {"one motion", true, 1, false, 2},
      {"several motions in one frame", true, 3, false, 2},
      {"the first placement", false, 1, false, 2},
      {"a motion in the frame that ends the match", true, 1, true, 1},
  };
  const SDL_Rect window{0, 0, kWindowWidthPixels, kWindowHeightPixels};
  const SDL_Rect computerColumn{kComputerPaddleXPixels, 0, kPaddleWidthPixels, kWindowHeightPixels};
  const SDL_Rect oldPlace = paddleAround(kOldCentre);
  const SDL_Rect newPlace = paddleAround(kNewCentre);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Session* session = nullptr;
    Picture before;  // the last present before the motion
    std::vector<Picture> shown;
    // The frame's rules move the computer's creature before the ball's
    // present, which still shows it where the last frame drew it; the
    // frame's second present shows it at its new place.
    SDL_Rect computerBefore{};
    watchPresents([&](SDL_Renderer* renderer) {
      if (session != nullptr) shown.push_back(shownBy(renderer));
    });
    Script script;
    script.beforeFrame = [&](int frame, Session& s) {
      if (frame == 1 && c.placedBefore) moveMouse(s, kOldCentre.x, kOldCentre.y);
      if (frame == kMotionFrame) {
        before = shown.back();
        shown.clear();
        computerBefore = s.computer.dstRect;
        for (int i = 0; i < c.motionEvents; ++i) moveMouse(s, kNewCentre.x, kNewCentre.y);
        if (c.matchEnds) s.game.playerScore = 10;
      }
      if (frame == kMotionFrame + 1) pushEvent(SDL_QUIT);
      if (frame <= kMotionFrame) session = &s;
    };
    std::vector<Picture> expected;
    script.afterFrame = [&](int frame, Session& s) {
      if (frame != kMotionFrame) return;
      session = nullptr;
      for (size_t i = 0; i < shown.size(); ++i) {
        const SDL_Rect computer = i == 0 ? computerBefore : s.computer.dstRect;
        expected.push_back(
            court(s, {{s.player.surface, newPlace}, {s.computer.surface, computer}}));
      }
    };
    const RunResult run = runHeadless(script);
    watchPresents(nullptr);

    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(shown.size(), c.presents);
    for (size_t i = 0; i < shown.size(); ++i) {
      SCOPED_TRACE("present " + std::to_string(i + 1) + " of the frame");
      const Picture& now = shown[i];
      EXPECT_EQ(differing(now, expected[i], newPlace), 0)
          << "the creature is missing or cut at its new place";
      if (c.placedBefore) {
        EXPECT_EQ(differing(now, expected[i], oldPlace, {newPlace}), 0)
            << "the court is not back at the creature's old place";
      }
      if (c.matchEnds) continue;  // the display covers the rest
      EXPECT_EQ(differing(now, expected[i], computerColumn), 0)
          << "the computer's creature is missing or cut";
      EXPECT_EQ(differing(now, before, window, {oldPlace, newPlace, computerColumn}), 0)
          << "the ball or a score changed";
    }
  }
}
