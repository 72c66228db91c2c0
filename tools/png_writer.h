// Writes PNG files with an alpha channel, for the desktop's icons: the game
// itself reads only BMP files, but icon themes want PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace assets {

// The whole file, deflated with the fixed codes and matches against the pixel
// to the left and the pixel above: enough for pictures that are mostly
// transparent, and the same bytes on every run.
std::vector<std::uint8_t> encodePng(const RgbaImage& image);
// Returns false if the file cannot be written.
bool writePng(const std::string& path, const RgbaImage& image);
// A whole encoded file, such as a PNG or an icon holding PNGs; false if it
// cannot be written.
bool writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace assets
