// The seam a run of the game plugs into: the clock, the waits, the canvas, and
// a hook at fixed stages of the run. The desktop plugs in the machine's own
// (realRunSeam), a port adds what its host asks for at those stages (the page:
// web/browser_seam.h), and whole-program tests put in a fake clock, push events
// from the hook, and can play a renderer that refuses the canvas.
#pragma once

#include <SDL.h>

#include <functional>

#include "app/session.h"

enum class Stage {
  TitleShown,  // the title is on screen; the start screen waits next
  CourtDrawn,  // start-up is over; the first frame comes next
  FrameStart,  // before a frame's events are polled
  FrameEnd,    // after a frame, wait included
  ShutDown,    // every resource released
};

inline constexpr Sint64 kNanosPerMilli = 1'000'000;

struct RunSeam {
  std::function<Sint64()> nowNanos;          // a monotonic clock
  std::function<void(Uint32 millis)> delay;  // the intro wait and the frame wait
  // A paused frame's wait: until the next event arrives, however long that
  // is. The event stays queued for the next frame.
  std::function<void()> awaitEvent;
  // The canvas every frame is drawn into, made the renderer's target; null
  // when the renderer cannot draw into a texture.
  std::function<SDL_Texture*(SDL_Renderer*)> makeCanvas;
  std::function<void(Stage, Session&)> onStage;  // empty in the game
};

// The machine's own clock and waits.
RunSeam realRunSeam();

void notifyStage(const RunSeam& seam, Stage stage, Session& session);
