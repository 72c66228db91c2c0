// The intro jingle and the match-end tune.
#pragma once

#include <vector>

#include "synth.h"

namespace assets {

// A cheerful jingle of about three seconds: start-up waits 4800 ms after it.
std::vector<double> introJingle();
// A few seconds of fanfare when a match ends.
std::vector<double> outroTune();

}  // namespace assets
