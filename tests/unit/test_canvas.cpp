// The canvas keeps the picture from one present to the next, so incremental
// drawing shows the same whatever the renderer does with its back buffer.
#include <gtest/gtest.h>

#include "present/canvas.h"
#include "support/software_canvas.h"

namespace {

// What the window itself shows: the surface under the software renderer.
Colour windowPixel(SDL_Surface* window, int x, int y) {
  Uint8 r = 0, g = 0, b = 0;
  const Uint32 value = static_cast<Uint32*>(window->pixels)[y * (window->pitch / 4) + x];
  SDL_GetRGB(value, window->format, &r, &g, &b);
  return {r, g, b};
}

TEST(Canvas, EveryPresentShowsAllThatWasDrawnSoFar) {
  SDL_Surface* window = SDL_CreateRGBSurfaceWithFormat(0, 600, 400, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(window);
  SDL_Texture* canvas = createCanvas(renderer);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(SDL_GetRenderTarget(renderer), canvas) << "drawing goes into the canvas";

  SDL_SetRenderDrawColor(renderer, 200, 0, 0, 255);
  const SDL_Rect first{10, 10, 20, 20};
  SDL_RenderFillRect(renderer, &first);
  presentCanvas(renderer);
  // The window may lose its picture between presents; the canvas may not.
  SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 9, 9, 9));

  SDL_SetRenderDrawColor(renderer, 0, 0, 200, 255);
  const SDL_Rect second{100, 100, 20, 20};
  SDL_RenderFillRect(renderer, &second);
  presentCanvas(renderer);

  EXPECT_EQ(windowPixel(window, 15, 15), (Colour{200, 0, 0}));
  EXPECT_EQ(windowPixel(window, 105, 105), (Colour{0, 0, 200}));
  EXPECT_EQ(windowPixel(window, 300, 300), (Colour{0, 0, 0})) << "the canvas starts black";
  EXPECT_EQ(SDL_GetRenderTarget(renderer), canvas) << "the next drawing goes into it again";

  SDL_DestroyTexture(canvas);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(window);
}

}  // namespace
