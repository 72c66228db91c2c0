#include "png_writer.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace assets {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitsPerChannel = 8;
constexpr std::uint8_t kColourTypeRgba = 6;
constexpr std::uint8_t kRowFilterNone = 0;
constexpr std::size_t kBytesPerPixel = 4;
// A zlib stream with a 32 KiB window and no preset dictionary; the check bits
// make the two header bytes a multiple of 31.
constexpr std::uint8_t kZlibMethod = 0x78;
constexpr std::uint8_t kZlibFlags = 0x01;

// Deflate's match lengths and distances, each a base and a count of extra bits.
constexpr int kMinMatchBytes = 3;
constexpr int kMaxMatchBytes = 258;
constexpr std::size_t kMaxDistanceBytes = 32768;
constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                          15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                          67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtraBits{0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                 4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int kEndOfBlock = 256;
constexpr int kFirstLengthSymbol = 257;

// Deflate packs its bits from the lowest bit of each byte up.
class BitSink {
 public:
  void bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      if (used_ == 0) bytes_.push_back(0);
      bytes_.back() |= static_cast<std::uint8_t>(((value >> i) & 1u) << used_);
      used_ = (used_ + 1) % 8;
    }
  }
  // Huffman codes go in from their highest bit down.
  void code(std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) bits((value >> i) & 1u, 1);
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
  int used_ = 0;
};

// The fixed literal/length code of deflate.
void putSymbol(BitSink& out, int symbol) {
  const auto s = static_cast<std::uint32_t>(symbol);
  if (symbol < 144) {
    out.code(0x30 + s, 8);
  } else if (symbol < 256) {
    out.code(0x190 + s - 144, 9);
  } else if (symbol < 280) {
    out.code(s - 256, 7);
  } else {
    out.code(0xC0 + s - 280, 8);
  }
}

// The index of the last base not above `value`.
template <std::size_t N>
std::size_t slotOf(const std::array<int, N>& bases, int value) {
  return static_cast<std::size_t>(std::upper_bound(bases.begin(), bases.end(), value) -
                                  bases.begin() - 1);
}

void putMatch(BitSink& out, int length, int distance) {
  const std::size_t l = slotOf(kLengthBase, length);
  putSymbol(out, kFirstLengthSymbol + static_cast<int>(l));
  out.bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtraBits[l]);
  const std::size_t d = slotOf(kDistanceBase, distance);
  out.code(static_cast<std::uint32_t>(d), 5);
  out.bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtraBits[d]);
}

int matchLength(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t distance) {
  if (distance == 0 || distance > at || distance > kMaxDistanceBytes) return 0;
  int length = 0;
  while (length < kMaxMatchBytes && at + static_cast<std::size_t>(length) < data.size() &&
         data[at + static_cast<std::size_t>(length)] ==
             data[at + static_cast<std::size_t>(length) - distance]) {
    ++length;
  }
  return length;
}

// One final block with the fixed codes. Only two distances are tried, the
// previous pixel and the pixel above, which is where an icon repeats itself.
std::vector<std::uint8_t> deflate(const std::vector<std::uint8_t>& data, std::size_t rowBytes) {
  BitSink out;
  out.bits(1, 1);  // the final block
  out.bits(1, 2);  // compressed with the fixed codes
  std::size_t at = 0;
  while (at < data.size()) {
    int best = 0;
    std::size_t bestDistance = 0;
    for (std::size_t distance : {kBytesPerPixel, rowBytes}) {
      const int length = matchLength(data, at, distance);
      if (length > best) {
        best = length;
        bestDistance = distance;
      }
    }
    if (best >= kMinMatchBytes) {
      putMatch(out, best, static_cast<int>(bestDistance));
      at += static_cast<std::size_t>(best);
    } else {
      putSymbol(out, data[at]);
      ++at;
    }
  }
  putSymbol(out, kEndOfBlock);
  return out.take();
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

std::uint32_t crc32(const std::vector<std::uint8_t>& data, std::size_t from) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < data.size(); ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putChunk(std::vector<std::uint8_t>& file, const char (&type)[5],
              const std::vector<std::uint8_t>& body) {
  putBigEndian(file, static_cast<std::uint32_t>(body.size()));
  const std::size_t typeAt = file.size();
  file.insert(file.end(), type, type + 4);
  file.insert(file.end(), body.begin(), body.end());
  putBigEndian(file, crc32(file, typeAt));
}

}  // namespace

std::vector<std::uint8_t> encodePng(const RgbaImage& image) {
  std::vector<std::uint8_t> header;
  putBigEndian(header, static_cast<std::uint32_t>(image.width));
  putBigEndian(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {kBitsPerChannel, kColourTypeRgba, 0, 0, 0});

  const std::size_t rowBytes = 1 + kBytesPerPixel * static_cast<std::size_t>(image.width);
  std::vector<std::uint8_t> rows;
  rows.reserve(rowBytes * static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    rows.push_back(kRowFilterNone);
    for (int x = 0; x < image.width; ++x) {
      const Rgba& p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
      rows.insert(rows.end(), {p.r, p.g, p.b, p.a});
    }
  }
  std::vector<std::uint8_t> stream{kZlibMethod, kZlibFlags};
  const std::vector<std::uint8_t> deflated = deflate(rows, rowBytes);
  stream.insert(stream.end(), deflated.begin(), deflated.end());
  putBigEndian(stream, adler32(rows));

  std::vector<std::uint8_t> file(kSignature.begin(), kSignature.end());
  putChunk(file, "IHDR", header);
  putChunk(file, "IDAT", stream);
  putChunk(file, "IEND", {});
  return file;
}

bool writePng(const std::string& path, const RgbaImage& image) {
  return writeBytes(path, encodePng(image));
}

bool writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace assets
