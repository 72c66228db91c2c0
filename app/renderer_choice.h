// Without a graphics card, SDL's first renderer is OpenGL drawn on the
// processor by a software rasteriser (Mesa's llvmpipe, say): the same pixels as
// SDL's own software renderer at several times its processor time, and a frame
// that lasts longer, so the whole match runs slower. Start-up swaps the one for
// the other before anything is drawn, unless the player chose a renderer. On
// Linux a machine with no graphics device at all gets the software renderer
// straight away, without loading OpenGL (a driver of some 60 MB) only to learn
// that it draws on the processor (linux/renderer_choice.h).
#pragma once

#include <SDL.h>

// True when an OpenGL renderer string (GL_RENDERER) names a rasteriser that
// draws on the processor rather than on a graphics card. Null is false.
bool namesSoftwareRasteriser(const char* glRenderer);

// True when the renderer SDL made, called `rendererName`, should give way to
// SDL's software renderer: it is OpenGL (or OpenGL ES) on a software
// rasteriser, and `chosenDriver` (SDL_HINT_RENDER_DRIVER, null when unset)
// names no renderer of the player's choice.
bool shouldDrawInSoftware(const char* rendererName, const char* glRenderer,
                          const char* chosenDriver);

// The game's renderer for `window`: SDL's software renderer where the platform
// knows before OpenGL is loaded that it draws in software (knownToDrawInSoftware,
// app/platform_parts.h), else SDL's first renderer as given back by
// preferSoftwareRenderer. Null only when no renderer can be made at all.
SDL_Renderer* createGameRenderer(SDL_Window* window);

// Gives back `renderer`, or in its place SDL's software renderer for the
// window when shouldDrawInSoftware says so, which one stderr line reports.
// Must run before anything is drawn with `renderer`. Null only when no
// renderer can be made at all.
SDL_Renderer* preferSoftwareRenderer(SDL_Window* window, SDL_Renderer* renderer);
