// The command line. The game has no options of its own: it answers the two
// questions every program answers, --help and --version, and refuses anything
// else before a window opens, so a mistyped argument is never silently ignored.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

enum class CommandLineAction { Play, ShowHelp, ShowVersion, Refuse };

struct CommandLine {
  CommandLineAction action = CommandLineAction::Play;
  std::string refused;         // the argument that was refused
  bool refusedOption = false;  // it looks like an option: it starts with '-' and is not "-"
};

// What to print and the exit code, for every action but Play.
struct CommandLineAnswer {
  int exitCode = 0;
  std::string out;  // for stdout
  std::string err;  // for stderr
};

inline constexpr int kExitWrongArgument = 2;

// `arguments` without the program's own name. The first argument decides, as
// with most programs: `--help --bogus` shows the help.
CommandLine readCommandLine(const std::vector<std::string>& arguments);
CommandLineAnswer answerCommandLine(const CommandLine& commandLine);

// Prints the answer to `commandLine` (any action but Play) on `out` and `err`,
// or in a message box where the stream it goes to reaches nobody, and gives
// back the exit code. A failed write (a closed stream, a full disk) is no
// answer: 1, and a line on `err`.
int printAnswer(const CommandLine& commandLine, std::FILE* out, std::FILE* err);
