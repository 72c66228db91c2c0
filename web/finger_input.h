// A finger plays the page as the mouse plays the desktop game. The game reads
// the mouse only (its tracked place, its motion and its button presses), so the
// fingers' events are turned into the mouse's before the game sees them:
//
// - a finger on the canvas puts the mouse at its place, mapped from the
//   canvas's shown size into the window's pixels, so the creature follows it
//   within the same limits as the mouse (the game's own clamps);
// - a short tap without movement is a click: it starts the game, pauses and
//   plays on, and presses WEITER or ENDE;
// - SDL's own mouse events made from a touch are switched off: a finger
//   touching down would otherwise be a button press, which pauses.
//
// Only the first finger down steers; others are ignored until it lifts.
#pragma once

#include <functional>

// Installs the turning; `onTap` runs first in every tap, still inside the
// browser's touch event (which counts as the player's gesture).
void startFingerInput(std::function<void()> onTap);

// Whether the player's last press was a finger's rather than a mouse's.
bool playingByFinger();

// A real mouse's button went down: the player plays by mouse again.
void notePressByMouse();
