// VombaPong: table tennis against the computer.
#include <SDL.h>

#include "app/run.h"

int main(int /*argc*/, char* /*argv*/[]) {
  return runVombaPong(realPlatform());
}
