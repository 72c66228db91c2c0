// Start-up: from entry to the first frame.
#pragma once

#include "app/run_seam.h"
#include "app/session.h"

inline constexpr Uint32 kIntroWaitMillis = 4800;

// Runs start-up to its end, also after a close request on the start screen.
// False when the game cannot go on (already reported); shut-down follows either way.
bool startUp(Session& session, const RunSeam& seam);
