// A game folder with one damaged file, for every file and every kind of damage:
// missing, empty, cut short, garbage, a picture of the wrong size. Every run
// must end by itself, with the right exit code and every resource given back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "headless_run.h"
#include "present/pictures.h"
#include "present/sounds.h"
#include "run_checks.h"
#include "scripted_player.h"

namespace fs = std::filesystem;

namespace {

// ----- helpers ---------------------------------------------------------------

// A copy of the game's folder that is removed again at the end of the scope.
class GameFolderCopy {
 public:
  GameFolderCopy() : path_(copyOfGameFolder()) {}
  ~GameFolderCopy() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  GameFolderCopy(const GameFolderCopy&) = delete;
  GameFolderCopy& operator=(const GameFolderCopy&) = delete;
  const std::string& path() const { return path_; }
  fs::path file(const std::string& name) const { return fs::path(path_) / name; }

 private:
  std::string path_;
};

// True when `text` names the file `name` on its own: "1g.wav" is not named by
// a line about "11g.wav".
bool namesFile(const std::string& text, const std::string& name) {
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    if (at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]))) return true;
  }
  return false;
}

// ----- the matrix of damaged files ------------------------------------------

enum class Damage { Missing, Empty, Truncated, Garbage, WrongSize };

const char* damageName(Damage damage) {
  switch (damage) {
    case Damage::Missing:
      return "Missing";
    case Damage::Empty:
      return "Empty";
    case Damage::Truncated:
      return "Truncated";
    case Damage::Garbage:
      return "Garbage";
    case Damage::WrongSize:
      return "WrongSize";
  }
  return "?";
}

// How the game must take a damaged file.
enum class Outcome {
  PlaysOnAfterOneLine,  // the title, the court, any sound: one line, then play
  PlaysOnShortened,     // a cut-off sound: SDL keeps its whole blocks, no line
  StopsWithMessage,     // a sprite: message naming file and folder, exit 1
};

struct DamagedFile {
  std::string name;
  Damage damage;
  const PictureFile* picture;  // null for a sound
  Outcome outcome;
};

void PrintTo(const DamagedFile& c, std::ostream* out) {
  *out << c.name << " " << damageName(c.damage);
}

const PictureFile* const kPictures[] = {&kTitlePicture,    &kCourtPicture, &kPlayerPicture,
                                        &kComputerPicture, &kBallPicture,  &kSheetPicture};

std::vector<DamagedFile> damagedFiles() {
  std::vector<DamagedFile> cases;
  for (const PictureFile* picture : kPictures) {
    const bool sprite = picture->colourKeyed;
    for (Damage damage :
         {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Garbage, Damage::WrongSize}) {
      cases.push_back({picture->name, damage, picture,
                       sprite ? Outcome::StopsWithMessage : Outcome::PlaysOnAfterOneLine});
    }
  }
  for (const char* sound : kSoundFileNames) {
    for (Damage damage : {Damage::Missing, Damage::Empty, Damage::Garbage}) {
      cases.push_back({sound, damage, nullptr, Outcome::PlaysOnAfterOneLine});
    }
    // SDL reads a cut-off WAV up to its last whole block (its default for
    // truncated files): the sound is just shorter, nothing to report.
    cases.push_back({sound, Damage::Truncated, nullptr, Outcome::PlaysOnShortened});
  }
  return cases;
}

// The same bytes for the same file name in every run.
void fillWithGarbage(const fs::path& path, std::uintmax_t length, const std::string& name) {
  std::seed_seq seed(name.begin(), name.end());
  std::mt19937 random(seed);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (std::uintmax_t i = 0; i < length; ++i) out.put(static_cast<char>(random() & 0xFF));
}

// A proper BMP of half the expected width and height, in the sprites' magenta.
bool writeWrongSizePicture(const fs::path& path, const PictureFile& picture) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
      0, picture.widthPixels / 2, picture.heightPixels / 2, 24, SDL_PIXELFORMAT_BGR24);
  if (surface == nullptr) return false;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 0, 255));
  const bool saved = SDL_SaveBMP(surface, path.string().c_str()) == 0;
  SDL_FreeSurface(surface);
  return saved;
}

