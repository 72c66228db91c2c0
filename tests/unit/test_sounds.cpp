// The sound bank's files and slots, and which cue a hit or a point starts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/seconds_clock.h"
#include "present/game_files.h"
#include "present/sounds.h"
#include "tests/unit/support/cue_mixer.h"

namespace {

std::time_t chosenSecond = 0;
std::time_t theChosenSecond() {
  return chosenSecond;
}

// The cue playCue starts, told apart by the chunk the channel plays.
class CueTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mixer_.open()) << Mix_GetError();
    mixer_.fill(bank_);
    setSecondsSource(theChosenSecond);
  }
  void TearDown() override { setSecondsSource(nullptr); }

  // The cue number that playCue started for `group` at `second`, or -1 for none.
  int cueStartedAt(std::time_t second, CueGroup group) {
    chosenSecond = second;
    Mix_HaltChannel(-1);
    playCue(bank_, group);
    const std::vector<int> started = mixer_.playing(group);
    EXPECT_LE(Mix_Playing(-1), 1) << "a cue is started once";
    return started.empty() ? -1 : started.front();
  }

  CueMixer mixer_;
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
