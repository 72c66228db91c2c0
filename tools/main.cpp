// vomba_make_assets: draws every picture and sound of the game into the
// directory named on the command line, under the names and at the sizes of
// the game's own description of its files; with --icon one size of the
// desktop icon; with --ico the icon of the Windows build in all its sizes;
// with --facts that description as JSON. The output is the same
// byte for byte on every run, so builds are reproducible.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "court.h"
#include "cues.h"
#include "facts.h"
#include "ico_writer.h"
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

// The game refuses a picture of any other size, so none is written.
void checkSize(const PictureFile& file, int width, int height) {
  if (width != file.widthPixels || height != file.heightPixels) {
    throw std::runtime_error(std::string(file.name) + " was drawn at " + std::to_string(width) +
                             " x " + std::to_string(height) + " pixels, not " +
                             std::to_string(file.widthPixels) + " x " +
                             std::to_string(file.heightPixels));
  }
}

bool writePicture(const std::string& dir, const PictureFile& file,
                  const assets::IndexedImage& image) {
  checkSize(file, image.width, image.height);
  return assets::writeIndexedBmp(dir + "/" + file.name, image);
}

bool writePicture(const std::string& dir, const PictureFile& file, const assets::RgbImage& image) {
  checkSize(file, image.width, image.height);
  return assets::writeRgbBmp(dir + "/" + file.name, image);
}

bool writePictures(const std::string& dir) {
  using namespace assets;
  return writePicture(dir, kTitlePicture, drawTitle()) &&
         writePicture(dir, kCourtPicture, drawCourt()) &&
         writePicture(dir, kPlayerPicture, drawGreenPaddle()) &&
         writePicture(dir, kComputerPicture, drawPurplePaddle()) &&
         writePicture(dir, kBallPicture, drawBallSprite()) &&
         writePicture(dir, kSheetPicture, drawScoreSheet());
}

bool writeSound(const std::string& dir, int sound, const assets::StereoPcm& pcm) {
  return assets::writeWav(dir + "/" + kSoundFileNames[sound], pcm);
}

// The cues of one group, in order, to the group's files from firstSound on.
bool writeCues(const std::string& dir, const std::vector<assets::Cue>& cues, int firstSound,
               double pan) {
  if (cues.size() != static_cast<std::size_t>(kCueCount)) {
    throw std::runtime_error("a cue group has " + std::to_string(cues.size()) + " cues, not " +
                             std::to_string(kCueCount));
  }
  for (std::size_t i = 0; i < cues.size(); ++i) {
    double end = 0;
    for (const auto& v : cues[i]) end = std::max(end, v.startSeconds + v.lengthSeconds);
    const auto pcm = assets::finishSound(assets::renderVoices(cues[i], end), pan, kCueLoudnessDbfs);
    if (!writeSound(dir, firstSound + static_cast<int>(i), pcm)) return false;
  }
  return true;
}

bool writeSounds(const std::string& dir) {
  using namespace assets;
  return writeSound(dir, kIntroSound, finishSound(introJingle(), kMusicPan, kMusicLoudnessDbfs)) &&
         writeSound(dir, kOutroSound, finishSound(outroTune(), kMusicPan, kMusicLoudnessDbfs)) &&
         writeCues(dir, playerCues(), kFirstPlayerCue, kPlayerPan) &&
         writeCues(dir, computerCues(), kFirstComputerCue, kComputerPan);
}

int writeFacts(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << assets::describeGameFiles();
  out.close();
  if (!out) {
    std::fprintf(stderr, "vomba_make_assets: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
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

int writeWindowsIcon(const std::string& path) {
  std::vector<assets::RgbaImage> images;
  for (int pixels : assets::kWindowsIconSizesPixels) images.push_back(assets::drawIcon(pixels));
  if (!assets::writeIco(path, images)) {
    std::fprintf(stderr, "vomba_make_assets: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--icon") return writeIcon(argv[2], argv[3]);
  if (argc == 3 && std::string(argv[1]) == "--facts") return writeFacts(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--ico") return writeWindowsIcon(argv[2]);
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: %s OUTPUT_DIRECTORY\n       %s --icon SIZE_PIXELS FILE.png\n"
                 "       %s --ico FILE.ico\n       %s --facts FILE.json\n",
                 argv[0], argv[0], argv[0], argv[0]);
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
