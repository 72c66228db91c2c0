#include "wav_writer.h"

#include <fstream>

namespace assets {
namespace {

constexpr std::uint32_t kChannels = 2;
constexpr std::uint32_t kBitsPerSample = 16;
constexpr std::uint32_t kBytesPerFrame = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kFmtChunkBytes = 16;
constexpr std::uint32_t kPcmFormatTag = 1;

void put16(std::ofstream& f, std::uint32_t v) {
  const char b[2] = {static_cast<char>(v & 0xFFu), static_cast<char>((v >> 8) & 0xFFu)};
  f.write(b, 2);
}
void put32(std::ofstream& f, std::uint32_t v) {
  put16(f, v & 0xFFFFu);
  put16(f, v >> 16);
}

}  // namespace

bool writeWav(const std::string& path, const StereoPcm& pcm) {
  std::ofstream f(path, std::ios::binary);
  const auto dataBytes = static_cast<std::uint32_t>(pcm.samples.size() * sizeof(std::int16_t));
  f.write("RIFF", 4);
  put32(f, 4 + 8 + kFmtChunkBytes + 8 + dataBytes);
  f.write("WAVE", 4);
  f.write("fmt ", 4);
  put32(f, kFmtChunkBytes);
  put16(f, kPcmFormatTag);
  put16(f, kChannels);
  put32(f, kSampleRateHz);
  put32(f, kSampleRateHz * kBytesPerFrame);
  put16(f, kBytesPerFrame);
  put16(f, kBitsPerSample);
  f.write("data", 4);
  put32(f, dataBytes);
  for (std::int16_t s : pcm.samples) put16(f, static_cast<std::uint16_t>(s));
  return static_cast<bool>(f);
}

}  // namespace assets
