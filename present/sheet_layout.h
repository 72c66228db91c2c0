// Where things lie in the pictures, and where they go on the screen.
#pragma once

#include <SDL.h>

// Every sprite's background: made transparent by the colour key.
inline constexpr Uint8 kKeyRed = 255, kKeyGreen = 0, kKeyBlue = 255;

inline constexpr int kPaddleWidthPixels = 60;
inline constexpr int kPaddleHeightPixels = 90;
inline constexpr int kBallSizePixels = 36;
inline constexpr int kSheetWidthPixels = 612;
inline constexpr int kSheetHeightPixels = 359;

inline constexpr SDL_Rect kPaddleSource{0, 0, kPaddleWidthPixels, kPaddleHeightPixels};
inline constexpr SDL_Rect kBallSource{0, 0, kBallSizePixels, kBallSizePixels};

// Regions of the sprite sheet "scoreboard..bmp".
inline constexpr int kDigitCellWidthPixels = 60;
inline constexpr int kDigitCellHeightPixels = 80;
constexpr SDL_Rect digitCell(int digit) {
  return {kDigitCellWidthPixels * digit, 0, kDigitCellWidthPixels, kDigitCellHeightPixels};
}
inline constexpr SDL_Rect kYouWinStrip{0, 90, 360, 80};
inline constexpr SDL_Rect kYouCell{0, 90, 180, 80};
inline constexpr SDL_Rect kLoseCell{360, 90, 240, 80};
// These two reach past the sheet's edge; the renderer clips them to the sheet
// and stretches what is left over the whole destination.
inline constexpr SDL_Rect kEndeBox{350, 190, 300, 80};
inline constexpr SDL_Rect kWeiterStrip{0, 290, 300, 80};

// Places on the screen. A digit cell is drawn at three quarters of its size.
inline constexpr SDL_Rect kPlayerUnits{220, 0, 45, 60};
inline constexpr SDL_Rect kPlayerTens{160, 0, 45, 60};
inline constexpr SDL_Rect kComputerUnits{325, 0, 45, 60};
inline constexpr SDL_Rect kComputerZeroOfTen{385, 0, 45, 60};
inline constexpr SDL_Rect kPlayerBanner{100, 60, 360, 60};
inline constexpr SDL_Rect kComputerYou{100, 60, 180, 60};
inline constexpr SDL_Rect kComputerLose{300, 60, 240, 60};
inline constexpr SDL_Rect kWeiterButton{5, 310, 300, 80};
inline constexpr SDL_Rect kEndeButton{300, 310, 300, 80};
