// The ball's step on screen: what one step of its rules (game/ball_step.h)
// did, erased, drawn, heard and presented in the order it happened.
#pragma once

#include "game/ball_step.h"
#include "game/records.h"

// The hit cues, the erase of the old place, the point's cue, the ball at its
// new place, and the frame's first present.
void updateBall(Ball& ball, const BallStep& step, SDL_Renderer* renderer, SoundBank& bank,
                SDL_Texture* courtTexture);
