// Every picture loads as the game loads it, with the size and depth the game's layout relies on.
#include <gtest/gtest.h>

#include <map>

#include "asset_reading.h"

namespace asset_tests {
namespace {

struct PictureFormat {
  const PictureFile* file;
  int bitsPerPixel;
};

void PrintTo(const PictureFormat& p, std::ostream* out) {
  *out << p.file->name;
}

class PictureFormatTest : public testing::TestWithParam<PictureFormat> {};

TEST_P(PictureFormatTest, LoadsWithItsSizeAndDepth) {
  const PictureFile& want = *GetParam().file;
  SurfacePtr surface = loadPicture(want.name);
  ASSERT_NE(surface, nullptr) << want.name << ": " << SDL_GetError();
  EXPECT_EQ(surface->w, want.widthPixels);
  EXPECT_EQ(surface->h, want.heightPixels);
  EXPECT_EQ(surface->format->BitsPerPixel, GetParam().bitsPerPixel);
  // An 8-bit picture without a palette would show as nonsense colours.
  EXPECT_EQ(surface->format->palette != nullptr, GetParam().bitsPerPixel == 8);
}

INSTANTIATE_TEST_SUITE_P(
    AllPictures, PictureFormatTest,
    testing::Values(PictureFormat{&kTitlePicture, 8}, PictureFormat{&kCourtPicture, 8},
                    PictureFormat{&kPlayerPicture, 8}, PictureFormat{&kComputerPicture, 8},
                    PictureFormat{&kBallPicture, 24}, PictureFormat{&kSheetPicture, 8}),
    [](const auto& info) {
      std::string n = info.param.file->name;
      return n.substr(0, n.find('.'));
    });

TEST(SpriteKeyTest, MagentaMapsToAPaletteEntryThatIsExactlyMagenta) {
  // The game keys its sprites with SDL_MapRGB of the key colour; on a palette
  // that picks the closest entry, so an exact entry must exist.
  for (const PictureFile* file : {&kPlayerPicture, &kComputerPicture, &kSheetPicture}) {
    SurfacePtr surface = loadPicture(file->name);
    ASSERT_NE(surface, nullptr) << file->name;
    const Uint32 key = SDL_MapRGB(surface->format, kKeyColour.r, kKeyColour.g, kKeyColour.b);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(key, surface->format, &r, &g, &b);
    EXPECT_EQ((Colour{r, g, b}), kKeyColour) << file->name;
  }
}

TEST(CourtTest, IsGreenWithADashedBlackCentreLine) {
  SurfacePtr surface = loadPicture(kCourtPicture.name);
  ASSERT_NE(surface, nullptr);
  const Picture court(surface.get());
  const Rect whole{0, 0, court.width() - 1, court.height() - 1};
  EXPECT_TRUE(court.all(whole, [](Colour c) { return c == kCourtColour || c == kBlack; }));
  const auto line = court.bounds(whole, [](Colour c) { return c == kBlack; });
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, (Rect{299, 0, 303, 399}));
  // Count the dashes down the middle of the line.
  int dashes = 0;
  for (int y = 0; y < court.height(); ++y) {
    const bool black = court.at(301, y) == kBlack;
    if (black && (y == 0 || court.at(301, y - 1) != kBlack)) ++dashes;
  }
  EXPECT_EQ(dashes, 20);
  for (int x = 299; x <= 303; ++x) {
    EXPECT_TRUE(court.bounds({x, 0, x, 399}, [](Colour c) { return c == kBlack; }))
        << "column " << x;
  }
}

TEST(TitleTest, ShowsBothCreaturesOnTheCourtGreen) {
  SurfacePtr surface = loadPicture(kTitlePicture.name);
  ASSERT_NE(surface, nullptr);
  const Picture title(surface.get());
  std::map<Colour, int> counts;
  int yellowGreen = 0;
  int purple = 0;
  for (int y = 0; y < title.height(); ++y) {
    for (int x = 0; x < title.width(); ++x) {
      const Colour c = title.at(x, y);
      ++counts[c];
      if (c.r > 150 && c.g > 180 && c.b < 120) ++yellowGreen;
      if (c.r > 100 && c.b > 150 && c.g < c.r) ++purple;
    }
  }
  const auto mostUsed =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  EXPECT_EQ(mostUsed->first, kCourtColour);
  EXPECT_GT(yellowGreen, 2000);
  EXPECT_GT(purple, 2000);
}

}  // namespace
}  // namespace asset_tests
