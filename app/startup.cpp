#include "app/startup.h"

#include <cstring>
#include <string>

#include "app/match_flow.h"
#include "app/picture_keeping.h"
#include "app/platform_parts.h"
#include "app/problem_reports.h"
#include "app/renderer_choice.h"
#include "app/video_driver.h"
#include "game/ball_rules.h"
#include "present/canvas.h"
#include "present/pictures.h"
#include "present/sounds.h"
#include "present/window.h"

namespace {

constexpr int kAudioFrequencyHz = 44100;
constexpr int kAudioChannels = 2;
constexpr int kAudioChunkFrames = 2048;

// With no display to reach, SDL quietly falls back to a driver that draws
// nowhere; a game window nobody can see is no window, unless it was asked for.
bool fellBackToInvisibleDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!drawsNowhere(driver)) return false;
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  return requested == nullptr || std::strstr(requested, driver) == nullptr;
}

bool openWindow(Game& game, Session& session, const RunSeam& seam) {
  // A software renderer's window is shown without a detour through OpenGL,
  // which would load a whole GL driver to copy one picture. Only a default:
  // the environment may still say otherwise.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  ignoreLateWakeUps();
  game.window = SDL_CreateWindow(kWindowTitle, kWindowScreenX, kWindowScreenY, kWindowWidthPixels,
                                 kWindowHeightPixels, 0);
  if (game.window == nullptr) {
    reportFatal(nullptr, std::string("Couldn't open the game window: ") + SDL_GetError());
    return false;
  }
  if (fellBackToInvisibleDriver()) {
    reportFatal(nullptr,
                "Couldn't open the game window: no display found (is DISPLAY or "
                "WAYLAND_DISPLAY set?)");
    return false;
  }
  game.renderer = createGameRenderer(game.window);
  if (game.renderer == nullptr) {
    reportFatal(game.window, std::string("Couldn't draw in the game window: ") + SDL_GetError());
    return false;
  }
  session.canvas = seam.makeCanvas(game.renderer);
  if (session.canvas == nullptr) {
    // A renderer that cannot draw into a texture can still draw into the
    // window; only a window that is covered and uncovered may lose its picture.
    reportProblem(std::string("Couldn't make the game's drawing canvas (") + SDL_GetError() +
                  "); drawing straight to the window, whose picture may not survive being "
                  "covered");
    SDL_SetRenderDrawColor(game.renderer, 0, 0, 0, SDL_ALPHA_OPAQUE);
    SDL_RenderClear(game.renderer);
  }
  return true;
}

// A whole-window picture the game can do without: a missing one is reported
// and black stands in for it. The court is also the eraser of every sprite, so
// without a stand-in the sprites would smear trails over the title picture.
void showWholePicture(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
                      SDL_Texture** texture) {
  std::string problem = loadPicture(renderer, file, surface, texture);
  if (!problem.empty()) {
    reportProblem(problem + "; going on with black in its place");
    makeBlankPicture(renderer, file, surface, texture);
  }
  SDL_RenderCopy(renderer, *texture, nullptr, nullptr);
  presentCanvas(renderer);
}

void waitOnStartScreen(Game& game) {
  while (!game.started) {
    if (SDL_WaitEvent(&game.event) == 0) {
      // The event queue itself failed: nothing could ever end the wait.
      reportProblem(std::string("Couldn't wait for input: ") + SDL_GetError());
      game.started = game.quitRequested = true;
    } else if (game.event.type == SDL_QUIT) {
      game.started = game.quitRequested = true;
    } else if (game.event.type == SDL_MOUSEBUTTONDOWN) {
      game.started = true;
    } else if (isExposure(game.event)) {
      presentCanvas(game.renderer);
    }
  }
}

void openAudio() {
  if (Mix_OpenAudio(kAudioFrequencyHz, AUDIO_S16LSB, kAudioChannels, kAudioChunkFrames) < 0) {
    reportProblem(std::string("no sound: couldn't open the audio device (") + Mix_GetError() +
                  "); playing on silently");
  }
}

bool loadSprite(Game& game, const PictureFile& file, SDL_Surface** surface, SDL_Texture** texture) {
  std::string problem = loadPicture(game.renderer, file, surface, texture);
  if (problem.empty()) return true;
  reportFatal(game.window, problem + ". The game cannot run without it.");
  return false;
}

bool loadSprites(Session& s) {
  Game& game = s.game;
  if (!loadSprite(game, kPlayerPicture, &s.player.surface, &s.player.texture)) return false;
  if (!loadSprite(game, kComputerPicture, &s.computer.surface, &s.computer.texture)) return false;
  if (!loadSprite(game, kBallPicture, &s.ball.surface, &s.ball.texture)) return false;
  s.ball.dstRect = kBallStart;
  return loadSprite(game, kSheetPicture, &s.scoreboard.surface, &s.scoreboard.texture);
}

}  // namespace

bool startUp(Session& s, const RunSeam& seam) {
  Game& game = s.game;
  game = Game();
  if (!openWindow(game, s, seam)) return false;
  showWholePicture(game.renderer, kTitlePicture, &game.startSurface, &game.startTexture);
  notifyStage(seam, Stage::TitleShown, s);
  waitOnStartScreen(game);

  openAudio();
  s.bank = SoundBank();
  reportProblems(loadSoundBank(s.bank));
  startSound(s.bank.intro);
  // The intro plays while the title stays up; events wait for the first frame.
  waitKeepingPicture(game.renderer, kIntroWaitMillis, seam);

  s.player = PlayerPaddle();
  s.ball = Ball();
  s.computer = ComputerPaddle();
  s.scoreboard = Scoreboard();
  setPaused(game, false);
  showWholePicture(game.renderer, kCourtPicture, &s.courtSurface, &s.courtTexture);
  if (!loadSprites(s)) return false;
  notifyStage(seam, Stage::CourtDrawn, s);
  return true;
}
