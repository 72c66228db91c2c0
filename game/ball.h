// The ball step: the only place where a paddle hit is recognised and a point
// scored. Called once per frame of play, after the scores are drawn.
#pragma once

#include "game/records.h"

// Advances the ball by one frame: hit tests against both paddles, erase, move
// (scoring at either end), turn at the walls, draw, present.
void updateBall(Ball& ball, Game& game, const SDL_Rect& playerRect, const SDL_Rect& computerRect,
                SoundBank& bank, SDL_Texture* courtTexture);
