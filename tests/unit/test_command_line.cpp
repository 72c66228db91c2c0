// The command line: what each argument list asks for, and the answers. The
// built game's answers with no display are checked in tests/package.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "app/command_line.h"

TEST(CommandLine, FirstArgumentDecides) {
  using A = CommandLineAction;
  struct Case {
    std::vector<std::string> arguments;
    A action;
    std::string refused;
    bool option;
  };
  for (const Case& c : {
           Case{{}, A::Play, "", false},
           Case{{"--"}, A::Play, "", false},
           Case{{"-h"}, A::ShowHelp, "", false},
           Case{{"--help", "--bogus"}, A::ShowHelp, "", false},
           Case{{"--version", "x"}, A::ShowVersion, "", false},
           Case{{"--bogus", "--help"}, A::Refuse, "--bogus", true},
           Case{{"--help=x"}, A::Refuse, "--help=x", true},
           Case{{"-"}, A::Refuse, "-", false},
           Case{{""}, A::Refuse, "", false},
           Case{{"pong.bmp"}, A::Refuse, "pong.bmp", false},
           Case{{"--", "--help"}, A::Refuse, "--help", false},
       }) {
    const CommandLine got = readCommandLine(c.arguments);
    std::string shown;
    for (const auto& a : c.arguments) shown += "[" + a + "]";
    EXPECT_EQ(got.action, c.action) << shown;
    EXPECT_EQ(got.refused, c.refused) << shown;
    EXPECT_EQ(got.refusedOption, c.option) << shown;
  }
}

TEST(CommandLine, AnswersGoToTheirStreamWithTheirExitCode) {
  const CommandLineAnswer version = answerCommandLine({CommandLineAction::ShowVersion, "", false});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("VombaPong [0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << version.out;
  EXPECT_EQ(version.err, "");

  const std::string hint = "Try 'vombapong --help' for more information.\n";
  const CommandLineAnswer option = answerCommandLine({CommandLineAction::Refuse, "-x", true});
  EXPECT_EQ(option.exitCode, kExitWrongArgument);
  EXPECT_EQ(option.out, "");
  EXPECT_EQ(option.err, "VombaPong: unknown option '-x'\n" + hint);
  const CommandLineAnswer operand = answerCommandLine({CommandLineAction::Refuse, "-x", false});
  EXPECT_EQ(operand.err, "VombaPong: unexpected argument '-x'\n" + hint);
}

// Every form the command line answers, as the game prints it: what goes to each
// stream, and the exit code. A full stdout is no answer.
TEST(CommandLine, EveryFormAnswersOnItsStreamsWithItsExitCode) {
  const std::string usage = "Usage: vombapong [--help | --version]\n";
  const std::string hint = "\nTry 'vombapong --help' for more information.\n";
  const struct {
    std::vector<std::string> arguments;
    const char* outPath;  // where stdout leads: a file of the test's own unless set
    int exitCode;
    std::string outStart, err;
  } cases[] = {
      {{"--help"}, nullptr, 0, usage, ""},
      {{"-h", "--bogus"}, nullptr, 0, usage, ""},
      {{"--version", "x"}, nullptr, 0, "VombaPong " VOMBA_VERSION "\n", ""},
      {{"--version"}, "/dev/full", 1, "", "VombaPong: couldn't write to standard output\n"},
      {{"--bogus", "--help"}, nullptr, 2, "", "VombaPong: unknown option '--bogus'" + hint},
      {{"pong.bmp"}, nullptr, 2, "", "VombaPong: unexpected argument 'pong.bmp'" + hint},
      {{"--", "--help"}, nullptr, 2, "", "VombaPong: unexpected argument '--help'" + hint},
  };
  const auto printed = [](std::FILE* stream) {
    std::string text(4096, '\0');
    std::rewind(stream);
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    return text;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    std::FILE* out = c.outPath ? std::fopen(c.outPath, "w") : std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    EXPECT_EQ(printAnswer(readCommandLine(c.arguments), out, err), c.exitCode);
    // The help is checked by its first line; anything else whole.
    const size_t compared = c.outStart == usage ? usage.size() : std::string::npos;
    if (!c.outPath) {
      EXPECT_EQ(printed(out).substr(0, compared), c.outStart);
    }
    EXPECT_EQ(printed(err), c.err);
    std::fclose(out);
    std::fclose(err);
  }
}
