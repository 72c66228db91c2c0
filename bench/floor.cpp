// The floor of the game's design: the same 600 x 400 window, the same renderer
// choice (software in place of OpenGL on a software rasteriser, as the game
// does) and the same canvas, presented twice in every 30 ms frame with nothing
// drawn. Whatever the game costs beyond this program is its own doing.
//
//   vomba_floor [seconds]   runs until closed, or for that many seconds
//
// Its first line of output: "renderer NAME sdl X.Y.Z".
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/renderer_choice.h"
#include "game/frame_period.h"
#include "present/canvas.h"
#include "present/window.h"

namespace {

constexpr int kPresentsPerFrame = 2;  // after the ball step, and after the paddles

}  // namespace

int main(int argc, char* argv[]) {
  const double runSeconds = argc > 1 ? std::atof(argv[1]) : 0.0;
  // As the game does before its window exists: show a software renderer's
  // window without SDL's OpenGL framebuffer detour.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "Couldn't start SDL video: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("VombaPong floor", kWindowScreenX, kWindowScreenY,
                                        kWindowWidthPixels, kWindowHeightPixels, 0);
  SDL_Renderer* renderer = window ? createGameRenderer(window) : nullptr;
  SDL_Texture* canvas = renderer ? createCanvas(renderer) : nullptr;
  if (canvas == nullptr) {
    std::fprintf(stderr, "Couldn't make the window, renderer or canvas: %s\n", SDL_GetError());
    return 1;
  }
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer, &info);
  SDL_version linked{};
  SDL_GetVersion(&linked);
  std::printf("renderer %s sdl %d.%d.%d\n", info.name, linked.major, linked.minor, linked.patch);
  std::fflush(stdout);

  const Uint64 start = SDL_GetTicks64();
  bool running = true;
  while (running) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) running = false;
    }
    for (int i = 0; i < kPresentsPerFrame; ++i) presentCanvas(renderer);
    SDL_Delay(kFrameMillis);
    if (runSeconds > 0.0 && static_cast<double>(SDL_GetTicks64() - start) >= runSeconds * 1000.0) {
      running = false;
    }
  }

  SDL_DestroyTexture(canvas);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
