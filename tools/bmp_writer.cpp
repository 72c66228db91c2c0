#include "bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace assets {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPaletteEntries = 256;
constexpr std::uint32_t kPaletteEntryBytes = 4;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi, what most painters write

class ByteSink {
 public:
  void u8(std::uint32_t v) { bytes_.push_back(static_cast<char>(v & 0xFFu)); }
  void u16(std::uint32_t v) {
    u8(v);
    u8(v >> 8);
  }
  void u32(std::uint32_t v) {
    u16(v);
    u16(v >> 16);
  }
  const std::vector<char>& bytes() const { return bytes_; }

 private:
  std::vector<char> bytes_;
};

// BMP rows are padded to a multiple of four bytes.
std::uint32_t paddedRowBytes(int width, int bytesPerPixel) {
  return (static_cast<std::uint32_t>(width * bytesPerPixel) + 3u) & ~3u;
}

void writeHeaders(ByteSink& out, int width, int height, int bitsPerPixel,
                  std::uint32_t paletteBytes) {
  const std::uint32_t rowBytes = paddedRowBytes(width, bitsPerPixel / 8);
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
  const std::uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;
  out.u8('B');
  out.u8('M');
  out.u32(pixelOffset + imageBytes);
  out.u32(0);
  out.u32(pixelOffset);
  out.u32(kInfoHeaderBytes);
  out.u32(static_cast<std::uint32_t>(width));
  out.u32(static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
  out.u16(1);
  out.u16(static_cast<std::uint32_t>(bitsPerPixel));
  out.u32(0);  // no compression
  out.u32(imageBytes);
  out.u32(kPixelsPerMetre);
  out.u32(kPixelsPerMetre);
  out.u32(paletteBytes / kPaletteEntryBytes);
  out.u32(0);
}

bool save(const std::string& path, const ByteSink& sink) {
  std::ofstream file(path, std::ios::binary);
  file.write(sink.bytes().data(), static_cast<std::streamsize>(sink.bytes().size()));
  return static_cast<bool>(file);
}

}  // namespace

bool writeIndexedBmp(const std::string& path, const IndexedImage& image) {
  ByteSink out;
  writeHeaders(out, image.width, image.height, 8, kPaletteEntries * kPaletteEntryBytes);
  for (std::uint32_t i = 0; i < kPaletteEntries; ++i) {
    const Rgb colour = i < image.palette.size() ? image.palette[i] : kInkBlack;
    out.u8(colour.b);
    out.u8(colour.g);
    out.u8(colour.r);
    out.u8(0);
  }
  const std::uint32_t padding =
      paddedRowBytes(image.width, 1) - static_cast<std::uint32_t>(image.width);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) out.u8(image.at(x, y));
    for (std::uint32_t p = 0; p < padding; ++p) out.u8(0);
  }
  return save(path, out);
}

bool writeRgbBmp(const std::string& path, const RgbImage& image) {
  ByteSink out;
  writeHeaders(out, image.width, image.height, 24, 0);
  const std::uint32_t padding =
      paddedRowBytes(image.width, 3) - static_cast<std::uint32_t>(image.width * 3);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& c = image.at(x, y);
      out.u8(c.b);
      out.u8(c.g);
      out.u8(c.r);
    }
    for (std::uint32_t p = 0; p < padding; ++p) out.u8(0);
  }
  return save(path, out);
}

}  // namespace assets
