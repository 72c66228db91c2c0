// Fixed-seed randomness: the generator must write the same bytes on every build.
#pragma once

#include <cstdint>

namespace assets {

// SplitMix64: tiny, well mixed, and identical on every platform.
class Prng {
 public:
  explicit Prng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // Uniform in [lo, hi).
  double uniform(double lo, double hi);
  // Uniform integer in [lo, hi].
  int between(int lo, int hi);

 private:
  std::uint64_t state_;
};

// Smooth 1-D value noise in [-1, 1]; the same (seed, t) always gives the same value.
double smoothNoise(std::uint64_t seed, double t);
// The same, repeating every `period` units (a whole number), for noise that
// goes round a circle without a seam.
double periodicNoise(std::uint64_t seed, double t, int period);

}  // namespace assets
