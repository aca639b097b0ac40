// What a plain start writes to the terminal: nothing of its own unless something is wrong.

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "program/program_runner.h"

namespace vorlin {
namespace {

QStringList ProgramLines(const QString& text) {
  QStringList lines;
  for (const QString& line : text.split('\n', Qt::SkipEmptyParts))
    if (line.startsWith("vorlin")) lines << line;
  return lines;
}

TEST(StartLogTest, ADemoStartWritesNothingOfItsOwnAndVerboseWritesEnglish) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const QString shot = home.filePath("shot.png");
  const QProcessEnvironment environment = test::IsolatedEnvironment(home.path());

  const test::ProgramRun quiet =
      test::RunProgram(VORLIN_PROGRAM, {"--demo", "--screenshot", shot}, environment);
  ASSERT_FALSE(quiet.crashed) << quiet.err.toStdString();
  ASSERT_EQ(quiet.exitCode, 0) << quiet.err.toStdString();
  EXPECT_EQ(ProgramLines(quiet.err), QStringList()) << quiet.err.toStdString();

  const test::ProgramRun verbose =
      test::RunProgram(VORLIN_PROGRAM, {"--demo", "--verbose", "--screenshot", shot}, environment);
  ASSERT_EQ(verbose.exitCode, 0) << verbose.err.toStdString();
  const QStringList lines = ProgramLines(verbose.err);
  EXPECT_FALSE(lines.isEmpty());
  const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
  for (const QString& line : lines) {
    EXPECT_TRUE(line.startsWith("vorlin.")) << line.toStdString();
    EXPECT_FALSE(line.contains(chinese)) << line.toStdString();
    // A custom-effect entry without a Guid names no file.
    EXPECT_FALSE(line.contains("/.light")) << line.toStdString();
  }
}

}  // namespace
}  // namespace vorlin
