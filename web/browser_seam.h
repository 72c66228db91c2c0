// What a browser asks of the game that a desktop does not, in one place: the
// machine's own clock and waits (realRunSeam), plus what the stages of the run
// add in a page. A browser starts a page's sound, and holds its pointer, only
// in answer to a player's gesture; it releases the pointer itself on Escape;
// and a page that ends must still show something.
//
// - The title click also starts the browser's audio, so the intro is heard.
// - The title click also holds the pointer, so play starts steered without a
//   click of its own (which would pause). The pointer is held from the click
//   on, through the intro, not only from the court on as on the desktop.
// - The pointer released by the browser (Escape, or a refused request) while
//   the game wants it held pauses a mouse player's game, as a click would.
// - A finger plays as the mouse does (web/finger_input.h); its first tap on
//   the title starts the audio as the click does.
// - When the game ends, the page shows a quiet end screen (web/page.js).
// - Only the game's waits give the browser its turn, not its presents as well,
//   and a 2D canvas gets a frame's picture once, before the wait: a frame then
//   costs about what it costs on the desktop (see waitGivingTurn).
#pragma once

#include "app/run_seam.h"

RunSeam browserRunSeam();
