// The command line: what each argument list asks for, and the answers. The
// built game's answers with no display are checked in tests/package.
#include <gtest/gtest.h>

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
