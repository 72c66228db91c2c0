// A game without X11 has no X errors to sort.
#include "app/platform_parts.h"

void ignoreLateWakeUps() {}

bool lateWakeUpsIgnored() {
  return false;
}
