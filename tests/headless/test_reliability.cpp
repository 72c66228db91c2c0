// What the game does when its folder, its devices or its player misbehave:
// damaged files, no sound, no display, a close at every stage, many new
// matches in a row, and bursts of input. Every run must end by itself, with the
// right exit code and every resource given back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "headless_run.h"
#include "present/pictures.h"
#include "present/sounds.h"
#include "scripted_player.h"
#include "tests/support/scoped_env.h"

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer reads this once at start: leaks in system libraries that are
// not ours to fix. Once SDL's x11 driver has been tried, libdbus keeps its
// session-bus tables until exit; SDL 2.26 does not shut libdbus down on quit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
#endif

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

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// True when `text` names the file `name` on its own: "1g.wav" is not named by
// a line about "11g.wav".
bool namesFile(const std::string& text, const std::string& name) {
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    if (at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]))) return true;
  }
  return false;
}

// What shut-down left unreleased: the names of the fields still set, plus the
// audio device and SDL itself if they are still up.
std::vector<std::string> unreleased(const Session& s) {
  std::vector<std::string> left;
  auto check = [&](const void* field, const char* name) {
    if (field != nullptr) left.push_back(name);
  };
  check(s.game.window, "window");
  check(s.game.renderer, "renderer");
  check(s.game.startSurface, "startSurface");
  check(s.game.startTexture, "startTexture");
  check(s.courtSurface, "courtSurface");
  check(s.courtTexture, "courtTexture");
  check(s.canvas, "canvas");
  check(s.player.surface, "player.surface");
  check(s.player.texture, "player.texture");
  check(s.computer.surface, "computer.surface");
  check(s.computer.texture, "computer.texture");
  check(s.ball.surface, "ball.surface");
  check(s.ball.texture, "ball.texture");
  check(s.scoreboard.surface, "scoreboard.surface");
  check(s.scoreboard.texture, "scoreboard.texture");
  SoundBank bank = s.bank;
  for (int index = 0; index < kSoundCount; ++index) {
    if (*soundSlot(bank, index) != nullptr) left.push_back(kSoundFileNames[index]);
  }
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (Mix_QuerySpec(&frequency, &format, &channels) != 0) left.push_back("audio device");
  if (SDL_WasInit(SDL_INIT_EVERYTHING) != 0) left.push_back("SDL");
  return left;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Adds a shut-down check to a script: everything must have been released.
void expectEverythingReleased(Script& script, std::vector<std::string>& left) {
  left = {"(shut-down never ran)"};
  script.onShutDown = [&left](Session& s) { left = unreleased(s); };
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

namespace {

// ----- devices that are not there -------------------------------------------

struct AudioFailure {
  const char* name;
  const char* driver;
  const char* diskFile;  // for the disk driver: where it would write
};

void PrintTo(const AudioFailure& c, std::ostream* out) {
  *out << c.name;
}

class NoSound : public testing::TestWithParam<AudioFailure> {};

// The whole game runs silent: cues on empty slots are refused, not crashed on,
// and the missing device is one line, not a line per sound.
TEST_P(NoSound, TheGamePlaysAPointSilentlyAndSaysSoOnce) {
  const AudioFailure& c = GetParam();
  ScopedEnv driver("SDL_AUDIODRIVER", c.driver);
  ScopedEnv diskFile("SDL_DISKAUDIOFILE", c.diskFile);
  bool silent = false;
  bool pointPlayed = false;
  Script script;
  script.maxFrames = 600;
  script.onCourt = [&](Session& s) {
    silent = true;
    for (int index = 0; index < kSoundCount; ++index) {
      silent = silent && *soundSlot(s.bank, index) == nullptr;
    }
  };
  script.beforeFrame = quitAfterAPoint;
  script.afterFrame = [&](int, Session& s) { pointPlayed = pointPlayed || pointsPlayed(s) > 0; };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  const std::vector<std::string> lines = linesOf(run.stderrText);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(silent) << "every sound slot stays empty";
  EXPECT_TRUE(pointPlayed) << "a serve, a hit and a point, all silent";
  EXPECT_FALSE(run.hitFrameLimit);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  // SDL's disk driver announces itself on stderr before it fails to open.
  const auto ours = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("VombaPong:", 0) == 0;
  });
  EXPECT_EQ(ours, 1) << run.stderrText;
  EXPECT_NE(run.stderrText.find("no sound"), std::string::npos) << run.stderrText;
}

INSTANTIATE_TEST_SUITE_P(Devices, NoSound,
                         testing::Values(AudioFailure{"NoSuchDriver", "no-such-driver", ""},
                                         AudioFailure{"DeviceFailsToOpen", "disk",
                                                      "/nonexistent-vombapong-folder/sound.raw"}),
                         [](const testing::TestParamInfo<AudioFailure>& info) {
                           return std::string(info.param.name);
                         });

TEST(NoDisplay, AnX11DisplayThatIsNotThereStopsWithSDLsReason) {
  ScopedEnv driver("SDL_VIDEODRIVER", "x11");
  // No X server listens on this display number, nor on a socket of that name.
  ScopedEnv display("DISPLAY", ":65000");
  std::vector<std::string> left;
  Script script;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  const std::vector<std::string> lines = linesOf(run.stderrText);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.courtDrawn);
  EXPECT_TRUE(run.shutDown);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  ASSERT_EQ(lines.size(), 1u) << run.stderrText;
  // The line ends with SDL's own reason after the game's words.
  const size_t colon = lines[0].rfind(": ");
  ASSERT_NE(colon, std::string::npos) << lines[0];
  EXPECT_GT(lines[0].size(), colon + 2) << "SDL's reason is missing: " << lines[0];
  EXPECT_NE(lines[0].find("window"), std::string::npos) << lines[0];
}

