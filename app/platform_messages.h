// Where the game's words for the player go: its lines on stderr, its message
// boxes, and its answers to --help and --version on stdout. On Linux the
// streams lead to a terminal or a log, and nothing here does anything. A
// Windows program of the windowed kind, as the game is there (no console
// window opens beside it), starts with neither stream: started from a command
// prompt it must join the prompt's console to be heard there, and started by
// a double-click it has no console at all, so whatever it has to say goes
// into a message box instead (app/problem_reports.h).
#pragma once

#include <cstdio>

// On Windows, joins the console of the program that started the game (a
// command prompt) for whichever of stdout and stderr leads nowhere yet; one
// that was redirected to a file or a pipe stays so. Elsewhere nothing.
void joinParentConsole();

// Whether what is written to `stream` reaches anybody: always, but on Windows
// when it leads to no console, file or pipe.
bool reachesSomeone(std::FILE* stream);

// Whether SDL's message boxes break long lines by themselves, as Windows'
// do; on X11 they break lines only where the text does.
bool boxesBreakLines();
