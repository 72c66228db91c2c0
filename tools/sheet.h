// The sprite sheet "scoreboard..bmp": digits, banner words and the two
// end-of-match buttons, at the places the scoreboard copies them from.
#pragma once

#include "image.h"

namespace assets {

inline constexpr int kSheetWidthPixels = 612;
inline constexpr int kSheetHeightPixels = 359;

// Throws std::runtime_error if a word cannot be fitted into its box.
IndexedImage drawScoreSheet();

}  // namespace assets
