// The scoreboard, pixel by pixel. The test sheet encodes every pixel's own
// coordinates in its colour, so a pixel on the screen tells which part of the
// sheet was copied there, and how it was scaled.
#include <gtest/gtest.h>

#include <algorithm>
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
    SDL_Surface* sheet =
        SDL_CreateRGBSurfaceWithFormat(0, kWholeSheet.w, kWholeSheet.h, 32, SDL_PIXELFORMAT_RGB888);
    for (int y = 0; y < kWholeSheet.h; ++y) {
      for (int x = 0; x < kWholeSheet.w; ++x) {
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
  void expectCopied(const PixelRect& from, const PixelRect& to) {
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
    expectCopied(digitCell(digit), kPlayerUnits);
    expectCopied(digitCell(digit), kComputerUnits);
  }
  expectUntouched(219, 0);
  expectUntouched(265, 0);
  expectUntouched(220, 60);
  expectUntouched(324, 0);
  expectUntouched(370, 59);
}

TEST_F(ScoreboardTest, ThePlayersTenGrowsLeftWithYouWin) {
  drawPlayer(10);
  expectCopied(digitCell(1), kPlayerTens);
  expectCopied(digitCell(0), kPlayerUnits);
  expectCopied(kYouWinStrip, kPlayerBanner);
  expectUntouched(325, 0);  // the computer's place is left alone
  expectUntouched(99, 60);
  expectUntouched(460, 119);
}

TEST_F(ScoreboardTest, TheComputersTenGrowsRightWithYouAndLose) {
  drawComputer(10);
  expectCopied(digitCell(1), kComputerUnits);
  expectCopied(digitCell(0), kComputerZeroOfTen);
  expectCopied(kYouCell, kComputerYou);
  expectCopied(kLoseCell, kComputerLose);
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
  // WEITER: the strip's rows down to the sheet's end fill all rows of the button.
  const PixelRect& weiter = kWeiterButton;
  const int weiterRows = std::min(kWeiterStrip.y + kWeiterStrip.h, kWholeSheet.h) - kWeiterStrip.y;
  const int middleRow = weiter.h / 2;
  EXPECT_EQ(decode(canvas_.pixel(weiter.x, weiter.y)).y, kWeiterStrip.y);
  EXPECT_NEAR(decode(canvas_.pixel(weiter.x, weiter.y + weiter.h - 1)).y,
              kWeiterStrip.y + weiterRows - 1, 1);
  EXPECT_NEAR(decode(canvas_.pixel(weiter.x, weiter.y + middleRow)).y,
              kWeiterStrip.y + middleRow * weiterRows / weiter.h, 1);
  const int lastWeiterColumn = kEndeButton.x - 1 - weiter.x;  // ENDE covers the rest
  EXPECT_NEAR(decode(canvas_.pixel(kEndeButton.x - 1, weiter.y)).x,
              kWeiterStrip.x + lastWeiterColumn * kWeiterStrip.w / weiter.w, 1);
  // ENDE: the box's columns up to the sheet's edge fill all columns of the
  // button, which is drawn second and so covers WEITER's last columns.
  const PixelRect& ende = kEndeButton;
  const int endeColumns = std::min(kEndeBox.x + kEndeBox.w, kWholeSheet.w) - kEndeBox.x;
  const int middleColumn = ende.w / 2;
  EXPECT_EQ(decode(canvas_.pixel(ende.x, ende.y)).x, kEndeBox.x);
  EXPECT_NEAR(decode(canvas_.pixel(ende.x + ende.w - 1, ende.y)).x, kEndeBox.x + endeColumns - 1,
              1);
  EXPECT_NEAR(decode(canvas_.pixel(ende.x + middleColumn, ende.y)).x,
              kEndeBox.x + middleColumn * endeColumns / ende.w, 1);
  EXPECT_NEAR(decode(canvas_.pixel(ende.x + ende.w - 1, ende.y + ende.h - 1)).y,
              kEndeBox.y + kEndeBox.h - 1, 1);
  expectUntouched(weiter.x - 1, weiter.y + middleRow);
  expectUntouched(ende.x, ende.y - 1);
  expectUntouched(ende.x, ende.y + ende.h);
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
  expectCopied(digitCell(3), kPlayerUnits);
  EXPECT_EQ(srcRect_.w, 60);
  EXPECT_EQ(playerDst_.h, 60);
}

}  // namespace
