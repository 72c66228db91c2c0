// The game, its picture generator and its tests all read the same description
// of the screen and the sprite sheet, so a wrong number there would move all of
// them together and no other test would notice. Here every place and size the
// player is meant to see is written out once more, by hand, from the game's
// design: the window, the pictures, each piece of the sheet and where it shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "present/sheet_layout.h"
#include "present/window.h"

namespace {

struct Documented {
  std::string what;
  PixelRect inGame;  // as the game's description has it
  PixelRect meant;   // as the design has it
};

std::string text(const PixelRect& r) {
  return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) +
         ", " + std::to_string(r.h) + ")";
}

PixelRect sizeOf(const PictureFile& picture) {
  return {0, 0, picture.widthPixels, picture.heightPixels};
}

TEST(ScreenLayout, EveryPlaceAndSizeIsTheOneThePlayerIsMeantToSee) {
  std::vector<Documented> rows = {
      {"window",
       {kWindowScreenX, kWindowScreenY, kWindowWidthPixels, kWindowHeightPixels},
       {300, 100, 600, 400}},
      {"title picture", sizeOf(kTitlePicture), {0, 0, 600, 400}},
      {"court picture", sizeOf(kCourtPicture), {0, 0, 600, 400}},
      {"player's creature", sizeOf(kPlayerPicture), {0, 0, 60, 90}},
      {"computer's creature", sizeOf(kComputerPicture), {0, 0, 60, 90}},
      {"ball", sizeOf(kBallPicture), {0, 0, 36, 36}},
      {"sprite sheet", sizeOf(kSheetPicture), {0, 0, 612, 359}},
      {"YOU WIN strip", kYouWinStrip, {0, 90, 360, 80}},
      {"YOU cell", kYouCell, {0, 90, 180, 80}},
      {"LOSE cell", kLoseCell, {360, 90, 240, 80}},
      {"ENDE box", kEndeBox, {350, 190, 300, 80}},
      {"WEITER strip", kWeiterStrip, {0, 290, 300, 80}},
      {"player's units", kPlayerUnits, {220, 0, 45, 60}},
      {"player's 1 of 10", kPlayerTens, {160, 0, 45, 60}},
      {"computer's units", kComputerUnits, {325, 0, 45, 60}},
      {"computer's 0 of 10", kComputerZeroOfTen, {385, 0, 45, 60}},
      {"YOU WIN on screen", kPlayerBanner, {100, 60, 360, 60}},
      {"YOU on screen", kComputerYou, {100, 60, 180, 60}},
      {"LOSE on screen", kComputerLose, {300, 60, 240, 60}},
      {"WEITER button", kWeiterButton, {5, 310, 300, 80}},
      {"ENDE button", kEndeButton, {300, 310, 300, 80}},
  };
  for (int digit = 0; digit <= 9; ++digit) {
    rows.push_back({"digit " + std::to_string(digit), digitCell(digit), {60 * digit, 0, 60, 80}});
  }
  for (const Documented& row : rows) {
    EXPECT_TRUE(row.inGame == row.meant)
        << row.what << " is " << text(row.inGame) << ", meant to be " << text(row.meant);
  }
  EXPECT_STREQ(kWindowTitle, "VombaPong DO NOT DISTRIBUTE");
}

}  // namespace
