#include "present/sounds.h"

#include <cstdlib>

#include "game/seconds_clock.h"
#include "present/game_files.h"

namespace {
constexpr int kFirstFreeChannel = -1;
constexpr int kPlayOnce = 0;
constexpr int kNoTimeLimit = -1;

bool audioIsOpen() {
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}
}  // namespace

Mix_Chunk** soundSlot(SoundBank& bank, int index) {
  if (index == kIntroSound) return &bank.intro;
  if (index == kOutroSound) return &bank.outro;
  if (index < kFirstComputerCue) return &bank.playerCues[index - kFirstPlayerCue];
  return &bank.computerCues[index - kFirstComputerCue];
}

std::vector<std::string> loadSoundBank(SoundBank& bank) {
  // Without an audio device nothing can load; that was reported once already.
  const bool reportFailures = audioIsOpen();
  std::vector<std::string> problems;
  for (int index = 0; index < kSoundCount; ++index) {
    Mix_Chunk** slot = soundSlot(bank, index);
    SDL_RWops* stream = SDL_RWFromFile(kSoundFileNames[index], "rb");
    *slot = stream != nullptr ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    if (*slot == nullptr && reportFailures) {
      problems.push_back(std::string("couldn't load \"") + kSoundFileNames[index] +
                         "\" (it will stay silent): " + SDL_GetError());
    }
  }
  return problems;
}

void startSound(Mix_Chunk* chunk) {
  if (chunk != nullptr) Mix_PlayChannelTimed(kFirstFreeChannel, chunk, kPlayOnce, kNoTimeLimit);
}

void playCue(SoundBank& bank, CueGroup group) {
  // Reseeding from the current second makes every cue of one second the same.
  std::srand(static_cast<unsigned>(currentSeconds()));
  const int cue = std::rand() % kCueCount;
  Mix_Chunk* const* cues = group == CueGroup::Player ? bank.playerCues : bank.computerCues;
  // Started once, whichever channel it lands on: a second start of the same
  // chunk would only play it twice as loud.
  startSound(cues[cue]);
}

void freeSoundBank(SoundBank& bank) {
  for (int index = 0; index < kSoundCount; ++index) {
    Mix_Chunk** slot = soundSlot(bank, index);
    Mix_FreeChunk(*slot);  // does nothing with an empty slot
    *slot = nullptr;
  }
}
