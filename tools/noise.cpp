#include "noise.h"

#include <cmath>

namespace assets {
namespace {

std::uint64_t mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double latticeValue(std::uint64_t seed, std::int64_t i) {
  const std::uint64_t h = mix(seed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(i));
  return static_cast<double>(h >> 11) / static_cast<double>(1ull << 53) * 2.0 - 1.0;
}

}  // namespace

std::uint64_t Prng::next() {
  state_ += 0x9E3779B97F4A7C15ull;
  return mix(state_);
}

double Prng::uniform(double lo, double hi) {
  const double unit = static_cast<double>(next() >> 11) / static_cast<double>(1ull << 53);
  return lo + (hi - lo) * unit;
}

int Prng::between(int lo, int hi) {
  return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
}

namespace {

double interpolate(std::uint64_t seed, double t, std::int64_t period) {
  const double cell = std::floor(t);
  const double f = t - cell;
  const double ease = f * f * (3.0 - 2.0 * f);
  auto wrap = [period](std::int64_t i) {
    return period > 0 ? ((i % period) + period) % period : i;
  };
  const auto i = static_cast<std::int64_t>(cell);
  const double a = latticeValue(seed, wrap(i));
  const double b = latticeValue(seed, wrap(i + 1));
  return a + (b - a) * ease;
}

}  // namespace

double smoothNoise(std::uint64_t seed, double t) {
  return interpolate(seed, t, 0);
}

double periodicNoise(std::uint64_t seed, double t, int period) {
  return interpolate(seed, t, period);
}

}  // namespace assets