// ----- a close request at every stage ---------------------------------------

enum class CloseStage {
  StartScreen,
  IntroWaitQueuedWithTheClick,
  IntroWaitDuringTheDelay,
  InPlay,
  WhilePaused,
  EndOfMatchWindowClosed,
  EndOfMatchEndeClicked,
};

struct CloseCase {
  const char* name;
  CloseStage stage;
  int frames;  // frames the game runs, the closing one included; -1 when play decides
};

void PrintTo(const CloseCase& c, std::ostream* out) {
  *out << c.name;
}

constexpr int kQuitFrame = 20;

// The script that closes the game at the case's stage; `closed` records that
// the close was really made there.
Script closingAt(CloseStage stage, bool& closed) {
  Script script;
  script.maxFrames = 1000;
  switch (stage) {
    case CloseStage::StartScreen:
      script.onTitle = [&closed](Session&) {
        pushEvent(SDL_QUIT);
        closed = true;
      };
      break;
    case CloseStage::IntroWaitQueuedWithTheClick:
      script.onTitle = [&closed](Session&) {
        pushClick();
        pushEvent(SDL_QUIT);  // still queued when the wait begins
        closed = true;
      };
      break;
    case CloseStage::IntroWaitDuringTheDelay:
      script.onWait = [&closed](Uint32, bool startingUp) {
        if (startingUp && !closed) {
          pushEvent(SDL_QUIT);
          closed = true;
        }
      };
      break;
    case CloseStage::InPlay:
      script.beforeFrame = [&closed](int frame, Session& s) {
        serveThenStandAside(s);
        if (frame == kQuitFrame) {
          closed = s.ball.speed > 0.0 && !s.game.paused;  // the ball is in flight
          pushEvent(SDL_QUIT);
        }
      };
      break;
    case CloseStage::WhilePaused:
      script.beforeFrame = [&closed](int frame, Session& s) {
        serveThenStandAside(s);
        if (frame == kQuitFrame / 2) pushClick();
        if (frame == kQuitFrame) {
          closed = s.game.paused;
          pushEvent(SDL_QUIT);
        }
      };
      break;
    case CloseStage::EndOfMatchWindowClosed:
    case CloseStage::EndOfMatchEndeClicked:
      // One real point short of the end: the scripted player loses it.
      script.onCourt = [](Session& s) { s.game.computerScore = 9; };
      script.beforeFrame = [stage, &closed](int, Session& s) {
        if (!s.game.paused) {
          serveThenStandAside(s);
        } else if (!closed) {
          closed = s.game.outroPlayed;  // the display has been shown
          if (stage == CloseStage::EndOfMatchWindowClosed) {
            pushEvent(SDL_QUIT);
          } else {
            moveMouse(s, 450, 350);
            pushClick();
          }
        }
      };
      break;
  }
  return script;
}

