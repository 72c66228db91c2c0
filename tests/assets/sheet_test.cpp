// The sprite sheet's layout: the scoreboard copies fixed rectangles out of it,
// so every word must lie exactly where those rectangles expect it.
#include <gtest/gtest.h>

#include <set>

#include "asset_reading.h"

namespace asset_tests {
namespace {

bool isInk(Colour c) {
  return c != kGreen && c != kMagenta;
}

// A word of the sheet: where to look for it, and where its ink must lie.
struct SheetWord {
  const char* text;
  Rect searchArea;
  Rect inkWithin;
  bool exact;  // the ink spans all of inkWithin, not just lies in it
};

void PrintTo(const SheetWord& w, std::ostream* out) {
  *out << w.text;
}

class SheetTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SurfacePtr surface = loadPicture("scoreboard..bmp");
    ASSERT_NE(surface, nullptr);
    sheet_ = new Picture(surface.get());
  }
  static void TearDownTestSuite() {
    delete sheet_;
    sheet_ = nullptr;
  }
  static Picture* sheet_;
};
Picture* SheetTest::sheet_ = nullptr;

class SheetWordTest : public SheetTest, public testing::WithParamInterface<SheetWord> {};

TEST_P(SheetWordTest, InkLiesWhereTheScoreboardCopiesFrom) {
  const SheetWord& word = GetParam();
  const auto ink = sheet_->bounds(word.searchArea, isInk);
  ASSERT_TRUE(ink) << word.text << " has no ink";
  if (word.exact) {
    EXPECT_EQ(*ink, word.inkWithin) << word.text;
  } else {
    EXPECT_GE(ink->left, word.inkWithin.left) << word.text << " " << *ink;
    EXPECT_LE(ink->right, word.inkWithin.right) << word.text << " " << *ink;
    EXPECT_GE(ink->top, word.inkWithin.top) << word.text << " " << *ink;
    EXPECT_LE(ink->bottom, word.inkWithin.bottom) << word.text << " " << *ink;
  }
}

// Digits 0..3 and 8 end inside their 80-row cell; 4, 5, 6, 7 and 9 hang into
// rows 80..82, which the scoreboard never shows. The 5 reaches column 360.
INSTANTIATE_TEST_SUITE_P(
    Layout, SheetWordTest,
    testing::Values(SheetWord{"0", {0, 0, 59, 89}, {0, 8, 59, 79}, false},
                    SheetWord{"1", {60, 0, 119, 89}, {60, 8, 119, 79}, false},
                    SheetWord{"2", {120, 0, 179, 89}, {120, 8, 179, 79}, false},
                    SheetWord{"3", {180, 0, 239, 89}, {180, 8, 239, 79}, false},
                    SheetWord{"4", {240, 0, 299, 89}, {240, 8, 299, 82}, false},
                    SheetWord{"5", {300, 0, 360, 89}, {300, 8, 360, 82}, false},
                    SheetWord{"6", {361, 0, 419, 89}, {361, 8, 419, 82}, false},
                    SheetWord{"7", {420, 0, 479, 89}, {420, 8, 479, 82}, false},
                    SheetWord{"8", {480, 0, 539, 89}, {480, 8, 539, 79}, false},
                    SheetWord{"9", {540, 0, 611, 89}, {540, 8, 599, 82}, false},
                    SheetWord{"YOU", {0, 90, 179, 189}, {5, 103, 173, 166}, false},
                    SheetWord{"WIN", {180, 90, 359, 189}, {204, 103, 353, 166}, false},
                    SheetWord{"YOU WIN", {0, 90, 359, 189}, {5, 103, 353, 166}, true},
                    SheetWord{"LOSE", {360, 90, 611, 189}, {378, 103, 590, 166}, false},
                    SheetWord{"NOCHMAL", {0, 190, 349, 272}, {6, 202, 285, 249}, true},
                    SheetWord{"ENDE", {350, 190, 611, 272}, {374, 204, 590, 249}, true},
                    SheetWord{"WEITER", {0, 273, 611, 358}, {5, 292, 273, 346}, true}),
    [](const auto& info) {
      std::string name = info.param.text;
      std::erase(name, ' ');
      return "Word" + name;
    });

