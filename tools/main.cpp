// vomba_make_assets: draws every picture and sound of the game into the
// directory named on the command line, or with --icon one size of the
// desktop icon. The output is the same byte for byte on every run, so builds
// are reproducible.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "bmp_writer.h"
#include "court.h"
#include "cues.h"
#include "icon.h"
#include "music.h"
#include "png_writer.h"
#include "sheet.h"
#include "sprites.h"
#include "synth.h"
#include "title.h"
#include "wav_writer.h"

namespace {

constexpr double kCueLoudnessDbfs = -16;
constexpr double kMusicLoudnessDbfs = -15;
constexpr double kPlayerPan = -0.3;  // the player's creature stands on the left
constexpr double kComputerPan = 0.3;
constexpr double kMusicPan = 0;

bool writePictures(const std::string& dir) {
  using namespace assets;
  return writeIndexedBmp(dir + "/Start.bmp", drawTitle()) &&
         writeIndexedBmp(dir + "/pong.bmp", drawCourt()) &&
         writeIndexedBmp(dir + "/vombaGruen.bmp", drawGreenPaddle()) &&
         writeIndexedBmp(dir + "/vombaLILA.bmp", drawPurplePaddle()) &&
         writeRgbBmp(dir + "/ball.bmp", drawBallSprite()) &&
         writeIndexedBmp(dir + "/scoreboard..bmp", drawScoreSheet());
}

bool writeCues(const std::string& dir, const std::vector<assets::Cue>& cues, double pan) {
  for (const auto& cue : cues) {
    double end = 0;
    for (const auto& v : cue.voices) end = std::max(end, v.startSeconds + v.lengthSeconds);
    const auto pcm =
        assets::finishSound(assets::renderVoices(cue.voices, end), pan, kCueLoudnessDbfs);
    if (!assets::writeWav(dir + "/" + cue.fileName, pcm)) return false;
  }
  return true;
}

bool writeSounds(const std::string& dir) {
  using namespace assets;
  return writeWav(dir + "/intro.wav", finishSound(introJingle(), kMusicPan, kMusicLoudnessDbfs)) &&
         writeWav(dir + "/outro.wav", finishSound(outroTune(), kMusicPan, kMusicLoudnessDbfs)) &&
         writeCues(dir, playerCues(), kPlayerPan) && writeCues(dir, computerCues(), kComputerPan);
}

int writeIcon(const std::string& size, const std::string& path) {
  constexpr int kSmallestIconPixels = 16;
  constexpr int kLargestIconPixels = 1024;
  int pixels = 0;
  try {
    pixels = std::stoi(size);
  } catch (const std::exception&) {
  }
  if (pixels < kSmallestIconPixels || pixels > kLargestIconPixels) {
    std::fprintf(stderr, "vomba_make_assets: icon size %s is not %d to %d pixels\n", size.c_str(),
                 kSmallestIconPixels, kLargestIconPixels);
    return 2;
  }
  if (!assets::writePng(path, assets::drawIcon(pixels))) {
    std::fprintf(stderr, "vomba_make_assets: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--icon") return writeIcon(argv[2], argv[3]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n       %s --icon SIZE_PIXELS FILE.png\n",
                 argv[0], argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  try {
    if (!writePictures(dir) || !writeSounds(dir)) {
      std::fprintf(stderr, "vomba_make_assets: cannot write into %s\n", dir.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vomba_make_assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
