// VombaPong: table tennis against the computer.
#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/platform_parts.h"
#include "app/run.h"

int main(int argc, char* argv[]) {
  joinParentConsole();
  const CommandLine commandLine =
      readCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  // Help, version or a refusal: printed, and no window opened.
  if (commandLine.action != CommandLineAction::Play) {
    return printAnswer(commandLine, stdout, stderr);
  }
  return runVombaPong(realRunSeam());
}
