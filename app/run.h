#pragma once

#include "app/run_seam.h"

// The whole game: start-up, the frame loop, shut-down. Returns the exit code:
// 0 after a quit, 1 when the game could not start or had to stop.
int runVombaPong(const RunSeam& seam);
