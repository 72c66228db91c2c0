// The creatures' voices: the sounds the game draws at random on every hit
// and every point, one group per side.
#pragma once

#include <vector>

#include "synth.h"

namespace assets {

// One sound: its voices, started together or one after another.
using Cue = std::vector<Voice>;

// The green player's creature: high, bright chirps and squeaks.
std::vector<Cue> playerCues();
// The purple computer's creature: low grunts, croaks and boings.
std::vector<Cue> computerCues();

}  // namespace assets
