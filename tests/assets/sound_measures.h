// Plain measurements of a sound, to check what a listener would notice.
#pragma once

#include <vector>

#include "asset_reading.h"

namespace asset_tests {

struct SoundMeasures {
  double peakDbfs = 0;
  double rmsDbfs = 0;
  double dcOffset = 0;  // mean sample, as a fraction of full scale
  int peakSample = 0;
  int firstAndLastSample = 0;  // the larger |sample| of the first and the last frame
  int loudestEdgeSample = 0;   // largest |sample| in the first and last millisecond
  double crossingsPerSecond = 0;
  // Loudness and zero crossings over ten equal slices of time, for telling sounds apart.
  std::vector<double> shape;
};

SoundMeasures measure(const Sound& sound);
// How far apart two sounds' shapes and lengths are; 0 for the same sound.
double difference(const SoundMeasures& a, double secondsA, const SoundMeasures& b, double secondsB);

}  // namespace asset_tests
