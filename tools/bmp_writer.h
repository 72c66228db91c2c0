// Writes Windows BMP files in the two forms the game loads.
#pragma once

#include <string>

#include "image.h"

namespace assets {

// 8 bits per pixel, 256-entry palette. Returns false if the file cannot be written.
bool writeIndexedBmp(const std::string& path, const IndexedImage& image);
// 24 bits per pixel, no palette.
bool writeRgbBmp(const std::string& path, const RgbImage& image);

}  // namespace assets
