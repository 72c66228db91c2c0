// The game's files, described once: the six pictures with their sizes, the
// 30 sounds in load order and the colours the pictures share (the sprite
// sheet's layout is in present/sheet_layout.h). Plain numbers with no SDL, so
// that the game, the generator in tools/ and the tests all read the same
// facts; the end-to-end tests read them through the generator's --facts dump.
#pragma once

#include <compare>
#include <cstdint>

#include "game/cue_groups.h"
#include "game/sizes.h"

// ----- shapes and colours ----------------------------------------------------

// Columns x..x+w-1 of rows y..y+h-1, as SDL_Rect holds them: what the game
// copies out of the sheet and where it draws it.
struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const PixelRect&) const = default;
};

// Columns left..right of rows top..bottom, both ends included: what the
// generator paints.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelBox&) const = default;
};

struct PixelColour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  auto operator<=>(const PixelColour&) const = default;
};

// Every sprite's background: made transparent by the colour key.
inline constexpr PixelColour kKeyColour{255, 0, 255};
// The court's green, which is also the sprite sheet's opaque background, so
// that the sheet's digits and banners blend into the court.
inline constexpr PixelColour kCourtColour{32, 192, 64};

// ----- pictures ------------------------------------------------------------

struct PictureFile {
  const char* name;
  int widthPixels;
  int heightPixels;
  bool colourKeyed;  // sprites: the key colour becomes transparent
};

inline constexpr PictureFile kTitlePicture{"Start.bmp", kCourtWidthPixels, kCourtHeightPixels,
                                           false};
// The court is also the eraser: a rectangle of it is the court under the same
// rectangle of the window, so it has the window's size.
inline constexpr PictureFile kCourtPicture{"pong.bmp", kCourtWidthPixels, kCourtHeightPixels,
                                           false};
inline constexpr PictureFile kPlayerPicture{"vombaGruen.bmp", kPaddleWidthPixels,
                                            kPaddleHeightPixels, true};
inline constexpr PictureFile kComputerPicture{"vombaLILA.bmp", kPaddleWidthPixels,
                                              kPaddleHeightPixels, true};
inline constexpr PictureFile kBallPicture{"ball.bmp", kBallSizePixels, kBallSizePixels, true};
inline constexpr PictureFile kSheetPicture{"scoreboard..bmp", 612, 359, true};

// ----- sounds --------------------------------------------------------------

inline constexpr int kSoundCount = 2 + 2 * kCueCount;
inline constexpr int kIntroSound = 0;
inline constexpr int kOutroSound = 1;
inline constexpr int kFirstPlayerCue = 2;
inline constexpr int kFirstComputerCue = kFirstPlayerCue + kCueCount;

// Bare file names, in load order: the intro, the outro, the player's cue
// group, the computer's cue group.
inline constexpr const char* kSoundFileNames[kSoundCount] = {
    "intro.wav", "outro.wav",
    // The player's cues: there has never been a "4g.wav".
    "1g.wav", "2g.wav", "3g.wav", "5g.wav", "6g.wav", "7g.wav", "8g.wav", "9g.wav", "10g.wav",
    "11g.wav", "12g.wav", "13g.wav", "14g.wav", "15g.wav",
    // The computer's cues: no "4L.wav" or "5L.wav".
    "1L.wav", "2L.wav", "3L.wav", "6L.wav", "7L.wav", "8L.wav", "9L.wav", "10L.wav", "11L.wav",
    "12L.wav", "13L.wav", "14L.wav", "15L.wav", "16L.wav"};
static_assert(kSoundFileNames[kSoundCount - 1] != nullptr, "a sound without a file name");
