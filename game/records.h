// The six records that hold the whole state of the game. main() owns one of
// each by value; every operation receives pointers to the fields it needs.
//
// A record is value-initialised (`Game game{};` or `Ball ball = Ball();`):
// zero-filled, then given the defaults written below. No record holds a
// constructor of its own, so that zero fill is guaranteed by the language.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include "game/cue_groups.h"
#include "game/frame_period.h"
#include "game/sizes.h"

// The sprites are always copied whole.
inline constexpr SDL_Rect kPaddleSource{0, 0, kPaddleWidthPixels, kPaddleHeightPixels};
inline constexpr SDL_Rect kBallSource{0, 0, kBallSizePixels, kBallSizePixels};

// The head of every record. Only the head of `Game` is the live application
// state; the others keep their defaults (the computer paddle uses its own
// frameMillis as the base of its speed).
struct GameBase {
  bool started = false;            // the start screen has been left
  bool quitRequested = false;      // leave the frame loop after this frame
  bool paused = false;             // play frozen, mouse released
  bool running = true;             // cleared by a quit, set again by play again
  bool outroPlayed = false;        // the match-end tune has started for this match
  int frameMillis = kFrameMillis;  // frame period, and the time step of every move
  int playerScore = 0;
  int computerScore = 0;
  SDL_Event event{};  // filled by SDL_WaitEvent / SDL_PollEvent; only its type is read
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Surface* startSurface = nullptr;  // "Start.bmp"
  SDL_Texture* startTexture = nullptr;
};

// The live application state.
struct Game : GameBase {};

struct SoundBank : GameBase {
  Mix_Chunk* intro = nullptr;
  Mix_Chunk* outro = nullptr;
  Mix_Chunk* playerCues[kCueCount] = {};
  Mix_Chunk* computerCues[kCueCount] = {};
};

struct PlayerPaddle : GameBase {
  int mouseX = 100;  // written by SDL_GetMouseState, then clamped during play
  int mouseY = 200;
  bool firstDraw = true;           // no erase before the first placement
  SDL_Surface* surface = nullptr;  // "vombaGruen.bmp"
  SDL_Texture* texture = nullptr;
  SDL_Rect srcRect{};
  SDL_Rect dstRect{};  // all zero until the first mouse motion: the paddle is invisible
};

struct ComputerPaddle : GameBase {
  bool firstDraw = true;
  SDL_Surface* surface = nullptr;  // "vombaLILA.bmp"
  SDL_Texture* texture = nullptr;
  SDL_Rect srcRect{};
  SDL_Rect dstRect{};
  int targetY = 0;    // written by the aim every frame of play
  double posY = 0.0;  // the step's new height before truncation
};

struct Scoreboard : GameBase {
  SDL_Surface* surface = nullptr;  // "scoreboard..bmp"
  SDL_Texture* texture = nullptr;
  SDL_Rect srcRect{};          // the part of the sheet copied next
  SDL_Rect playerDstRect{};    // the player's digits and banner, and both buttons
  SDL_Rect computerDstRect{};  // the computer's digits and banner words
};

struct Ball : GameBase {
  double speed = 0.0;  // horizontal pixels per millisecond of frame period; 0 at rest
  double slope = 0.0;  // vertical pixels per millisecond of frame period
  bool firstDraw = true;
  bool movingRight = true;
  bool movingUp = true;
  double frameElapsed = 0.0;       // whole milliseconds the frame's event handling took
  bool firstHit = true;            // the next player hit is the serve
  SDL_Surface* surface = nullptr;  // "ball.bmp"
  SDL_Texture* texture = nullptr;
  SDL_Rect srcRect{};
  SDL_Rect dstRect{};
};
