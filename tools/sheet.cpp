#include "sheet.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "lettering.h"

namespace assets {
namespace {

enum PaletteIndex : std::uint8_t { kGreen, kMagenta, kBlack, kDarkEdge, kGreyEdge };

// Ink over green is drawn in three steps of coverage, so its edges blend into
// the court. Over magenta only solid ink is drawn: a half-pink pixel would
// survive the colour key as a fringe.
constexpr int kEdgeSteps = 3;
constexpr float kInkOnGreenFrom = 0.5f / kEdgeSteps;
constexpr float kInkOnMagentaFrom = 0.5f;

// Opaque green covers columns 0..609 of rows 0..272; the rest is magenta.
constexpr Box kGreenArea{0, 0, 609, 272};
constexpr Box kNochmalBox{1, 195, 289, 258};
constexpr Box kEndeBox{365, 196, 600, 256};

struct SheetWord {
  const char* text;
  Box ink;  // the exact extent of the word's ink
  double penRadiusPixels;
};

constexpr double kDigitPen = 4.4;
constexpr double kBannerPen = 5.0;
constexpr double kButtonPen = 4.0;
constexpr double kWobblePixels = 0.9;

// Digit d sits in cell (60*d, 0, 60, 80). The 4, 5, 6, 7 and 9 hang lower,
// past the cell's bottom, and the 5 leans one pixel into the 6's cell.
const std::vector<SheetWord>& sheetWords() {
  static const std::vector<SheetWord> words{
      {"0", {11, 9, 48, 77}, kDigitPen},          {"1", {80, 8, 101, 77}, kDigitPen},
      {"2", {131, 10, 169, 78}, kDigitPen},       {"3", {192, 9, 228, 78}, kDigitPen},
      {"4", {249, 11, 290, 82}, kDigitPen},       {"5", {319, 10, 360, 81}, kDigitPen},
      {"6", {372, 8, 408, 80}, kDigitPen},        {"7", {431, 10, 468, 82}, kDigitPen},
      {"8", {492, 9, 528, 78}, kDigitPen},        {"9", {552, 9, 588, 81}, kDigitPen},
      {"YOU", {5, 103, 173, 166}, kBannerPen},    {"WIN", {204, 104, 353, 166}, kBannerPen},
      {"LOSE", {378, 103, 590, 166}, kBannerPen}, {"NOCHMAL", {6, 202, 285, 249}, kButtonPen},
      {"ENDE", {374, 204, 590, 249}, kButtonPen}, {"WEITER", {5, 292, 273, 346}, kButtonPen},
  };
  return words;
}

bool inside(const Box& b, int x, int y) {
  return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
}

IndexedImage blankSheet() {
  IndexedImage sheet{kSheetWidthPixels,
                     kSheetHeightPixels,
                     {kCourtGreen, kKeyMagenta, kInkBlack, Rgb{11, 64, 21}, Rgb{21, 128, 43}},
                     std::vector<std::uint8_t>(kSheetWidthPixels * kSheetHeightPixels)};
  for (int y = 0; y < kSheetHeightPixels; ++y) {
    for (int x = 0; x < kSheetWidthPixels; ++x) {
      const bool magenta =
          !inside(kGreenArea, x, y) || inside(kNochmalBox, x, y) || inside(kEndeBox, x, y);
      sheet.at(x, y) = magenta ? kMagenta : kGreen;
    }
  }
  return sheet;
}

// Green, then ever darker ink, by steps of coverage.
constexpr PaletteIndex kByDarkness[] = {kGreen, kGreyEdge, kDarkEdge, kBlack};

long darkness(std::uint8_t index) {
  for (long step = 0; step <= kEdgeSteps; ++step) {
    if (kByDarkness[step] == index) return step;
  }
  return 0;
}

bool onMagenta(const IndexedImage& sheet, const Box& ink) {
  return sheet.at(ink.left, ink.top) == kMagenta;
}

void inkWord(IndexedImage& sheet, const SheetWord& word, std::uint64_t seed) {
  const bool keyed = onMagenta(sheet, word.ink);
  const float threshold = keyed ? kInkOnMagentaFrom : kInkOnGreenFrom;
  const PenStyle pen{word.penRadiusPixels, kWobblePixels, seed};
  const auto placement = fitText(word.text, word.ink, pen, threshold);
  if (!placement) throw std::runtime_error(std::string("cannot fit the lettering ") + word.text);
  const Mask mask = drawText(word.text, *placement, pen, marginAround(word.ink, pen));
  const Box area = mask.area();
  for (int y = std::max(area.top, 0); y <= std::min(area.bottom, kSheetHeightPixels - 1); ++y) {
    for (int x = std::max(area.left, 0); x <= std::min(area.right, kSheetWidthPixels - 1); ++x) {
      const float cover = mask.coverage(x, y);
      if (cover < threshold) continue;
      if (keyed) {
        sheet.at(x, y) = kBlack;
        continue;
      }
      const long step = std::lround(cover * kEdgeSteps);
      // Ink never lightens ink already there (a neighbour's soft edge).
      if (step > darkness(sheet.at(x, y))) sheet.at(x, y) = kByDarkness[step];
    }
  }
}

}  // namespace

IndexedImage drawScoreSheet() {
  IndexedImage sheet = blankSheet();
  std::uint64_t seed = 101;
  for (const SheetWord& word : sheetWords()) inkWord(sheet, word, seed++);
  return sheet;
}

}  // namespace assets
