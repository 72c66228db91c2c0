// Where things lie in the sprite sheet "scoreboard..bmp" and where the
// scoreboard shows them. Plain numbers with no SDL: the game copies these
// rectangles, the generator in tools/ letters each word into the piece the
// game copies it from, and the tests check the generated ink against them.
#pragma once

#include "present/game_files.h"

// `box`, counted from the top-left corner of `piece`, as a box of the sheet.
constexpr PixelBox within(const PixelRect& piece, const PixelBox& box) {
  return {piece.x + box.left, piece.y + box.top, piece.x + box.right, piece.y + box.bottom};
}

inline constexpr PixelRect kWholeSheet{0, 0, kSheetPicture.widthPixels, kSheetPicture.heightPixels};

// ----- the pieces the scoreboard copies --------------------------------------

inline constexpr int kDigitCellWidthPixels = 60;
inline constexpr int kDigitCellHeightPixels = 80;
constexpr PixelRect digitCell(int digit) {
  return {kDigitCellWidthPixels * digit, 0, kDigitCellWidthPixels, kDigitCellHeightPixels};
}
inline constexpr PixelRect kYouWinStrip{0, 90, 360, 80};
inline constexpr PixelRect kYouCell{0, 90, 180, 80};
inline constexpr PixelRect kLoseCell{360, 90, 240, 80};
// These two reach past the sheet's edge; the renderer clips them to the sheet
// and stretches what is left over the whole destination.
inline constexpr PixelRect kEndeBox{350, 190, 300, 80};
inline constexpr PixelRect kWeiterStrip{0, 290, 300, 80};

// ----- what the generator paints ---------------------------------------------

// The court green, opaque; the rest of the sheet is the key colour. Digits and
// banner words are black on this green.
inline constexpr PixelBox kSheetGreenArea{0, 0, 609, 272};
// Patches of key colour within the green, so that ENDE's letters (and
// NOCHMAL's beside them) stand on the court; WEITER's lie in the keyed band
// below the green.
inline constexpr PixelBox kNochmalKeyedBox{1, 195, 289, 258};
inline constexpr PixelBox kEndeKeyedBox = within(kEndeBox, {15, 6, 250, 66});

enum class Lettering { Digit, Banner, Button };

struct SheetWord {
  const char* text;
  Lettering kind;
  PixelRect piece;  // the part of the sheet the word is shown from
  PixelBox ink;     // the exact extent of its ink, counted from the piece's corner
};

constexpr PixelBox inkOnSheet(const SheetWord& word) {
  return within(word.piece, word.ink);
}

// Every word of the sheet, in the order the generator letters them. The
// bottoms of the 4, 5, 6, 7 and 9 hang below their cells, in rows the
// scoreboard never shows, and the 5 leans one column into the 6's cell. WIN is
// shown only with YOU; NOCHMAL is never shown, so its place is counted from the
// sheet's corner.
inline constexpr SheetWord kSheetWords[] = {
    {"0", Lettering::Digit, digitCell(0), {11, 9, 48, 77}},
    {"1", Lettering::Digit, digitCell(1), {20, 8, 41, 77}},
    {"2", Lettering::Digit, digitCell(2), {11, 10, 49, 78}},
    {"3", Lettering::Digit, digitCell(3), {12, 9, 48, 78}},
    {"4", Lettering::Digit, digitCell(4), {9, 11, 50, 82}},
    {"5", Lettering::Digit, digitCell(5), {19, 10, 60, 81}},
    {"6", Lettering::Digit, digitCell(6), {12, 8, 48, 80}},
    {"7", Lettering::Digit, digitCell(7), {11, 10, 48, 82}},
    {"8", Lettering::Digit, digitCell(8), {12, 9, 48, 78}},
    {"9", Lettering::Digit, digitCell(9), {12, 9, 48, 81}},
    {"YOU", Lettering::Banner, kYouCell, {5, 13, 173, 76}},
    {"WIN", Lettering::Banner, kYouWinStrip, {204, 14, 353, 76}},
    {"LOSE", Lettering::Banner, kLoseCell, {18, 13, 230, 76}},
    {"NOCHMAL", Lettering::Button, kWholeSheet, {6, 202, 285, 249}},
    {"ENDE", Lettering::Button, kEndeBox, {24, 14, 240, 59}},
    {"WEITER", Lettering::Button, kWeiterStrip, {5, 2, 273, 56}},
};

// ----- where the scoreboard shows the pieces ---------------------------------

// A digit cell is drawn at three quarters of its size.
inline constexpr PixelRect kPlayerUnits{220, 0, 45, 60};
inline constexpr PixelRect kPlayerTens{160, 0, 45, 60};
inline constexpr PixelRect kComputerUnits{325, 0, 45, 60};
inline constexpr PixelRect kComputerZeroOfTen{385, 0, 45, 60};
inline constexpr PixelRect kPlayerBanner{100, 60, 360, 60};
inline constexpr PixelRect kComputerYou{100, 60, 180, 60};
inline constexpr PixelRect kComputerLose{300, 60, 240, 60};
inline constexpr PixelRect kWeiterButton{5, 310, 300, 80};
inline constexpr PixelRect kEndeButton{300, 310, 300, 80};
