// Whether SDL's video driver shows the game to anybody. With no display to
// reach, SDL quietly falls back to a driver that draws nowhere: start-up does
// not take such a window for a game window unless it was asked for, a
// message box is not put up where nobody could see it, and the renderer
// choice looks for no graphics card behind such a driver.
#pragma once

// True for SDL's video drivers that show nothing to anybody, "dummy" and
// "offscreen"; false for null.
bool drawsNowhere(const char* videoDriver);
