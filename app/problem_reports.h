// Telling the player about a problem: one line on stderr for each, and a
// message box over the window as well when the game cannot go on.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// Prints the message on stderr and, where there is a real display or stderr
// reaches nobody (app/platform_parts.h), shows it in a message box over the window
// (which may be null) until it is dismissed.
void reportFatal(SDL_Window* window, const std::string& message);

// The message broken into lines of at most `width` characters where it has
// spaces or slashes: a message box breaks lines only where the text does.
std::string wrapForBox(const std::string& message, size_t width);

// One line on stderr for a problem the game plays on through.
void reportProblem(const std::string& message);

// One line on stderr for each; where stderr reaches nobody (a Windows game
// started by a double-click), all of them together in one message box.
void reportProblems(const std::vector<std::string>& messages);
