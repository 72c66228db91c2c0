// The sprite sheet's layout: the scoreboard copies fixed rectangles out of it,
// so every word must lie exactly where those rectangles expect it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "asset_reading.h"

// A word prints as its text, where the test names its case.
void PrintTo(const SheetWord& w, std::ostream* out) {
  *out << w.text;
}

namespace asset_tests {
namespace {

bool isInk(Colour c) {
  return c != kCourtColour && c != kKeyColour;
}

// How far around a box the tests look for ink or key colour that spills over.
constexpr int kSpillPixels = 4;

Rect grown(const Rect& box, const Rect& limit) {
  return {std::max(box.left - kSpillPixels, limit.left),
          std::max(box.top - kSpillPixels, limit.top),
          std::min(box.right + kSpillPixels, limit.right),
          std::min(box.bottom + kSpillPixels, limit.bottom)};
}

constexpr Rect kSheetBox{0, 0, kWholeSheet.w - 1, kWholeSheet.h - 1};

class SheetTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SurfacePtr surface = loadPicture(kSheetPicture.name);
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

// The generator letters each word into the box the game's description gives it.
TEST_P(SheetWordTest, InkFillsExactlyItsBox) {
  const Rect box = inkOnSheet(GetParam());
  const auto ink = sheet_->bounds(grown(box, kSheetBox), isInk);
  ASSERT_TRUE(ink) << GetParam().text << " has no ink";
  EXPECT_EQ(*ink, box) << GetParam().text;
}

// The part of the sheet the scoreboard copies (clipped to the sheet, as the
// renderer clips it) holds the whole word, but for the feet of the digits that
// hang below their cells and the 5 that leans into the next cell.
TEST_P(SheetWordTest, LiesInThePieceTheScoreboardCopies) {
  constexpr int kDigitHangRows = 3;
  constexpr int kDigitLeanColumns = 1;
  const SheetWord& word = GetParam();
  const bool digit = word.kind == Lettering::Digit;
  const Rect shown{word.piece.x, word.piece.y,
                   std::min(word.piece.x + word.piece.w - 1, kSheetBox.right),
                   std::min(word.piece.y + word.piece.h - 1, kSheetBox.bottom)};
  const Rect box = inkOnSheet(word);
  EXPECT_GE(box.left, shown.left) << word.text;
  EXPECT_GE(box.top, shown.top) << word.text;
  EXPECT_LE(box.right, shown.right + (digit ? kDigitLeanColumns : 0)) << word.text;
  EXPECT_LE(box.bottom, shown.bottom + (digit ? kDigitHangRows : 0)) << word.text;
}

INSTANTIATE_TEST_SUITE_P(Layout, SheetWordTest, testing::ValuesIn(kSheetWords),
                         [](const auto& info) { return std::string("Word") + info.param.text; });

struct KeyedArea {
  const char* what;
  Rect area;    // the key colour's exact extent
  Rect within;  // how far around it the test looks for more
};

// The key colour right of the green and below it, which meet at the corner.
constexpr Rect kRightEdge{kSheetGreenArea.right + 1, 0, kSheetBox.right, kSheetBox.bottom};
constexpr Rect kBottomBand{0, kSheetGreenArea.bottom + 1, kSheetBox.right, kSheetBox.bottom};

void PrintTo(const KeyedArea& a, std::ostream* out) {
  *out << a.what;
}

class SheetKeyTest : public SheetTest, public testing::WithParamInterface<KeyedArea> {};

TEST_P(SheetKeyTest, KeyColourCoversExactlyItsArea) {
  const KeyedArea& keyed = GetParam();
  const auto found =
      sheet_->bounds(grown(keyed.area, keyed.within), [](Colour c) { return c == kKeyColour; });
  ASSERT_TRUE(found) << keyed.what;
  EXPECT_EQ(*found, keyed.area) << keyed.what;
  // Inside, nothing but the key colour and solid black: a grey edge would show on screen.
  EXPECT_TRUE(sheet_->all(keyed.area, [](Colour c) { return c == kKeyColour || c == kBlack; }))
      << keyed.what;
}

INSTANTIATE_TEST_SUITE_P(Layout, SheetKeyTest,
                         testing::Values(KeyedArea{"NOCHMAL box", kNochmalKeyedBox,
                                                   kSheetGreenArea},
                                         KeyedArea{"ENDE box", kEndeKeyedBox, kSheetGreenArea},
                                         KeyedArea{"right edge", kRightEdge, kRightEdge},
                                         KeyedArea{"bottom band", kBottomBand, kBottomBand}),
                         [](const auto& info) {
                           std::string name = info.param.what;
                           std::erase(name, ' ');
                           return name;
                         });

TEST_F(SheetTest, GreenSurroundsTheLettering) {
  // In the green area, every pixel outside the words and the keyed boxes is court green.
  auto inside = [](const Rect& b, int x, int y) {
    return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
  };
  int checked = 0;
  for (int y = kSheetGreenArea.top; y <= kSheetGreenArea.bottom; ++y) {
    for (int x = kSheetGreenArea.left; x <= kSheetGreenArea.right; ++x) {
      bool covered = inside(kNochmalKeyedBox, x, y) || inside(kEndeKeyedBox, x, y);
      for (const SheetWord& word : kSheetWords) covered = covered || inside(inkOnSheet(word), x, y);
      if (covered) continue;
      ASSERT_EQ(sheet_->at(x, y), kCourtColour) << "column " << x << " row " << y;
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
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
    EXPECT_TRUE(c.r <= kCourtColour.r && c.g <= kCourtColour.g && c.b <= kCourtColour.b)
        << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
}

}  // namespace
}  // namespace asset_tests
