// A small additive synthesiser for the game's voices and jingles.
#pragma once

#include <vector>

#include "wav_writer.h"

namespace assets {

// Harmonic recipes, from pure to buzzy.
enum class Timbre { kSine, kFlute, kHollow, kReed, kBright, kBuzzy };

// How the pitch travels from fromHz to toHz over the note.
enum class Glide {
  kStraight,  // evenly, in musical steps
  kEase,      // fast at first, then settling
  kArch,      // up to toHz at the middle and back down
};

// One sounding note. Defaults give a plain, steady sine.
struct Voice {
  double startSeconds = 0;
  double lengthSeconds = 0.1;
  double fromHz = 440;
  double toHz = 440;
  Glide glide = Glide::kStraight;
  Timbre timbre = Timbre::kSine;
  double vibratoHz = 0;
  double vibratoSemitones = 0;
  double vibratoFadePerSecond = 0;  // a boing: a wide wobble that dies away
  double tremoloHz = 0;
  double tremoloDepth = 0;  // 0..1
  double attackSeconds = 0.008;
  double decayPower = 0.6;  // 0 holds the level, larger plucks
  double gain = 1;
};

double midiToHz(double note);

// Mixes the voices into one channel of the given length.
std::vector<double> renderVoices(const std::vector<Voice>& voices, double totalSeconds);

// Makes a finished sound: no DC, the given loudness (lowered where needed to
// keep the peak under the ceiling), fades at both ends, and a place between
// the speakers (-1 left .. +1 right).
StereoPcm finishSound(std::vector<double> mono, double pan, double rmsDbfs);

}  // namespace assets
