// The program on a terminal without a display: help, version and wrong options answer without
// starting the window system.

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "program/program_runner.h"

namespace vorlin {
namespace {

struct TerminalCase {
  const char* name;
  QStringList arguments;
  int exitCode;
  const char* stdoutHas;  // nullptr: stdout stays empty
  const char* stderrHas;  // nullptr: stderr stays empty
};

class TerminalTest : public ::testing::TestWithParam<TerminalCase> {};

TEST_P(TerminalTest, AnswersWithoutADisplay) {
  const TerminalCase& c = GetParam();
  const test::ProgramRun run = test::RunProgram(QStringLiteral(VORLIN_PROGRAM), c.arguments,
                                                test::EnvironmentWithoutDisplay());
  ASSERT_FALSE(run.crashed) << run.err.toStdString();
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
  if (c.stdoutHas)
    EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.stdoutHas))) << run.out.toStdString();
  else
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  if (c.stderrHas)
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.stderrHas))) << run.err.toStdString();
  else
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Program, TerminalTest,
    ::testing::Values(
        TerminalCase{"help", {"--help"}, 0, "Usage: vorlin [options]", nullptr},
        TerminalCase{"help_lists_options", {"-h"}, 0, "--screenshot <path>", nullptr},
        TerminalCase{"version", {"--version"}, 0, "vorlin " VORLIN_VERSION "\n", nullptr},
        TerminalCase{
            "version_beside_other_options", {"--demo", "--version"}, 0, "vorlin ", nullptr},
        TerminalCase{"unknown_option", {"--bogus"}, 2, nullptr, "Unknown option 'bogus'."},
        TerminalCase{"unknown_option_hint", {"--bogus"}, 2, nullptr, "Try 'vorlin --help'"},
        TerminalCase{"missing_value", {"--screenshot"}, 2, nullptr, "Missing value after"},
        TerminalCase{"bad_scale", {"--scale", "big"}, 2, nullptr, "--scale takes a DPI value"},
        TerminalCase{"stray_argument", {"demo"}, 2, nullptr, "Unexpected argument 'demo'"}),
    [](const ::testing::TestParamInfo<TerminalCase>& info) {
      return std::string(info.param.name);
    });

TEST(CommandLineTest, LeavesQtWindowSystemOptionsToTheApplication) {
  const CommandLine parsed = ParseCommandLine({"vorlin", "-platform", "offscreen", "--style=Fusion",
                                               "-reverse", "--demo", "--scale", "144"},
                                              "1");
  ASSERT_EQ(parsed.action, CommandLine::Action::kRun) << parsed.text.toStdString();
  EXPECT_TRUE(parsed.demo);
  EXPECT_EQ(parsed.forcedDpi, 144);
}

TEST(CommandLineTest, ReadsEveryOptionOfARun) {
  const CommandLine parsed =
      ParseCommandLine({"vorlin", "--probe", "--wait", "--sim-socket", "/tmp/s", "--verbose",
                        "--screenshot", "a.png", "--automation", "/tmp/a"},
                       "1");
  ASSERT_EQ(parsed.action, CommandLine::Action::kRun);
  EXPECT_TRUE(parsed.probe);
  EXPECT_TRUE(parsed.wait);
  EXPECT_TRUE(parsed.verbose);
  EXPECT_FALSE(parsed.demo);
  EXPECT_EQ(parsed.simSocket, "/tmp/s");
  EXPECT_EQ(parsed.screenshotPath, "a.png");
  EXPECT_EQ(parsed.automationPath, "/tmp/a");
  EXPECT_EQ(parsed.forcedDpi, 0);
}

}  // namespace
}  // namespace vorlin
