// The scores at the top of the court and the end-of-match display, every image
// a copy of one region of the sprite sheet. Nothing here erases or presents.
#pragma once

#include <SDL.h>

// Draws the player's score: its digits, and at kWinningScore
// (game/match_rules.h) YOU WIN under them. Above it, nothing.
void drawPlayerScore(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                     SDL_Texture* texture, int score);

// Draws the computer's score: its digits, and at kWinningScore YOU LOSE under
// them. Above it, nothing.
void drawComputerScore(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                       SDL_Texture* texture, int score);

// Draws WEITER (play again) on the left and ENDE (quit) on the right.
void drawEndButtons(SDL_Rect* srcRect, SDL_Rect* dstRect, SDL_Renderer* renderer,
                    SDL_Texture* texture);