bool damage(const fs::path& path, const DamagedFile& c) {
  const std::uintmax_t length = fs::file_size(path);
  switch (c.damage) {
    case Damage::Missing:
      return fs::remove(path);
    case Damage::Empty:
      fs::resize_file(path, 0);
      return true;
    case Damage::Truncated:
      fs::resize_file(path, length / 2);
      return true;
    case Damage::Garbage:
      fillWithGarbage(path, length, c.name);
      return fs::file_size(path) == length;
    case Damage::WrongSize:
      return c.picture != nullptr && writeWrongSizePicture(path, *c.picture);
  }
  return false;
}

struct MatrixTally {
  int tried = 0;
  int survived = 0;
};

MatrixTally& tally() {
  static MatrixTally counts;
  return counts;
}

class MatrixSummary : public testing::Environment {
 public:
  void TearDown() override {
    if (tally().tried == 0) return;
    std::printf("[ damaged ] %d damaged game folders tried, %d survived\n", tally().tried,
                tally().survived);
  }
};

const auto* const kMatrixSummary = testing::AddGlobalTestEnvironment(new MatrixSummary);

class DamagedGameFolder : public testing::TestWithParam<DamagedFile> {};

// Every damaged folder is played for real: a serve, a point, a close. The
// frame limit closes a game that hangs, and marks the run.
TEST_P(DamagedGameFolder, EndsAsTheFileDeserves) {
  const DamagedFile& c = GetParam();
  ++tally().tried;
  GameFolderCopy folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(damage(folder.file(c.name), c)) << "could not damage " << c.name;

  constexpr int kFramesForAPoint = 600;
  bool pointPlayed = false;
  Script script;
  script.maxFrames = kFramesForAPoint;
  script.beforeFrame = quitAfterAPoint;
  script.afterFrame = [&](int, Session& s) { pointPlayed = pointPlayed || pointsPlayed(s) > 0; };
  bool soundLoaded = false;
  script.onCourt = [&](Session& s) {
    for (int index = 0; index < kSoundCount; ++index) {
      if (c.name == kSoundFileNames[index]) soundLoaded = *soundSlot(s.bank, index) != nullptr;
    }
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);

  const RunResult run = runHeadless(script, folder.path());
  const std::vector<std::string> lines = linesOf(run.stderrText);

  EXPECT_TRUE(run.shutDown);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  EXPECT_FALSE(run.hitFrameLimit) << "no point within " << kFramesForAPoint << " frames";
  switch (c.outcome) {
    case Outcome::StopsWithMessage:
      EXPECT_EQ(run.exitCode, 1);
      EXPECT_EQ(run.frames, 0) << "no frame can be drawn without the sprite";
      EXPECT_TRUE(namesFile(run.stderrText, c.name)) << run.stderrText;
      EXPECT_NE(run.stderrText.find(folder.path()), std::string::npos) << run.stderrText;
      break;
    case Outcome::PlaysOnAfterOneLine:
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_TRUE(pointPlayed);
      EXPECT_FALSE(soundLoaded);
      ASSERT_EQ(lines.size(), 1u) << run.stderrText;
      EXPECT_TRUE(namesFile(lines[0], c.name)) << lines[0];
      break;
    case Outcome::PlaysOnShortened:
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_TRUE(pointPlayed);
      EXPECT_TRUE(soundLoaded) << "the first half of the sound is still there";
      EXPECT_TRUE(lines.empty()) << run.stderrText;
      break;
  }
  if (!HasFailure()) ++tally().survived;
}

std::string caseName(const testing::TestParamInfo<DamagedFile>& info) {
  std::string name = info.param.name;
  std::replace_if(
      name.begin(), name.end(),
      [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
  return name + "_" + damageName(info.param.damage);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedGameFolder, testing::ValuesIn(damagedFiles()), caseName);

}  // namespace
