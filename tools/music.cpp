#include "music.h"

namespace assets {
namespace {

using enum Timbre;

// A note on a grid of eighths: where it starts, how long, which MIDI note.
struct Note {
  double startEighths;
  double lengthEighths;
  int midi;
};

constexpr double kIntroEighthSeconds = 0.17;
constexpr double kOutroEighthSeconds = 0.24;
constexpr double kTailSeconds = 0.25;  // room for the last note to ring out

void addPart(std::vector<Voice>& voices, const std::vector<Note>& notes, double eighthSeconds,
             Voice sound) {
  for (const Note& n : notes) {
    Voice v = sound;
    v.startSeconds = n.startEighths * eighthSeconds;
    v.lengthSeconds = n.lengthEighths * eighthSeconds;
    v.fromHz = v.toHz = midiToHz(n.midi);
    voices.push_back(v);
  }
}

double endOf(const std::vector<Voice>& voices) {
  double end = 0;
  for (const Voice& v : voices) end = std::max(end, v.startSeconds + v.lengthSeconds);
  return end + kTailSeconds;
}

const Voice kMelody{.timbre = kReed,
                    .vibratoHz = 5.5,
                    .vibratoSemitones = 0.12,
                    .attackSeconds = 0.006,
                    .decayPower = 1.1,
                    .gain = 0.55};
const Voice kBell{.timbre = kFlute, .attackSeconds = 0.003, .decayPower = 2.5, .gain = 0.3};
const Voice kBass{.timbre = kHollow, .attackSeconds = 0.01, .decayPower = 0.9, .gain = 0.45};
const Voice kPad{.timbre = kFlute,
                 .vibratoHz = 4.5,
                 .vibratoSemitones = 0.08,
                 .attackSeconds = 0.05,
                 .decayPower = 0.8,
                 .gain = 0.18};

}  // namespace

std::vector<double> introJingle() {
  // C major: up the chord, a turn through F, and home with a little hop.
  const std::vector<Note> melody{{0, 1, 72}, {1, 1, 76}, {2, 1, 79}, {3, 1, 84},   {4, 1, 81},
                                 {5, 1, 77}, {6, 1, 81}, {7, 1, 86}, {8, 0.7, 83}, {9, 6, 84}};
  const std::vector<Note> sparkle{{3, 1, 96}, {7, 1, 98}, {9, 3, 96}};
  const std::vector<Note> bass{{0, 2, 48}, {2, 2, 43}, {4, 2, 41},
                               {6, 2, 43}, {8, 1, 43}, {9, 5, 36}};
  const std::vector<Note> chord{{9, 6, 60}, {9, 6, 64}, {9, 6, 67}};
  std::vector<Voice> voices;
  addPart(voices, melody, kIntroEighthSeconds, kMelody);
  addPart(voices, sparkle, kIntroEighthSeconds, kBell);
  addPart(voices, bass, kIntroEighthSeconds, kBass);
  addPart(voices, chord, kIntroEighthSeconds, kPad);
  // The green creature's happy chirp on the last note.
  voices.push_back({.startSeconds = 9 * kIntroEighthSeconds + 0.05,
                    .lengthSeconds = 0.16,
                    .fromHz = 900,
                    .toHz = 1700,
                    .timbre = kFlute,
                    .gain = 0.25});
  return renderVoices(voices, endOf(voices));
}

std::vector<double> outroTune() {
  // Ta-ta-ta-taaa, a step down and a step back up, and a long last chord.
  const std::vector<Note> melody{{0, 0.8, 79}, {1, 0.8, 79}, {2, 0.8, 79}, {3, 3, 84}, {6, 1, 83},
                                 {7, 1, 81},   {8, 1, 79},   {9, 1, 81},   {10, 6, 84}};
  const std::vector<Note> bass{{0, 3, 43}, {3, 3, 48}, {6, 2, 41}, {8, 2, 43}, {10, 6, 36}};
  const std::vector<Note> chord{{3, 3, 64},  {3, 3, 67},  {6, 4, 65}, {6, 4, 69},
                                {10, 6, 60}, {10, 6, 64}, {10, 6, 67}};
  const std::vector<Note> sparkle{{3, 2, 96}, {10, 3, 96}, {11, 3, 100}, {12, 4, 103}};
  std::vector<Voice> voices;
  addPart(voices, melody, kOutroEighthSeconds, kMelody);
  addPart(voices, bass, kOutroEighthSeconds, kBass);
  addPart(voices, chord, kOutroEighthSeconds, kPad);
  addPart(voices, sparkle, kOutroEighthSeconds, kBell);
  return renderVoices(voices, endOf(voices));
}

}  // namespace assets