class CloseRequest : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseRequest, EndsWithZeroAfterAFullShutDown) {
  const CloseCase& c = GetParam();
  bool closed = false;
  Script script = closingAt(c.stage, closed);
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_TRUE(closed) << "the close was not made at its stage";
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.shutDown);
  EXPECT_FALSE(run.hitFrameLimit);
  EXPECT_TRUE(run.courtDrawn) << "start-up always runs to its end";
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  EXPECT_EQ(run.stderrText, "");
  if (c.frames >= 0) {
    EXPECT_EQ(run.frames, c.frames);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryStage, CloseRequest,
    testing::Values(CloseCase{"StartScreen", CloseStage::StartScreen, 0},
                    // The quit waits in the queue through the intro; the first frame
                    // handles it and still runs to its end.
                    CloseCase{"IntroWaitQueuedWithTheClick",
                              CloseStage::IntroWaitQueuedWithTheClick, 1},
                    CloseCase{"IntroWaitDuringTheDelay", CloseStage::IntroWaitDuringTheDelay, 1},
                    CloseCase{"InPlay", CloseStage::InPlay, kQuitFrame + 1},
                    CloseCase{"WhilePaused", CloseStage::WhilePaused, kQuitFrame + 1},
                    CloseCase{"EndOfMatchWindowClosed", CloseStage::EndOfMatchWindowClosed, -1},
                    CloseCase{"EndOfMatchEndeClicked", CloseStage::EndOfMatchEndeClicked, -1}),
    [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

// ----- many matches in a row -------------------------------------------------

// Resident memory of this process in kilobytes, from /proc/self/status.
long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// AddressSanitizer and valgrind keep freed memory in quarantine on purpose and
// find leaks themselves: under them resident memory says nothing.
bool freedMemoryIsQuarantined() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::strstr(preload, "vgpreload") != nullptr;
#endif
}

TEST(PlayAgain, TwentyFiveMatchesInARowKeepOneSheetAndFlatMemory) {
  constexpr int kPlayAgains = 25;
  constexpr long kAllowedGrowthKilobytes = 20 * 1024;
  const int sheetsAtStart = picturesLoaded(kSheetPicture);
  int playAgains = 0;
  long residentBefore = -1;
  long residentAfter = -1;
  Script script;
  script.maxFrames = 20000;
  // Every match starts one point short of its end, and that point is played.
  script.onCourt = [](Session& s) { s.game.computerScore = 9; };
  script.beforeFrame = [&](int, Session& s) {
    if (!s.game.paused) {
      serveThenStandAside(s);
      return;
    }
    if (!s.game.outroPlayed) return;
    // The end-of-match display is up.
    if (playAgains == 0 && residentBefore < 0) residentBefore = residentKilobytes();
    if (playAgains == kPlayAgains) {
      residentAfter = residentKilobytes();
      moveMouse(s, 450, 350);  // ENDE
    } else {
      moveMouse(s, 150, 350);  // WEITER
    }
    pushClick();
  };
  script.afterFrame = [&](int, Session& s) {
    if (s.game.quitRequested || s.game.paused || pointsPlayed(s) != 0) return;
    // A play again happened in this frame.
    ++playAgains;
    EXPECT_EQ(picturesLoaded(kSheetPicture) - sheetsAtStart, 1 + playAgains)
        << "the sheet is read once per play again";
    ASSERT_NE(s.scoreboard.surface, nullptr);
    ASSERT_NE(s.scoreboard.texture, nullptr);
    EXPECT_EQ(s.scoreboard.surface->refcount, 1) << "nothing else holds the sheet";
    s.game.computerScore = 9;
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.hitFrameLimit);
  EXPECT_EQ(playAgains, kPlayAgains);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  std::printf(
      "[ memory  ] resident %ld kB at the first end of match, %ld kB after %d play "
      "agains (%+ld kB)\n",
      residentBefore, residentAfter, kPlayAgains, residentAfter - residentBefore);
  RecordProperty("ResidentKilobytesBefore", std::to_string(residentBefore));
  RecordProperty("ResidentKilobytesAfter", std::to_string(residentAfter));
  ASSERT_GT(residentBefore, 0);
  ASSERT_GT(residentAfter, 0);
  if (!freedMemoryIsQuarantined()) {
    EXPECT_LT(residentAfter - residentBefore, kAllowedGrowthKilobytes);
  }
}

// ----- bursts of input -------------------------------------------------------

TEST(Bursts, HundredsOfEventsInOneFrameLeaveAConsistentState) {
  constexpr int kMotions = 500;
  constexpr int kClicks = 301;
  constexpr int kBurstFrame = 5;
  constexpr int kResumeFrame = kBurstFrame + 2;
  constexpr int kFastClickFrames = 30;  // three clicks per frame from here on
  constexpr int kQuitFrame = kResumeFrame + 1 + kFastClickFrames;
  Script script;
  script.beforeFrame = [&](int frame, Session& s) {
    if (frame < kBurstFrame) {
      serveThenStandAside(s);
    } else if (frame == kBurstFrame) {
      // Motion events carry no position the game reads: SDL's mouse does.
      SDL_WarpMouseInWindow(s.game.window, 590, 3);
      for (int i = 0; i < kMotions; ++i) {
        pushEvent(SDL_MOUSEMOTION);
        if (i < kClicks - 1) pushClick(i % 2 == 0 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
      }
      pushClick();  // the 301st: an odd number of toggles
    } else if (frame == kBurstFrame + 1) {
      EXPECT_TRUE(s.game.paused) << "301 clicks toggle the pause an odd number of times";
      EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
      const SDL_Rect clamped{240, 0, 60, 90};  // centre (270, 45)
      EXPECT_TRUE(SDL_RectEquals(&s.player.dstRect, &clamped))
          << s.player.dstRect.x << ", " << s.player.dstRect.y;
      EXPECT_EQ(s.player.mouseX, 270);
      EXPECT_EQ(s.player.mouseY, 45);
      EXPECT_EQ(pointsPlayed(s), 0);
    } else if (frame == kResumeFrame) {
      pushClick();
    } else if (frame < kQuitFrame) {
      EXPECT_EQ(s.game.paused, (frame - kResumeFrame) % 2 == 0)
          << "frame " << frame << ": three clicks a frame flip the pause each frame";
      EXPECT_EQ(SDL_GetRelativeMouseMode(), s.game.paused ? SDL_FALSE : SDL_TRUE);
      for (int i = 0; i < 3; ++i) pushClick();
      moveMouse(s, 10 * frame, 5 * frame);
    } else if (frame == kQuitFrame) {
      pushEvent(SDL_QUIT);
    }
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.frames, kQuitFrame + 1);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
}

// ----- a whole match ---------------------------------------------------------

// The longest ordinary run: ten points, the end-of-match display, ENDE. Also
// the run that the memory checker watches.
TEST(WholeMatch, TenPointsThenEnde) {
  constexpr int kFramesForAMatch = 4000;
  int endOfMatchFrames = 0;
  Game atEnd;
  Script script;
  script.maxFrames = kFramesForAMatch;
  script.beforeFrame = [&](int, Session& s) {
    if (!s.game.paused) {
      serveThenStandAside(s);
      return;
    }
    if (++endOfMatchFrames == 3) {
      atEnd = s.game;
      moveMouse(s, 450, 350);  // ENDE
      pushClick();
    }
  };
  std::vector<std::string> left;
  expectEverythingReleased(script, left);
  const RunResult run = runHeadless(script);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(run.hitFrameLimit) << "no match end within " << kFramesForAMatch << " frames";
  EXPECT_EQ(std::max(atEnd.playerScore, atEnd.computerScore), 10);
  EXPECT_TRUE(atEnd.outroPlayed);
  EXPECT_TRUE(left.empty()) << "not released: " << joined(left);
  EXPECT_EQ(run.stderrText, "");
  std::printf("[ match   ] %d : %d in %d frames\n", atEnd.playerScore, atEnd.computerScore,
              run.frames);
}

}  // namespace
