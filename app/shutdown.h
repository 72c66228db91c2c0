#pragma once

#include "app/session.h"

// Releases everything in a fixed order: sounds, textures, surfaces, renderer
// and window, then the mixer and SDL. Safe after a start-up that stopped halfway.
void shutDown(Session& session);

// The first part of shut-down alone: what the session holds, in the same
// order, with the mixer and SDL left running. Released fields are null.
void releaseSession(Session& session);
