// The sound bank's files and slots, and which cue a hit or a point starts.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "game/seconds_clock.h"
#include "present/sounds.h"

namespace {

std::time_t chosenSecond = 0;
std::time_t theChosenSecond() {
  return chosenSecond;
}

// A mixer on SDL's dummy driver, and 28 silent chunks that tell apart which
// cue was started.
class CueTest : public testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy driver is part of SDL: when it does not open, the set-up is broken.
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    silence_.fill(0);
    for (int cue = 0; cue < kCueCount; ++cue) {
      bank_.playerCues[cue] = Mix_QuickLoad_RAW(silence_.data(), silence_.size());
      bank_.computerCues[cue] = Mix_QuickLoad_RAW(silence_.data(), silence_.size());
    }
    setSecondsSource(theChosenSecond);
  }
  void TearDown() override {
    setSecondsSource(nullptr);
    Mix_HaltChannel(-1);
    for (int cue = 0; cue < kCueCount; ++cue) {
      Mix_FreeChunk(bank_.playerCues[cue]);
      Mix_FreeChunk(bank_.computerCues[cue]);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  // The cue number that playCue started for `group` at `second`, or -1 for none.
  int cueStartedAt(std::time_t second, CueGroup group) {
    chosenSecond = second;
    Mix_HaltChannel(-1);
    playCue(bank_, group);
    Mix_Chunk* const* cues = group == CueGroup::Player ? bank_.playerCues : bank_.computerCues;
    int started = -1, playing = 0;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
      if (!Mix_Playing(channel)) continue;
      ++playing;
      for (int cue = 0; cue < kCueCount; ++cue) {
        if (Mix_GetChunk(channel) == cues[cue]) started = cue;
      }
    }
    EXPECT_LE(playing, 1) << "a cue is started once";
    return started;
  }

  std::array<Uint8, 44100 * 4> silence_{};  // one second, long enough to still play
  SoundBank bank_ = SoundBank();
};

TEST_F(CueTest, EveryCueOfEitherGroupCanBeChosen) {
  std::set<int> player, computer;
  for (std::time_t second = 1'700'000'000; second < 1'700'000'400; ++second) {
    player.insert(cueStartedAt(second, CueGroup::Player));
    computer.insert(cueStartedAt(second, CueGroup::Computer));
  }
  EXPECT_EQ(player.size(), static_cast<size_t>(kCueCount));
  EXPECT_EQ(computer.size(), static_cast<size_t>(kCueCount));
  EXPECT_EQ(player.count(-1), 0u);
}

TEST_F(CueTest, WithinOneSecondEveryCueHasTheSameNumberInBothGroups) {
  for (std::time_t second : {std::time_t{1'700'000'000}, std::time_t{1'700'000'017}}) {
    const int first = cueStartedAt(second, CueGroup::Player);
    EXPECT_EQ(cueStartedAt(second, CueGroup::Player), first);
    std::srand(12345);  // other draws in between change nothing
    EXPECT_EQ(cueStartedAt(second, CueGroup::Computer), first);
  }
}

TEST_F(CueTest, AMissingCueIsSilentAndTheOthersStillSound) {
  const std::time_t second = 1'700'000'000;
  const int cue = cueStartedAt(second, CueGroup::Player);
  ASSERT_GE(cue, 0);
  Mix_Chunk* kept = bank_.playerCues[cue];
  bank_.playerCues[cue] = nullptr;
  EXPECT_EQ(cueStartedAt(second, CueGroup::Player), -1);
  EXPECT_EQ(Mix_Playing(-1), 0);
  bank_.playerCues[cue] = kept;
  std::time_t other = second + 1;
  while (cueStartedAt(other, CueGroup::Player) == cue) ++other;
  EXPECT_GE(cueStartedAt(other, CueGroup::Player), 0);
}

TEST(SoundBank, SlotsFollowTheLoadOrderOfTheFileNames) {
  SoundBank bank = SoundBank();
  struct Case {
    int index;
    Mix_Chunk** slot;
    const char* file;
  };
  for (Case c :
       {Case{0, &bank.intro, "intro.wav"}, Case{1, &bank.outro, "outro.wav"},
        Case{2, &bank.playerCues[0], "1g.wav"}, Case{5, &bank.playerCues[3], "5g.wav"},
        Case{15, &bank.playerCues[13], "15g.wav"}, Case{16, &bank.computerCues[0], "1L.wav"},
        Case{19, &bank.computerCues[3], "6L.wav"}, Case{29, &bank.computerCues[13], "16L.wav"}}) {
    EXPECT_EQ(soundSlot(bank, c.index), c.slot) << c.index;
    EXPECT_STREQ(kSoundFileNames[c.index], c.file) << c.index;
  }
  std::set<std::string> names(kSoundFileNames, kSoundFileNames + kSoundCount);
  EXPECT_EQ(names.size(), static_cast<size_t>(kSoundCount));
  for (const char* absent : {"4g.wav", "4L.wav", "5L.wav"}) EXPECT_EQ(names.count(absent), 0u);
}

TEST(SoundBank, WithoutAnAudioDeviceEverySlotStaysEmptyAndFreeingIsSafe) {
  SoundBank bank = SoundBank();
  loadSoundBank(bank);  // no device is open here
  for (int index = 0; index < kSoundCount; ++index) EXPECT_EQ(*soundSlot(bank, index), nullptr);
  playCue(bank, CueGroup::Computer);
  freeSoundBank(bank);
}

}  // namespace
