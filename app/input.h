// The player acts through the mouse and the window's close button only.
#pragma once

#include "app/session.h"
#include "game/sizes.h"

// The paddle's centre stays where the whole paddle fits in the left half of
// the court.
inline constexpr int kPaddleCentreMinX = kPaddleWidthPixels / 2;
inline constexpr int kPaddleCentreMaxX = kCourtWidthPixels / 2 - kPaddleWidthPixels / 2;
inline constexpr int kPaddleCentreMinY = kPaddleHeightPixels / 2;
inline constexpr int kPaddleCentreMaxY = kCourtHeightPixels - kPaddleHeightPixels / 2;

enum class EndButton { None, Quit, PlayAgain };

int clampPaddleCentreX(int mouseX);
int clampPaddleCentreY(int mouseY);
// Which end-of-match button a click at window position (x, y) presses.
EndButton endButtonAt(int x, int y);

// Polls every pending event into the Game's event and handles each in turn.
void handleEvents(Session& session);

// One event, as handleEvents handles it.
void handleEvent(Session& session);

// Mouse motion during play: reads the mouse, clamps it, erases the paddle,
// sets its new rectangle and draws it there. The frame loop draws it again
// over whatever the ball and the computer drew on it.
void handleMotion(Session& session);

// The player's paddle at its rectangle, as the motion handling left it.
void drawPlayerPaddle(const PlayerPaddle& paddle, SDL_Renderer* renderer);

// A press of any mouse button: a button test after the match, else the pause toggle.
void handleClick(Session& session);
