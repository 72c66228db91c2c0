// The machine's own side of the seam. Every other whole-program test plays a
// scripted seam, so the real clock, waits and canvas are checked here, on
// SDL's dummy video driver, one case for each.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "app/run_seam.h"
#include "present/window.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

Sint64 steadyMillisSince(SteadyClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
}

struct SeamCase {
  const char* function;
  // Checks one function of the real seam with a window and its renderer
  // open; says what went wrong through gtest's expectations.
  std::function<void(const RunSeam&, SDL_Renderer*)> check;
};

const SeamCase kCases[] = {
    {"awaitEvent",
     [](const RunSeam& seam, SDL_Renderer*) {
       // A paused frame waits for the click that wakes it; the frame loop must
       // still find that click in the queue afterwards.
       SDL_Event click{};
       click.type = SDL_MOUSEBUTTONDOWN;
       ASSERT_EQ(SDL_PushEvent(&click), 1) << SDL_GetError();
       seam.awaitEvent();
       SDL_Event queued{};
       EXPECT_EQ(
           SDL_PeepEvents(&queued, 1, SDL_PEEKEVENT, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONDOWN), 1)
           << "the waking event was taken out of the queue";
     }},
    {"delay",
     [](const RunSeam& seam, SDL_Renderer*) {
       constexpr Uint32 kWaitMillis = 20;
       const auto start = SteadyClock::now();
       seam.delay(kWaitMillis);
       EXPECT_GE(steadyMillisSince(start), kWaitMillis) << "the wait ended early";
     }},
    {"nowNanos",
     [](const RunSeam& seam, SDL_Renderer*) {
       constexpr Uint32 kWaitMillis = 20;
       const Sint64 before = seam.nowNanos();
       SDL_Delay(kWaitMillis);
       const Sint64 passed = seam.nowNanos() - before;
       // Nanoseconds: at least the wait's worth, and not a thousand times more.
       EXPECT_GE(passed, kWaitMillis * kNanosPerMilli);
       EXPECT_LT(passed, 1000 * kWaitMillis * kNanosPerMilli);
     }},
    {"makeCanvas",
     [](const RunSeam& seam, SDL_Renderer* renderer) {
       SDL_Texture* canvas = seam.makeCanvas(renderer);
       ASSERT_NE(canvas, nullptr) << SDL_GetError();
       int access = 0, width = 0, height = 0;
       SDL_QueryTexture(canvas, nullptr, &access, &width, &height);
       EXPECT_EQ(access, SDL_TEXTUREACCESS_TARGET);
       EXPECT_EQ(width, kWindowWidthPixels);
       EXPECT_EQ(height, kWindowHeightPixels);
       EXPECT_EQ(SDL_GetRenderTarget(renderer), canvas) << "drawing does not go into the canvas";
       SDL_DestroyTexture(canvas);
     }},
};

TEST(RealRunSeam, EachFunctionDoesWhatTheFrameLoopCountsOn) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow(kWindowTitle, kWindowScreenX, kWindowScreenY,
                                        kWindowWidthPixels, kWindowHeightPixels, 0);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
  ASSERT_NE(renderer, nullptr) << SDL_GetError();
  const RunSeam seam = realRunSeam();
  for (const SeamCase& c : kCases) {
    SCOPED_TRACE(c.function);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    c.check(seam, renderer);
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
