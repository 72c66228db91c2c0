#include "court.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace assets {
namespace {

constexpr std::uint8_t kGreenIndex = 0;
constexpr std::uint8_t kBlackIndex = 1;
constexpr int kLineLeftColumn = 299;
constexpr int kLineWidthPixels = 5;
constexpr int kDashCount = 20;
constexpr int kShortestDashPixels = 10;
constexpr int kLongestDashPixels = 13;
constexpr int kDashDriftPixels = 1;  // a hand does not space the dashes exactly
constexpr std::uint64_t kDashSeed = 20;

// One dash, drawn as a brush would: rounded ends that do not fill the full
// width, and an occasional ragged side. The dashes at the edges run off the
// court, so their outer ends are cut straight.
void drawDash(IndexedImage& court, int top, int bottom, Prng& hand) {
  for (int y = top; y <= bottom; ++y) {
    const bool cutByEdge = y == 0 || y == court.height - 1;
    const bool atEnd = (y == top || y == bottom) && !cutByEdge;
    int left = kLineLeftColumn;
    int right = kLineLeftColumn + kLineWidthPixels - 1;
    if (atEnd) {
      left += 1;
      right -= hand.between(0, 1);
    } else if (hand.between(0, 5) == 0) {
      // A ragged side only ever bites into the line, never past its five columns.
      if (hand.between(0, 1) == 0) {
        ++left;
      } else {
        --right;
      }
    }
    for (int x = left; x <= right; ++x) court.at(x, y) = kBlackIndex;
  }
}

}  // namespace

IndexedImage drawCourt() {
  IndexedImage court{
      kCourtWidthPixels,
      kCourtHeightPixels,
      {kCourtColour, kInkBlack},
      std::vector<std::uint8_t>(kCourtWidthPixels * kCourtHeightPixels, kGreenIndex)};
  Prng hand(kDashSeed);
  int lengths[kDashCount];
  for (int& length : lengths) length = hand.between(kShortestDashPixels, kLongestDashPixels);
  // The first dash starts at the top edge and the last one ends at the bottom edge.
  const int lastTop = kCourtHeightPixels - lengths[kDashCount - 1];
  for (int i = 0; i < kDashCount; ++i) {
    int top = static_cast<int>(std::lround(double(i) * lastTop / (kDashCount - 1)));
    if (i > 0 && i < kDashCount - 1) top += hand.between(-kDashDriftPixels, kDashDriftPixels);
    const int bottom = std::min(top + lengths[i] - 1, kCourtHeightPixels - 1);
    drawDash(court, top, bottom, hand);
  }
  return court;
}

}  // namespace assets
