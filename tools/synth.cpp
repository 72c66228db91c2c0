#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assets {
namespace {

constexpr double kTau = 2 * std::numbers::pi;
constexpr double kHighestPartialHz = 15000;  // keep partials well below the Nyquist limit
constexpr double kReleaseSeconds = 0.012;
constexpr double kFileFadeSeconds = 0.005;
constexpr double kPeakCeilingDbfs = -1.5;
constexpr double kFullScale = 32767;

const std::vector<double>& partials(Timbre timbre) {
  static const std::vector<double> sine{1};
  static const std::vector<double> flute{1, 0.22, 0.07};
  static const std::vector<double> hollow{1, 0, 0.34, 0, 0.2, 0, 0.14, 0, 0.1};
  static const std::vector<double> reed{1, 0.7, 0.45, 0.3, 0.2, 0.12, 0.07};
  static const std::vector<double> bright{1, 0.5, 0.33, 0.25, 0.2, 0.16, 0.14, 0.12};
  static const std::vector<double> buzzy{1,    0.85, 0.75, 0.65, 0.55, 0.48, 0.42,
                                         0.36, 0.3,  0.26, 0.22, 0.18, 0.15, 0.12};
  switch (timbre) {
    case Timbre::kSine:
      return sine;
    case Timbre::kFlute:
      return flute;
    case Timbre::kHollow:
      return hollow;
    case Timbre::kReed:
      return reed;
    case Timbre::kBright:
      return bright;
    case Timbre::kBuzzy:
      return buzzy;
  }
  return sine;
}

double glideShape(Glide glide, double u) {
  switch (glide) {
    case Glide::kStraight:
      return u;
    case Glide::kEase:
      return 1 - (1 - u) * (1 - u);
    case Glide::kArch:
      return std::sin(std::numbers::pi * u);
  }
  return u;
}

// Raised-cosine ramp from 0 to 1 over `length`.
double ramp(double t, double length) {
  if (length <= 0 || t >= length) return 1;
  if (t <= 0) return 0;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * t / length);
}

double envelope(const Voice& v, double t) {
  const double u = std::clamp(t / v.lengthSeconds, 0.0, 1.0);
  const double body = std::pow(1 - u, v.decayPower);
  const double tremolo = 1 - v.tremoloDepth * 0.5 * (1 - std::cos(kTau * v.tremoloHz * t));
  return ramp(t, v.attackSeconds) * ramp(v.lengthSeconds - t, kReleaseSeconds) * body * tremolo;
}

void addVoice(std::vector<double>& out, const Voice& v) {
  const auto first = static_cast<std::size_t>(v.startSeconds * kSampleRateHz);
  const auto count = static_cast<std::size_t>(v.lengthSeconds * kSampleRateHz);
  const std::vector<double>& recipe = partials(v.timbre);
  double norm = 0;
  for (double a : recipe) norm += a;
  double phase = 0;
  for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
    const double t = double(i) / kSampleRateHz;
    const double u = t / v.lengthSeconds;
    const double bend = v.vibratoSemitones * std::exp(-v.vibratoFadePerSecond * t) *
                        std::sin(kTau * v.vibratoHz * t);
    const double hz =
        v.fromHz * std::pow(v.toHz / v.fromHz, glideShape(v.glide, u)) * std::pow(2.0, bend / 12.0);
    phase = std::fmod(phase + kTau * hz / kSampleRateHz, kTau);
    double sample = 0;
    for (std::size_t k = 0; k < recipe.size(); ++k) {
      if (hz * double(k + 1) > kHighestPartialHz) break;
      sample += recipe[k] * std::sin(double(k + 1) * phase);
    }
    out[first + i] += v.gain * envelope(v, t) * sample / norm;
  }
}

}  // namespace

double midiToHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

std::vector<double> renderVoices(const std::vector<Voice>& voices, double totalSeconds) {
  std::vector<double> out(static_cast<std::size_t>(totalSeconds * kSampleRateHz), 0.0);
  for (const Voice& v : voices) addVoice(out, v);
  return out;
}

StereoPcm finishSound(std::vector<double> mono, double pan, double rmsDbfs) {
  double mean = 0;
  for (double s : mono) mean += s;
  mean /= double(mono.size());
  double energy = 0;
  double peak = 0;
  for (double& s : mono) {
    s -= mean;
    energy += s * s;
    peak = std::max(peak, std::abs(s));
  }
  // Equal-power panning; the louder side sets the level.
  const double angle = (pan + 1) * std::numbers::pi / 4;
  const double left = std::cos(angle) * std::numbers::sqrt2;
  const double right = std::sin(angle) * std::numbers::sqrt2;
  const double rms = std::sqrt(energy / double(mono.size()) * (left * left + right * right) / 2);
  double gain = std::pow(10.0, rmsDbfs / 20) / rms;
  const double ceiling = std::pow(10.0, kPeakCeilingDbfs / 20);
  gain = std::min(gain, ceiling / (peak * std::max(left, right)));

  const std::size_t fade = static_cast<std::size_t>(kFileFadeSeconds * kSampleRateHz);
  StereoPcm pcm;
  pcm.samples.reserve(mono.size() * 2);
  for (std::size_t i = 0; i < mono.size(); ++i) {
    const double edge = ramp(double(std::min(i, mono.size() - 1 - i)), double(fade));
    const double s = mono[i] * gain * edge;
    pcm.samples.push_back(static_cast<std::int16_t>(std::lround(s * left * kFullScale)));
    pcm.samples.push_back(static_cast<std::int16_t>(std::lround(s * right * kFullScale)));
  }
  return pcm;
}

}  // namespace assets
