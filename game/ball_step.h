// One step of the ball by its rules (game/ball_rules.h), with no drawing and no
// sound: it moves the ball, scores, turns it at the walls and tells what
// happened, so that the step on screen (present/ball.h) can show and play it
// in the order it happened.
#pragma once

#include "game/records.h"

enum class PointFor { Nobody, Player, Computer };

struct BallStep {
  bool playerHit = false;    // the player's paddle returned the ball
  bool computerHit = false;  // the computer's paddle returned it
  // The ball was drawn at oldPlace last frame, so the court goes back there.
  // False only on the very first step.
  bool erase = false;
  SDL_Rect oldPlace{};
  PointFor point = PointFor::Nobody;  // a point also rests the ball at the serve place
  bool turnedAtTop = false;
  bool turnedAtBottom = false;
  SDL_Rect newPlace{};
};

// Advances the ball by one frame of play: the hit tests against both paddles,
// the horizontal move with the point at either end, the vertical move with
// the turns at the walls. Adds at most one point to the game's scores.
BallStep stepBall(Ball& ball, Game& game, const SDL_Rect& playerRect, const SDL_Rect& computerRect);
