// Demo mode keeps what it writes apart from the user's real data.

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "program/program_runner.h"

namespace vorlin {
namespace {

TEST(DemoFolderTest, ADemoRunWritesOnlyBelowTheDemoFolder) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  const test::ProgramRun run =
      test::RunProgram(VORLIN_PROGRAM, {"--demo", "--screenshot", home.filePath("shot.png")},
                       test::IsolatedEnvironment(home.path()));
  ASSERT_FALSE(run.crashed) << run.err.toStdString();
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

  const QDir data(home.filePath("data/vorlin"));
  EXPECT_EQ(data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"demo"});
  const QDir demo(data.filePath("demo"));
  for (const char* name : {"mouse.firmware", "keyboard.firmware", "MousePad.firmware",
                           "HD.firmware", "mouse/ProfileList.ini"}) {
    EXPECT_TRUE(QFileInfo(demo.filePath(name)).isFile()) << name;
  }
}

}  // namespace
}  // namespace vorlin
