// The 30 sounds: a format the mixer plays, clean edges and levels, sensible
// lengths, and cues that sound different from each other.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>

#include "asset_reading.h"
#include "sound_measures.h"

namespace asset_tests {
namespace {

constexpr double kPeakCeilingDbfs = -1.0;
constexpr double kQuietestCueDbfs = -24;
constexpr double kLoudestCueDbfs = -12;
constexpr double kCueLoudnessSpreadDb = 6;
constexpr double kLargestDcOffset = 0.002;
constexpr int kLargestEndSample = 64;  // -54 dBFS: a sound that starts or stops here does not click
// Within a millisecond of either end the sound is still fading: at most this share of its peak.
constexpr double kLargestEdgeShareOfPeak = 0.15;
constexpr double kShortestCueSeconds = 0.15;
constexpr double kLongestCueSeconds = 0.8;
constexpr double kIntroWaitSeconds = 4.8;  // start-up waits this long after the intro
constexpr double kSmallestCueDifference = 0.03;

std::vector<std::string> allSoundFiles() {
  return {std::begin(kSoundFileNames), std::end(kSoundFileNames)};
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
  return info.param.substr(0, info.param.find('.'));
}

class SoundFileTest : public testing::TestWithParam<std::string> {};

TEST_P(SoundFileTest, IsCleanCdQualityStereo) {
  const auto sound = loadSound(GetParam());
  ASSERT_TRUE(sound) << GetParam() << ": " << SDL_GetError();
  EXPECT_EQ(sound->format.freq, 44100);
  EXPECT_EQ(sound->format.format, AUDIO_S16LSB);
  EXPECT_EQ(sound->format.channels, 2);
  const SoundMeasures m = measure(*sound);
  EXPECT_LT(m.peakDbfs, kPeakCeilingDbfs);
  EXPECT_LT(std::abs(m.dcOffset), kLargestDcOffset);
  EXPECT_LE(m.firstAndLastSample, kLargestEndSample);
  EXPECT_LE(m.loudestEdgeSample, kLargestEdgeShareOfPeak * m.peakSample);
}

INSTANTIATE_TEST_SUITE_P(AllSounds, SoundFileTest, testing::ValuesIn(allSoundFiles()), testName);

class CueTest : public testing::TestWithParam<std::string> {};

TEST_P(CueTest, IsShortAndAsLoudAsTheOthers) {
  const auto sound = loadSound(GetParam());
  ASSERT_TRUE(sound) << GetParam();
  EXPECT_GE(sound->seconds(), kShortestCueSeconds);
  EXPECT_LE(sound->seconds(), kLongestCueSeconds);
  const SoundMeasures m = measure(*sound);
  EXPECT_GE(m.rmsDbfs, kQuietestCueDbfs);
  EXPECT_LE(m.rmsDbfs, kLoudestCueDbfs);
}

std::vector<std::string> allCueFiles() {
  std::vector<std::string> names = playerCueFiles();
  for (const auto& n : computerCueFiles()) names.push_back(n);
  return names;
}

INSTANTIATE_TEST_SUITE_P(AllCues, CueTest, testing::ValuesIn(allCueFiles()), testName);

TEST(MusicTest, IntroEndsBeforeTheStartUpWaitAndOutroIsAShortTune) {
  const auto intro = loadSound(kSoundFileNames[kIntroSound]);
  const auto outro = loadSound(kSoundFileNames[kOutroSound]);
  ASSERT_TRUE(intro && outro);
  EXPECT_LT(intro->seconds(), kIntroWaitSeconds);
  EXPECT_GT(intro->seconds(), 1.5);
  EXPECT_GT(outro->seconds(), 1.5);
  EXPECT_LT(outro->seconds(), 8.0);
}

struct MeasuredCue {
  std::string name;
  double seconds;
  SoundMeasures measures;
};

std::vector<MeasuredCue> measureAll(const std::vector<std::string>& names) {
  std::vector<MeasuredCue> cues;
  for (const auto& name : names) {
    const auto sound = loadSound(name);
    if (sound) cues.push_back({name, sound->seconds(), measure(*sound)});
  }
  return cues;
}

TEST(CueGroupsTest, EveryCueSoundsDifferent) {
  const auto cues = measureAll(allCueFiles());
  ASSERT_EQ(cues.size(), 28u);
  double quietest = 0;
  double loudest = -100;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    quietest = std::min(quietest, cues[i].measures.rmsDbfs);
    loudest = std::max(loudest, cues[i].measures.rmsDbfs);
    for (std::size_t j = i + 1; j < cues.size(); ++j) {
      EXPECT_GT(difference(cues[i].measures, cues[i].seconds, cues[j].measures, cues[j].seconds),
                kSmallestCueDifference)
          << cues[i].name << " and " << cues[j].name;
    }
  }
  EXPECT_LE(loudest - quietest, kCueLoudnessSpreadDb);
}

TEST(CueGroupsTest, ThePlayersCreatureSoundsHigherThanTheComputers) {
  const auto player = measureAll(playerCueFiles());
  const auto computer = measureAll(computerCueFiles());
  ASSERT_EQ(player.size(), 14u);
  ASSERT_EQ(computer.size(), 14u);
  double highestComputer = 0;
  for (const auto& c : computer)
    highestComputer = std::max(highestComputer, c.measures.crossingsPerSecond);
  for (const auto& p : player) {
    EXPECT_GT(p.measures.crossingsPerSecond, highestComputer) << p.name;
  }
}

TEST(MixerTest, LoadsEverySound) {
  // The game decodes every file with SDL_mixer at start-up.
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
  for (const auto& name : allSoundFiles()) {
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(gameFile(name).c_str(), "rb"), 1);
    EXPECT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
    Mix_FreeChunk(chunk);
  }
  Mix_CloseAudio();
  SDL_Quit();
}

}  // namespace
}  // namespace asset_tests
