// The game's file description (present/game_files.h, present/sheet_layout.h)
// and the places and frame period of its rules, as JSON, for the end-to-end
// tests and the benchmarks in Python, which cannot include them.
#pragma once

#include <string>

namespace assets {

std::string describeGameFiles();

}  // namespace assets
