// A platform that cannot tell before OpenGL is loaded whether it draws in
// software, and whose C library gives freed memory back by itself.
#include "app/platform_parts.h"

bool knownToDrawInSoftware() {
  return false;
}

void giveBackFreedHeap() {}
