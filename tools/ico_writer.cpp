#include "ico_writer.h"

#include <stdexcept>

#include "png_writer.h"

namespace assets {
namespace {

constexpr std::uint16_t kIconType = 1;  // 2 would be a cursor
constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr int kLargestSidePixels = 256;  // written as 0: a byte holds 0 to 255
constexpr std::uint16_t kPlanes = 1;
constexpr std::uint16_t kBitsPerPixel = 32;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::uint8_t sideByte(int pixels) {
  if (pixels < 1 || pixels > kLargestSidePixels) {
    throw std::invalid_argument("an icon side of " + std::to_string(pixels) + " pixels");
  }
  return static_cast<std::uint8_t>(pixels == kLargestSidePixels ? 0 : pixels);
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<RgbaImage>& images) {
  std::vector<std::vector<std::uint8_t>> pngs;
  for (const RgbaImage& image : images) pngs.push_back(encodePng(image));

  // The header, then one directory entry per image, then the images.
  std::vector<std::uint8_t> out;
  put16(out, 0);
  put16(out, kIconType);
  put16(out, static_cast<std::uint32_t>(images.size()));
  std::size_t offset = kHeaderBytes + kEntryBytes * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.push_back(sideByte(images[i].width));
    out.push_back(sideByte(images[i].height));
    out.push_back(0);  // not a palette image
    out.push_back(0);
    put16(out, kPlanes);
    put16(out, kBitsPerPixel);
    put32(out, static_cast<std::uint32_t>(pngs[i].size()));
    put32(out, static_cast<std::uint32_t>(offset));
    offset += pngs[i].size();
  }
  for (const auto& png : pngs) out.insert(out.end(), png.begin(), png.end());
  return out;
}

bool writeIco(const std::string& path, const std::vector<RgbaImage>& images) {
  return writeBytes(path, encodeIco(images));
}

}  // namespace assets
