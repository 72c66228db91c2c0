#include "app/command_line.h"

#include <SDL.h>

#include "app/platform_parts.h"

namespace {

// Set by the build from the project's version.
constexpr const char* kVersion = VOMBA_VERSION;

constexpr const char* kUsage =
    "Usage: vombapong [--help | --version]\n"
    "Table tennis for one player against the computer, played with the mouse.\n"
    "\n"
    "Click to start. Move the mouse to move your creature; click to pause and\n"
    "again to play on. First to 10 points wins; then WEITER plays again and\n"
    "ENDE quits. Closing the window quits at any time.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the name and version and exit\n"
    "\n"
    "Exit status: 0 after a quit, 1 when the game cannot start or has to stop,\n"
    "2 for a wrong argument. More in the manual: man 6 vombapong\n";

constexpr const char* kHelpHint = "Try 'vombapong --help' for more information.\n";

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {};
  const std::string& first = arguments.front();
  if (first == "--help" || first == "-h") return {CommandLineAction::ShowHelp, "", false};
  if (first == "--version") return {CommandLineAction::ShowVersion, "", false};
  // "--" ends the options; the game takes nothing after it either.
  if (first == "--") {
    if (arguments.size() == 1) return {};
    return {CommandLineAction::Refuse, arguments[1], false};
  }
  return {CommandLineAction::Refuse, first, first.size() > 1 && first[0] == '-'};
}

CommandLineAnswer answerCommandLine(const CommandLine& commandLine) {
  switch (commandLine.action) {
    case CommandLineAction::ShowHelp:
      return {0, kUsage, ""};
    case CommandLineAction::ShowVersion:
      return {0, std::string("VombaPong ") + kVersion + "\n", ""};
    case CommandLineAction::Refuse: {
      const std::string what = commandLine.refusedOption ? "unknown option" : "unexpected argument";
      return {kExitWrongArgument, "",
              "VombaPong: " + what + " '" + commandLine.refused + "'\n" + kHelpHint};
    }
    case CommandLineAction::Play:
      break;
  }
  return {};
}

int printAnswer(const CommandLine& commandLine, std::FILE* out, std::FILE* err) {
  const CommandLineAnswer answer = answerCommandLine(commandLine);
  // With no console to print to (a Windows shortcut that passes --help, say)
  // the answer is shown in a box.
  if (!reachesSomeone(answer.out.empty() ? err : out)) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "VombaPong",
                             (answer.out + answer.err).c_str(), nullptr);
    return answer.exitCode;
  }
  std::fputs(answer.out.c_str(), out);
  std::fputs(answer.err.c_str(), err);
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fputs("VombaPong: couldn't write to standard output\n", err);
    return 1;
  }
  return answer.exitCode;
}
