// SDL wakes its own wait for events on X11 by sending the game window a
// message over a second connection to the X server, once for every event the
// wait takes in. When that event ends the game (ENDE, or a close while paused),
// shut-down can destroy the window before the server has taken the message in.
// The server then answers it with a BadWindow error, which surfaces while SDL
// closes that connection in SDL_Quit, and Xlib's default handler ends the
// process there: exit code 1 after a clean quit. The message was only ever a
// wake-up, so that one error is harmless and is ignored; every other X error
// goes on to the handler that was there before.
#pragma once

// True for the error of a message sent to a window that no longer exists.
bool isLateWakeUpError(int errorCode, int requestCode);

// The handler itself is installed by ignoreLateWakeUps (app/platform_parts.h),
// which this folder defines with lateWakeUpsIgnored.
