// Writes 16-bit stereo PCM WAV files at the game's mixing rate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

inline constexpr int kSampleRateHz = 44100;

// Interleaved left/right pairs.
struct StereoPcm {
  std::vector<std::int16_t> samples;
};

bool writeWav(const std::string& path, const StereoPcm& pcm);

}  // namespace assets
