// What one frame of play costs the processor, apart from its wait, and what one
// present through the canvas costs.
//
// PlayFrameWork: the frame loop's own frame (runFrame: events, both scores, the
// ball step, the computer paddle, the player's paddle), with its wait taken
// out, on SDL's software renderer drawing into a 600 x 400 surface. The renderer has no window and
// no canvas, so its presents only flush the drawing queued since the last one: the drawing is
// counted, the showing is not. Pictures are the game's own, read from the game
// folder, or plain stand-ins when they are missing.
//
// PresentCanvas/*: presentCanvas on a renderer whose target is a canvas, once
// on a software renderer over a surface and, when a display is there, on the
// game's real 600 x 400 window with the renderer the game would draw with
// (SDL_RENDER_DRIVER chooses another). Canvas formats other than the game's show what a different
// canvas would cost; PresentBare is the window's present with no canvas at all.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/frame_loop.h"
#include "app/match_flow.h"
#include "app/renderer_choice.h"
#include "app/run_seam.h"
#include "app/session.h"
#include "app/shutdown.h"
#include "game/ball_rules.h"
#include "present/canvas.h"
#include "present/game_files.h"
#include "present/pictures.h"
#include "present/window.h"

namespace {

// Mouse centre (80, 195): the paddle's rectangle at (50, 150) serves every
// ball resting at (100, 182) and returns the balls that fly into it.
constexpr SDL_Rect kParkedPaddle{50, 150, kPaddleWidthPixels, kPaddleHeightPixels};

// A stand-in for a missing picture: one colour, keyed like the game's sprites.
void standIn(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
             SDL_Texture** texture) {
  *surface = SDL_CreateRGBSurfaceWithFormat(0, file.widthPixels, file.heightPixels, 32,
                                            SDL_PIXELFORMAT_RGB888);
  SDL_FillRect(*surface, nullptr, SDL_MapRGB((*surface)->format, 40, 160, 60));
  if (file.colourKeyed) {
    SDL_SetColorKey(*surface, SDL_TRUE,
                    SDL_MapRGB((*surface)->format, kKeyColour.r, kKeyColour.g, kKeyColour.b));
  }
  *texture = SDL_CreateTextureFromSurface(renderer, *surface);
}

// Pictures from the game folder when they are there; says which were used.
bool loadOrStandIn(SDL_Renderer* renderer, const PictureFile& file, SDL_Surface** surface,
                   SDL_Texture** texture) {
  if (loadPicture(renderer, file, surface, texture).empty()) return true;
  standIn(renderer, file, surface, texture);
  return false;
}

// The machine's clock, and waits that return at once: a frame's wait is not its work.
RunSeam withoutWaits() {
  RunSeam seam = realRunSeam();
  seam.delay = [](Uint32) {};
  seam.awaitEvent = [] {};
  return seam;
}

// The records of a match in play, as start-up leaves them, on a software
// renderer over a 600 x 400 surface.
struct PlayBench {
  SDL_Surface* target = nullptr;
  Session s;
  RunSeam seam = withoutWaits();
  bool realPictures = true;

  PlayBench() {
    target = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidthPixels, kWindowHeightPixels, 32,
                                            SDL_PIXELFORMAT_RGB888);
    s.game.renderer = SDL_CreateSoftwareRenderer(target);
    s.game.started = true;
    SDL_Renderer* r = s.game.renderer;
    if (chdir(VOMBA_GAME_DIR) != 0) realPictures = false;
    realPictures &= loadOrStandIn(r, kCourtPicture, &s.courtSurface, &s.courtTexture);
    realPictures &= loadOrStandIn(r, kPlayerPicture, &s.player.surface, &s.player.texture);
    realPictures &= loadOrStandIn(r, kComputerPicture, &s.computer.surface, &s.computer.texture);
    realPictures &= loadOrStandIn(r, kBallPicture, &s.ball.surface, &s.ball.texture);
    realPictures &= loadOrStandIn(r, kSheetPicture, &s.scoreboard.surface, &s.scoreboard.texture);
    SDL_RenderCopy(r, s.courtTexture, nullptr, nullptr);
    s.ball.dstRect = kBallStart;
    // The player's paddle as the first mouse motion leaves it, over the ball to serve it.
    s.player.srcRect = kPaddleSource;
    s.player.dstRect = {150, 150, kPaddleWidthPixels, kPaddleHeightPixels};
    s.player.firstDraw = false;
  }
  ~PlayBench() {
    releaseSession(s);
    SDL_FreeSurface(target);
  }
  PlayBench(const PlayBench&) = delete;
  PlayBench& operator=(const PlayBench&) = delete;

  // One frame of play, as the frame loop runs it.
  void frame() { runFrame(s, seam); }
};

