// The command line: what each argument list asks for, and the answers printed
// for help, version and a refusal. The built game's answers with no display
// are checked in tests/package.
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
           Case{{"--help"}, A::ShowHelp, "", false},
           Case{{"-h"}, A::ShowHelp, "", false},
           Case{{"--help", "--bogus"}, A::ShowHelp, "", false},
           Case{{"--version"}, A::ShowVersion, "", false},
           Case{{"--version", "x"}, A::ShowVersion, "", false},
           Case{{"--bogus", "--help"}, A::Refuse, "--bogus", true},
           Case{{"-help"}, A::Refuse, "-help", true},
           Case{{"--Help"}, A::Refuse, "--Help", true},
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
  const CommandLineAnswer help = answerCommandLine({CommandLineAction::ShowHelp, "", false});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: vombapong [--help | --version]\n", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("WEITER"), std::string::npos);
  EXPECT_EQ(help.err, "");

  const CommandLineAnswer version = answerCommandLine({CommandLineAction::ShowVersion, "", false});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("VombaPong [0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << version.out;
  EXPECT_EQ(version.err, "");

  struct Case {
    std::string refused;
    bool option;
    std::string message;
  };
  for (const Case& c : {Case{"--bogus", true, "VombaPong: unknown option '--bogus'\n"},
                        Case{"-x", false, "VombaPong: unexpected argument '-x'\n"},
                        Case{"court", false, "VombaPong: unexpected argument 'court'\n"}}) {
    const CommandLineAnswer refusal =
        answerCommandLine({CommandLineAction::Refuse, c.refused, c.option});
    EXPECT_EQ(refusal.exitCode, kExitWrongArgument);
    EXPECT_EQ(refusal.out, "");
    EXPECT_EQ(refusal.err, c.message + "Try 'vombapong --help' for more information.\n");
  }
}
