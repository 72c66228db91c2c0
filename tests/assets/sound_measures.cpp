#include "sound_measures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace asset_tests {
namespace {

constexpr double kFullScale = 32768.0;
constexpr int kSlices = 10;
constexpr double kCrossingScale = 4000.0;  // crossings per second that count as "1" in a shape

double dbfs(double level) {
  return 20 * std::log10(std::max(level, 1e-9));
}

}  // namespace

SoundMeasures measure(const Sound& sound) {
  SoundMeasures m;
  const auto& s = sound.samples;
  const std::size_t frames = s.size() / 2;
  double sum = 0;
  double energy = 0;
  int peak = 0;
  for (std::int16_t v : s) {
    sum += v;
    energy += double(v) * v;
    peak = std::max(peak, std::abs(int(v)));
  }
  m.peakSample = peak;
  m.peakDbfs = dbfs(peak / kFullScale);
  m.rmsDbfs = dbfs(std::sqrt(energy / double(s.size())) / kFullScale);
  m.dcOffset = sum / double(s.size()) / kFullScale;
  m.firstAndLastSample = std::max({std::abs(int(s[0])), std::abs(int(s[1])),
                                   std::abs(int(s[s.size() - 1])), std::abs(int(s[s.size() - 2]))});
  const std::size_t edgeFrames = static_cast<std::size_t>(sound.format.freq / 1000);
  for (std::size_t i = 0; i < edgeFrames * 2 && i < s.size(); ++i) {
    m.loudestEdgeSample =
        std::max({m.loudestEdgeSample, std::abs(int(s[i])), std::abs(int(s[s.size() - 1 - i]))});
  }
  // Mono mix: left plus right.
  auto mono = [&](std::size_t f) { return int(s[2 * f]) + int(s[2 * f + 1]); };
  int crossings = 0;
  std::vector<double> sliceEnergy(kSlices, 0);
  std::vector<double> sliceCrossings(kSlices, 0);
  for (std::size_t f = 1; f < frames; ++f) {
    const auto slice = std::min<std::size_t>(kSlices - 1, f * kSlices / frames);
    sliceEnergy[slice] += double(mono(f)) * mono(f);
    if ((mono(f - 1) < 0) != (mono(f) < 0)) {
      ++crossings;
      sliceCrossings[slice] += 1;
    }
  }
  const double seconds = sound.seconds();
  m.crossingsPerSecond = crossings / seconds;
  const double loudest = *std::max_element(sliceEnergy.begin(), sliceEnergy.end());
  for (int i = 0; i < kSlices; ++i) {
    m.shape.push_back(std::sqrt(sliceEnergy[i] / loudest));
    m.shape.push_back(sliceCrossings[i] * kSlices / seconds / kCrossingScale);
  }
  return m;
}

double difference(const SoundMeasures& a, double secondsA, const SoundMeasures& b,
                  double secondsB) {
  double d = std::abs(secondsA - secondsB) / 0.5;
  for (std::size_t i = 0; i < a.shape.size() && i < b.shape.size(); ++i)
    d += std::abs(a.shape[i] - b.shape[i]);
  return d / double(a.shape.size() + 1);
}

}  // namespace asset_tests
