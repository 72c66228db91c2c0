// A probe loaded into a program with LD_PRELOAD: it takes the program's calls
// of SDL_Delay, passes each on to SDL unchanged, and writes one line per call
// to the file named by VOMBA_DELAY_LOG:
//
//   <start, ns of CLOCK_MONOTONIC> <milliseconds asked> <ns actually slept>
//
// The starts of two successive frame waits are one frame period apart, seen
// from outside the game's own code. SDL's internal waits (its audio thread)
// call SDL directly and are not seen. Cost: two clock reads and one write per
// call, after the sleep.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using DelayFunction = void (*)(Uint32);

Sint64 monotonicNanos() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<Sint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

DelayFunction realDelay() {
  static const DelayFunction real = reinterpret_cast<DelayFunction>(dlsym(RTLD_NEXT, "SDL_Delay"));
  return real;
}

int logFile() {
  static const int fd = [] {
    const char* path = std::getenv("VOMBA_DELAY_LOG");
    if (path == nullptr) return -1;
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  }();
  return fd;
}

}  // namespace

extern "C" void SDL_Delay(Uint32 ms) {
  const Sint64 start = monotonicNanos();
  realDelay()(ms);
  const Sint64 slept = monotonicNanos() - start;
  const int fd = logFile();
  if (fd < 0) return;
  char line[64];
  const int length =
      std::snprintf(line, sizeof line, "%lld %u %lld\n", static_cast<long long>(start), ms,
                    static_cast<long long>(slept));
  if (length > 0) (void)!write(fd, line, static_cast<size_t>(length));
}
