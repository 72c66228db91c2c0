// What the reliability cases look at once a run is over: what shut-down left
// unreleased, and the lines the game wrote on stderr.
#pragma once

#include <string>
#include <vector>

#include "headless_run.h"

std::vector<std::string> linesOf(const std::string& text);

// What shut-down left unreleased: the names of the fields still set, plus the
// audio device and SDL itself if they are still up.
std::vector<std::string> unreleased(const Session& s);

std::string joined(const std::vector<std::string>& names);

// Adds a shut-down check to a script: everything must have been released.
void expectEverythingReleased(Script& script, std::vector<std::string>& left);
