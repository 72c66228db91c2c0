// VombaPong: table tennis against the computer.
#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/platform_parts.h"
#include "app/run.h"

namespace {

// Help, version or a refusal: printed, and no window opened. A failed write
// (stdout closed, or a full disk) must not end with 0.
int answer(const CommandLine& commandLine) {
  const CommandLineAnswer answer = answerCommandLine(commandLine);
  // With no console to print to (a Windows shortcut that passes --help, say)
  // the answer is shown in a box.
  if (!reachesSomeone(answer.out.empty() ? stderr : stdout)) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "VombaPong",
                             (answer.out + answer.err).c_str(), nullptr);
    return answer.exitCode;
  }
  std::fputs(answer.out.c_str(), stdout);
  std::fputs(answer.err.c_str(), stderr);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("VombaPong: couldn't write to standard output\n", stderr);
    return 1;
  }
  return answer.exitCode;
}

}  // namespace

int main(int argc, char* argv[]) {
  joinParentConsole();
  const CommandLine commandLine =
      readCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (commandLine.action != CommandLineAction::Play) return answer(commandLine);
  return runVombaPong(realRunSeam());
}
