#include "sheet.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "lettering.h"
#include "present/sheet_layout.h"

namespace assets {
namespace {

enum PaletteIndex : std::uint8_t { kGreen, kMagenta, kBlack, kDarkEdge, kGreyEdge };

// Ink over green is drawn in three steps of coverage, so its edges blend into
// the court. Over magenta only solid ink is drawn: a half-pink pixel would
// survive the colour key as a fringe.
constexpr int kEdgeSteps = 3;
constexpr float kInkOnGreenFrom = 0.5f / kEdgeSteps;
constexpr float kInkOnMagentaFrom = 0.5f;

constexpr int kSheetWidthPixels = kSheetPicture.widthPixels;
constexpr int kSheetHeightPixels = kSheetPicture.heightPixels;

constexpr double kDigitPen = 4.4;
constexpr double kBannerPen = 5.0;
constexpr double kButtonPen = 4.0;
constexpr double kWobblePixels = 0.9;

double penRadiusPixels(Lettering kind) {
  switch (kind) {
    case Lettering::Digit:
      return kDigitPen;
    case Lettering::Banner:
      return kBannerPen;
    case Lettering::Button:
      break;
  }
  return kButtonPen;
}

bool inside(const Box& b, int x, int y) {
  return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
}

IndexedImage blankSheet() {
  IndexedImage sheet{kSheetWidthPixels,
                     kSheetHeightPixels,
                     {kCourtColour, kKeyColour, kInkBlack, Rgb{11, 64, 21}, Rgb{21, 128, 43}},
                     std::vector<std::uint8_t>(kSheetWidthPixels * kSheetHeightPixels)};
  for (int y = 0; y < kSheetHeightPixels; ++y) {
    for (int x = 0; x < kSheetWidthPixels; ++x) {
      const bool magenta = !inside(kSheetGreenArea, x, y) || inside(kNochmalKeyedBox, x, y) ||
                           inside(kEndeKeyedBox, x, y);
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
  const Box ink = inkOnSheet(word);
  const bool keyed = onMagenta(sheet, ink);
  const float threshold = keyed ? kInkOnMagentaFrom : kInkOnGreenFrom;
  const PenStyle pen{penRadiusPixels(word.kind), kWobblePixels, seed};
  const auto placement = fitText(word.text, ink, pen, threshold);
  if (!placement) throw std::runtime_error(std::string("cannot fit the lettering ") + word.text);
  const Mask mask = drawText(word.text, *placement, pen, marginAround(ink, pen));
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
  for (const SheetWord& word : kSheetWords) inkWord(sheet, word, seed++);
  return sheet;
}

}  // namespace assets
