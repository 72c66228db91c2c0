// The calendar time in whole seconds, from which the computer's aim and the
// sound cues reseed the generator before every draw. Tests replace the source
// to choose the second; the game itself always reads time(nullptr).
#pragma once

#include <ctime>

using SecondsSource = std::time_t (*)();

std::time_t currentSeconds();
// Passing nullptr restores the real clock.
void setSecondsSource(SecondsSource source);
