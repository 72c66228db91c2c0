// The sprite sheet "scoreboard..bmp": digits, banner words and the two
// end-of-match buttons, each lettered into the piece the scoreboard copies it
// from (present/sheet_layout.h).
#pragma once

#include "image.h"

namespace assets {

// Throws std::runtime_error if a word cannot be fitted into its box.
IndexedImage drawScoreSheet();

}  // namespace assets