TEST_F(SheetTest, WordsFillTheirRowsAndColumns) {
  // Lettering spans rows 8..82 across the digits and fills YOU, WIN and LOSE's columns.
  EXPECT_EQ(sheet_->bounds({0, 0, 611, 89}, isInk).value().top, 8);
  EXPECT_EQ(sheet_->bounds({0, 0, 611, 89}, isInk).value().bottom, 82);
  EXPECT_EQ(sheet_->bounds({300, 0, 360, 89}, isInk).value().right, 360);
  const auto you = sheet_->bounds({0, 90, 179, 189}, isInk).value();
  const auto win = sheet_->bounds({180, 90, 359, 189}, isInk).value();
  const auto lose = sheet_->bounds({360, 90, 611, 189}, isInk).value();
  EXPECT_EQ(you.left, 5);
  EXPECT_EQ(you.right, 173);
  EXPECT_EQ(win.left, 204);
  EXPECT_EQ(win.right, 353);
  EXPECT_EQ(lose.left, 378);
  EXPECT_EQ(lose.right, 590);
  for (int d : {4, 5, 6, 7, 9}) {
    const int cellRight = d == 5 ? 360 : 60 * d + 59;
    const int bottom =
        sheet_->bounds({60 * d + (d == 6 ? 1 : 0), 0, cellRight, 89}, isInk).value().bottom;
    EXPECT_GE(bottom, 80) << "digit " << d;
  }
}

struct MagentaArea {
  const char* what;
  Rect search;
  Rect magenta;  // the magenta pixels' exact extent
};

void PrintTo(const MagentaArea& a, std::ostream* out) {
  *out << a.what;
}

class SheetMagentaTest : public SheetTest, public testing::WithParamInterface<MagentaArea> {};

TEST_P(SheetMagentaTest, KeyColourCoversExactlyItsArea) {
  const MagentaArea& area = GetParam();
  const auto magenta = sheet_->bounds(area.search, [](Colour c) { return c == kMagenta; });
  ASSERT_TRUE(magenta) << area.what;
  EXPECT_EQ(*magenta, area.magenta) << area.what;
  // Inside, nothing but magenta and solid black: a grey edge would show on screen.
  EXPECT_TRUE(sheet_->all(area.magenta, [](Colour c) { return c == kMagenta || c == kBlack; }))
      << area.what;
}

INSTANTIATE_TEST_SUITE_P(
    Layout, SheetMagentaTest,
    testing::Values(MagentaArea{"NOCHMAL box", {0, 190, 349, 272}, {1, 195, 289, 258}},
                    MagentaArea{"ENDE box", {350, 190, 609, 272}, {365, 196, 600, 256}},
                    MagentaArea{"right edge", {610, 0, 611, 358}, {610, 0, 611, 358}},
                    MagentaArea{"bottom band", {0, 273, 611, 358}, {0, 273, 611, 358}}),
    [](const auto& info) {
      std::string name = info.param.what;
      std::erase(name, ' ');
      return name;
    });

TEST_F(SheetTest, GreenSurroundsTheLettering) {
  // Between the rows of words there is nothing but the court green.
  for (const Rect gap : {Rect{0, 0, 609, 7}, Rect{0, 83, 609, 102}, Rect{0, 167, 609, 194},
                         Rect{0, 259, 609, 272}, Rect{601, 0, 609, 272}}) {
    EXPECT_TRUE(sheet_->all(gap, [](Colour c) { return c == kGreen; })) << gap;
  }
}

TEST_F(SheetTest, LetteringIsBlackWithAFewDarkEdgeShades) {
  std::set<Colour> inkColours;
  for (int y = 0; y < sheet_->height(); ++y) {
    for (int x = 0; x < sheet_->width(); ++x) {
      if (isInk(sheet_->at(x, y))) inkColours.insert(sheet_->at(x, y));
    }
  }
  EXPECT_TRUE(inkColours.contains(kBlack));
  EXPECT_LE(inkColours.size(), 4u);
  for (const Colour c : inkColours) {
    // Every edge shade lies between black and the green it blends into.
    EXPECT_TRUE(c.r <= kGreen.r && c.g <= kGreen.g && c.b <= kGreen.b)
        << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
}

}  // namespace
}  // namespace asset_tests