void playFrameWork(benchmark::State& state) {
  PlayBench bench;
  bench.frame();  // the serve; from here on the paddle stays parked
  bench.s.player.dstRect = kParkedPaddle;
  for (auto _ : state) {
    bench.frame();
    // A finished match starts again, so every frame measured is one of play.
    if (isMatchOver(bench.s.game)) {
      state.PauseTiming();
      bench.s.game.playerScore = bench.s.game.computerScore = 0;
      state.ResumeTiming();
    }
  }
  state.SetLabel(bench.realPictures ? "game pictures" : "stand-in pictures");
}

// Which canvas a present benchmark shows: the game's own, one in another
// format, or none.
enum class CanvasKind { Game, Argb8888, WindowFormat, None };

SDL_Texture* makeCanvas(SDL_Renderer* renderer, SDL_Window* window, CanvasKind kind) {
  switch (kind) {
    case CanvasKind::Game:
      return createCanvas(renderer);
    case CanvasKind::Argb8888:
      return createCanvas(renderer, SDL_PIXELFORMAT_ARGB8888);
    case CanvasKind::WindowFormat:
      return createCanvas(
          renderer, window ? SDL_GetWindowPixelFormat(window) : Uint32{SDL_PIXELFORMAT_RGB888});
    case CanvasKind::None:
      return nullptr;
  }
  return nullptr;
}

std::string formatName(SDL_Texture* canvas) {
  if (canvas == nullptr) return "no canvas";
  Uint32 format = 0;
  SDL_QueryTexture(canvas, &format, nullptr, nullptr, nullptr);
  return SDL_GetPixelFormatName(format);
}

void presentOnSurface(benchmark::State& state, CanvasKind kind) {
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidthPixels, kWindowHeightPixels,
                                                       32, SDL_PIXELFORMAT_RGB888);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
  SDL_Texture* canvas = makeCanvas(renderer, nullptr, kind);
  for (auto _ : state) presentCanvas(renderer);
  state.SetLabel("software over an RGB888 surface, canvas " + formatName(canvas));
  SDL_DestroyTexture(canvas);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(target);
}

struct RealWindow {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  std::string rendererName;
};

RealWindow gWindow;  // the game's window, when a display is there

void presentOnWindow(benchmark::State& state, CanvasKind kind) {
  SDL_Renderer* renderer = gWindow.renderer;
  SDL_Texture* canvas = makeCanvas(renderer, gWindow.window, kind);
  if (kind != CanvasKind::None && canvas == nullptr) {
    state.SkipWithError("no canvas on this renderer");
    return;
  }
  for (auto _ : state) presentCanvas(renderer);
  SDL_SetRenderTarget(renderer, nullptr);
  state.SetLabel(gWindow.rendererName + ", window " +
                 SDL_GetPixelFormatName(SDL_GetWindowPixelFormat(gWindow.window)) + ", canvas " +
                 formatName(canvas));
  SDL_DestroyTexture(canvas);
}

// Only a real X display counts: without one SDL would fall back to its
// offscreen driver, which is no window at all.
bool openWindow() {
  // As the game does before its window exists: no OpenGL detour for a
  // software renderer's window.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) {
    SDL_SetError("video driver %s, not x11", SDL_GetCurrentVideoDriver());
    return false;
  }
  gWindow.window = SDL_CreateWindow("VombaPong present bench", kWindowScreenX, kWindowScreenY,
                                    kWindowWidthPixels, kWindowHeightPixels, 0);
  if (gWindow.window == nullptr) return false;
  gWindow.renderer = createGameRenderer(gWindow.window);
  if (gWindow.renderer == nullptr) return false;
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(gWindow.renderer, &info);
  gWindow.rendererName = info.name;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Events only: the play benchmark polls an empty queue as the game does.
  SDL_InitSubSystem(SDL_INIT_EVENTS);

  benchmark::RegisterBenchmark("PlayFrameWork", playFrameWork)->Unit(benchmark::kMicrosecond);
  const struct {
    const char* name;
    CanvasKind kind;
  } canvases[] = {{"Game", CanvasKind::Game},
                  {"ARGB8888", CanvasKind::Argb8888},
                  {"WindowFormat", CanvasKind::WindowFormat}};
  for (const auto& c : canvases) {
    benchmark::RegisterBenchmark((std::string("PresentCanvas/surface/") + c.name).c_str(),
                                 presentOnSurface, c.kind)
        ->Unit(benchmark::kMicrosecond);
  }
  if (openWindow()) {
    for (const auto& c : canvases) {
      benchmark::RegisterBenchmark((std::string("PresentCanvas/window/") + c.name).c_str(),
                                   presentOnWindow, c.kind)
          ->Unit(benchmark::kMicrosecond)
          ->UseRealTime()
          ->MeasureProcessCPUTime();
    }
    benchmark::RegisterBenchmark("PresentBare/window", presentOnWindow, CanvasKind::None)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
  } else {
    std::fprintf(stderr, "no display (%s): the window presents are not measured\n", SDL_GetError());
  }

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (gWindow.renderer) SDL_DestroyRenderer(gWindow.renderer);
  if (gWindow.window) SDL_DestroyWindow(gWindow.window);
  SDL_Quit();
  return 0;
}
