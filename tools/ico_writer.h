// Writes the Windows icon file (.ico) that the Windows build embeds in the
// game's .exe, so that Explorer, the taskbar and the window's corner show our
// creature. Each size is stored as a PNG, which Windows reads in icons since
// Vista; the same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace assets {

// The sizes Windows picks from: the small and large icons at 100 % to 200 %
// display scaling, and the 256 pixel one of large Explorer views.
inline constexpr int kWindowsIconSizesPixels[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};

// The whole file; images of at most 256 pixels a side, in the order given.
std::vector<std::uint8_t> encodeIco(const std::vector<RgbaImage>& images);
// Returns false if the file cannot be written.
bool writeIco(const std::string& path, const std::vector<RgbaImage>& images);

}  // namespace assets
