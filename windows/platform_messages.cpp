// The game's words on Windows, whose windowed programs start with no console
// (app/platform_parts.h).
#include "app/platform_parts.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // MinGW's C++ library defines it already
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>

#include <cstdint>

namespace {
bool leadsSomewhere(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}
}  // namespace

void joinParentConsole() {
  const bool outLeads = reachesSomeone(stdout);
  const bool errLeads = reachesSomeone(stderr);
  // Started by a double-click there is no console to join, and the attempt fails.
  if ((outLeads && errLeads) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!outLeads) std::freopen("CONOUT$", "w", stdout);
  if (!errLeads) std::freopen("CONOUT$", "w", stderr);
}

bool reachesSomeone(std::FILE* stream) {
  // The C library's own handle: the process's standard handles are not
  // updated when a stream is reopened on the console.
  const std::intptr_t handle = _get_osfhandle(_fileno(stream));
  return handle != -1 && handle != -2 && leadsSomewhere(reinterpret_cast<HANDLE>(handle));
}

bool boxesBreakLines() {
  return true;
}
