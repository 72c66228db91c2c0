// Messages for the player when the game cannot go on.
#pragma once

#include <SDL.h>

#include <string>

// Prints the message on stderr and, where there is a real display, shows it in
// a message box over the window (which may be null) until it is dismissed.
void reportFatal(SDL_Window* window, const std::string& message);

// One line on stderr for a problem the game plays on through.
void reportProblem(const std::string& message);
