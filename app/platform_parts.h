// What the game does differently on each platform, declared here for the code
// that every platform runs and defined by the platform's own folder: windows/
// for Windows, linux/ for Linux and its X server. A platform without a part
// of its own gets the plain one from app/plain/, which does nothing or says no.
// The browser's differences go through the run seam instead (web/).
#pragma once

#include <cstdio>

// ----- where the game's words for the player go ---------------------------------
//
// Its lines on stderr, its message boxes, and its answers to --help and
// --version on stdout. On Linux the streams lead to a terminal or a log. A
// Windows program of the windowed kind, as the game is there (no console
// window opens beside it), starts with neither stream: started from a command
// prompt it must join the prompt's console to be heard there, and started by
// a double-click it has no console at all, so whatever it has to say goes
// into a message box instead (app/problem_reports.h).
// Windows: windows/platform_messages.cpp.

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

// ----- the renderer ----------------------------------------------------------------
//
// Linux: linux/renderer_choice.cpp (app/renderer_choice.h has the rest).

// True when OpenGL could only draw on the processor, known before it is
// loaded: on Linux from its device nodes and Mesa's own setting. Elsewhere
// false, and OpenGL's renderer string decides once it is made.
bool knownToDrawInSoftware();

// Gives the freed heap back to the system where the C library would keep it:
// the software rasteriser leaves about 12 MB behind when its renderer goes.
void giveBackFreedHeap();

// ----- the X server ----------------------------------------------------------------
//
// Linux with X11: linux/x11_wakeups.cpp, which says why.

// Installs the handler that ignores SDL's one harmless late wake-up error. Must
// run before SDL opens the display. Does nothing on a second call, or where
// the game was built without X11.
void ignoreLateWakeUps();

// Whether that handler is in place (false where the game was built without X11).
bool lateWakeUpsIgnored();
