#pragma once

#include "app/session.h"

// Releases everything in a fixed order: sounds, textures, surfaces, renderer
// and window, then the mixer and SDL. Safe after a start-up that stopped halfway.
void shutDown(Session& session);
