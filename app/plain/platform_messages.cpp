// The game's words on a platform whose streams always lead somewhere.
#include "app/platform_parts.h"

void joinParentConsole() {}

bool reachesSomeone(std::FILE*) {
  return true;
}

bool boxesBreakLines() {
  return false;
}
