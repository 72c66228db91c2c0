// The game's file description (present/game_files.h, present/sheet_layout.h)
// as JSON, for the end-to-end tests in Python, which cannot include it.
#pragma once

#include <string>

namespace assets {

std::string describeGameFiles();

}  // namespace assets
