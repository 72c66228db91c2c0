// A mixer on SDL's dummy audio driver and 28 silent cues, one chunk for each
// slot of the two cue groups, so that a test can tell which cues are playing.
// Each lasts long enough to outlast the test: a started cue keeps its channel.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

#include "present/sounds.h"
#include "tests/support/scoped_env.h"

class CueMixer {
 public:
  CueMixer() {
    open_ = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;
    if (!open_) return;
    for (int cue = 0; cue < kCueCount; ++cue) {
      cues_.playerCues[cue] = Mix_QuickLoad_RAW(silence_.data(), kSilenceBytes);
      cues_.computerCues[cue] = Mix_QuickLoad_RAW(silence_.data(), kSilenceBytes);
    }
  }
  ~CueMixer() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (int cue = 0; cue < kCueCount; ++cue) {
      Mix_FreeChunk(cues_.playerCues[cue]);
      Mix_FreeChunk(cues_.computerCues[cue]);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  CueMixer(const CueMixer&) = delete;
  CueMixer& operator=(const CueMixer&) = delete;

  // The dummy driver is part of SDL: when it does not open, the test is broken.
  bool open() const { return open_; }

  // Puts the silent cues into the bank's two groups.
  void fill(SoundBank& bank) const {
    for (int cue = 0; cue < kCueCount; ++cue) {
      bank.playerCues[cue] = cues_.playerCues[cue];
      bank.computerCues[cue] = cues_.computerCues[cue];
    }
  }

  // The cues of `group` playing now, by slot, one entry for every channel.
  std::vector<int> playing(CueGroup group) const {
    Mix_Chunk* const* cues = group == CueGroup::Player ? cues_.playerCues : cues_.computerCues;
    std::vector<int> found;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
      if (!Mix_Playing(channel)) continue;
      for (int cue = 0; cue < kCueCount; ++cue) {
        if (Mix_GetChunk(channel) == cues[cue]) found.push_back(cue);
      }
    }
    return found;
  }
  int playingCount(CueGroup group) const { return static_cast<int>(playing(group).size()); }

 private:
  static constexpr Uint32 kSilenceBytes = 44100 * 4 * 20;  // 20 s of 16-bit stereo

  ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
  bool open_ = false;
  std::vector<Uint8> silence_ = std::vector<Uint8>(kSilenceBytes);
  SoundBank cues_ = SoundBank();
};
