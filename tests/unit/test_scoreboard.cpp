// The scoreboard, pixel by pixel. The test sheet encodes every pixel's own
// coordinates in its colour, so a pixel on the screen tells which part of the
// sheet was copied there, and how it was scaled.
#include <gtest/gtest.h>

#include <cstdlib>

#include "present/scoreboard.h"
#include "present/sheet_layout.h"
#include "support/software_canvas.h"

namespace {

constexpr Colour kUntouched{1, 2, 3};  // never produced by the coordinate sheet (b = 3)

struct SheetPoint {
  int x, y;
};

Colour encode(int x, int y) {
  return Colour{static_cast<Uint8>(x & 0xFF), static_cast<Uint8>(y & 0xFF),
                static_cast<Uint8>(((x >> 8) << 4) | (y >> 8))};
}

SheetPoint decode(Colour c) {
  return {c.r | ((c.b >> 4) << 8), c.g | ((c.b & 0xF) << 8)};
}

class ScoreboardTest : public testing::Test {
 protected:
  void SetUp() override {
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, kSheetWidthPixels, kSheetHeightPixels,
                                                        32, SDL_PIXELFORMAT_RGB888);
    for (int y = 0; y < kSheetHeightPixels; ++y) {
      for (int x = 0; x < kSheetWidthPixels; ++x) {
        const Colour c = encode(x, y);
        const SDL_Rect one{x, y, 1, 1};
        SDL_FillRect(sheet, &one, SDL_MapRGB(sheet->format, c.r, c.g, c.b));
      }
    }
    texture_ = SDL_CreateTextureFromSurface(canvas_.renderer(), sheet);
    SDL_FreeSurface(sheet);
    canvas_.fill({0, 0, 600, 400}, kUntouched);
  }
  void TearDown() override { SDL_DestroyTexture(texture_); }

  void drawPlayer(int score) {
    drawPlayerScore(&srcRect_, &playerDst_, canvas_.renderer(), texture_, score);
  }
  void drawComputer(int score) {
    drawComputerScore(&srcRect_, &computerDst_, canvas_.renderer(), texture_, score);
  }

  // The screen rectangle `to` shows the sheet rectangle `from`: its corners come
  // from the corners of `from` (within a pixel, for the scaling) and nothing
  // next to it was touched.
  void expectCopied(const SDL_Rect& from, const SDL_Rect& to) {
    SheetPoint first = decode(canvas_.pixel(to.x, to.y));
    EXPECT_EQ(first.x, from.x);
    EXPECT_EQ(first.y, from.y);
    SheetPoint last = decode(canvas_.pixel(to.x + to.w - 1, to.y + to.h - 1));
    EXPECT_NEAR(last.x, from.x + from.w - 1, 1);
    EXPECT_NEAR(last.y, from.y + from.h - 1, 1);
  }
  void expectUntouched(int x, int y) {
    EXPECT_EQ(canvas_.pixel(x, y), kUntouched) << x << ", " << y;
  }

  SoftwareCanvas canvas_;
  SDL_Texture* texture_ = nullptr;
  SDL_Rect srcRect_{}, playerDst_{}, computerDst_{};
};

TEST_F(ScoreboardTest, EveryDigitOfEitherSideIsItsCellAtThreeQuarterSize) {
  for (int digit = 0; digit <= 9; ++digit) {
    SCOPED_TRACE(digit);
    drawPlayer(digit);
    drawComputer(digit);
    expectCopied(digitCell(digit), {220, 0, 45, 60});
    expectCopied(digitCell(digit), {325, 0, 45, 60});
  }
  expectUntouched(219, 0);
  expectUntouched(265, 0);
  expectUntouched(220, 60);
  expectUntouched(324, 0);
  expectUntouched(370, 59);
}

TEST_F(ScoreboardTest, ThePlayersTenGrowsLeftWithYouWin) {
  drawPlayer(10);
  expectCopied(digitCell(1), {160, 0, 45, 60});
  expectCopied(digitCell(0), {220, 0, 45, 60});
  expectCopied(kYouWinStrip, {100, 60, 360, 60});
  expectUntouched(325, 0);  // the computer's place is left alone
  expectUntouched(99, 60);
  expectUntouched(460, 119);
}

TEST_F(ScoreboardTest, TheComputersTenGrowsRightWithYouAndLose) {
  drawComputer(10);
  expectCopied(digitCell(1), {325, 0, 45, 60});
  expectCopied(digitCell(0), {385, 0, 45, 60});
  expectCopied(kYouCell, {100, 60, 180, 60});
  expectCopied(kLoseCell, {300, 60, 240, 60});
  expectUntouched(220, 0);
  expectUntouched(290, 90);  // the gap between YOU and LOSE
}

TEST_F(ScoreboardTest, ScoresAboveTenDrawNothing) {
  drawPlayer(11);
  drawComputer(12);
  for (SheetPoint p : {SheetPoint{220, 0}, SheetPoint{160, 0}, SheetPoint{325, 0},
                       SheetPoint{385, 0}, SheetPoint{100, 60}}) {
    expectUntouched(p.x, p.y);
  }
}

TEST_F(ScoreboardTest, ButtonsStretchTheClippedPartOfTheirSourcesOverTheWholeButton) {
  drawEndButtons(&srcRect_, &playerDst_, canvas_.renderer(), texture_);
  // WEITER: rows 290..358 (the sheet ends there) fill all 80 rows of the button.
  EXPECT_EQ(decode(canvas_.pixel(5, 310)).y, 290);
  EXPECT_NEAR(decode(canvas_.pixel(5, 389)).y, 358, 1);
  EXPECT_NEAR(decode(canvas_.pixel(5, 350)).y, 290 + 40 * 69 / 80, 1);
  EXPECT_NEAR(decode(canvas_.pixel(299, 310)).x, 294, 1);  // 300 columns over 300
  // ENDE: columns 350..611 fill all 300 columns of the button, which is drawn
  // second and so covers WEITER's last columns.
  EXPECT_EQ(decode(canvas_.pixel(300, 310)).x, 350);
  EXPECT_NEAR(decode(canvas_.pixel(599, 310)).x, 611, 1);
  EXPECT_NEAR(decode(canvas_.pixel(450, 310)).x, 350 + 150 * 262 / 300, 1);
  EXPECT_NEAR(decode(canvas_.pixel(599, 389)).y, 269, 1);
  expectUntouched(4, 350);
  expectUntouched(300, 309);
  expectUntouched(300, 390);
}

TEST_F(ScoreboardTest, ANewScoreCoversTheOldOneCompletely) {
  drawPlayer(1);
  drawPlayer(2);
  for (int y = 0; y < 60; ++y) {
    for (int x = 220; x < 265; ++x) {
      const SheetPoint p = decode(canvas_.pixel(x, y));
      ASSERT_TRUE(p.x >= 120 && p.x < 180 && p.y < 80) << "trace of the 1 at " << x << ", " << y;
    }
  }
}

TEST_F(ScoreboardTest, WorkingRectanglesAreSetInFullBeforeEveryCopy) {
  drawEndButtons(&srcRect_, &playerDst_, canvas_.renderer(), texture_);
  EXPECT_EQ(playerDst_.x, 300);  // ENDE's rectangles are left behind...
  drawPlayer(3);                 // ...and the next digit still lands in its place
  expectCopied(digitCell(3), {220, 0, 45, 60});
  EXPECT_EQ(srcRect_.w, 60);
  EXPECT_EQ(playerDst_.h, 60);
}

}  // namespace
