#include "shell/app_paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace vorlin {
namespace {

class InstallFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(root_.isValid()); }
  QString Make(const QString& relative) {
    const QString path = QDir(root_.path()).filePath(relative);
    EXPECT_TRUE(QDir().mkpath(path));
    return QDir::cleanPath(path);
  }
  QString Path(const QString& relative) const {
    return QDir::cleanPath(QDir(root_.path()).filePath(relative));
  }
  QTemporaryDir root_;
};

TEST_F(InstallFolderTest, FirstExistingCandidateWins) {
  const QString exe = Make(QStringLiteral("prefix/bin"));
  const QString source = Make(QStringLiteral("src/data"));
  const QString env = Make(QStringLiteral("env-data"));
  const QString installed = Path(QStringLiteral("prefix/share/vorlin"));
  const QString beside = Path(QStringLiteral("prefix/bin/data"));

  // Nothing but the source tree: a program run from its build tree.
  EXPECT_EQ(ResolveInstallFolder(QString(), exe, source), source);
  // An environment value that names no folder is passed over.
  EXPECT_EQ(ResolveInstallFolder(Path(QStringLiteral("nope")), exe, source), source);
  Make(QStringLiteral("prefix/bin/data"));
  EXPECT_EQ(ResolveInstallFolder(QString(), exe, source), beside);
  Make(QStringLiteral("prefix/share/vorlin"));
  EXPECT_EQ(ResolveInstallFolder(QString(), exe, source), installed);
  EXPECT_EQ(ResolveInstallFolder(env, exe, source), env);
}

TEST_F(InstallFolderTest, NothingFoundNamesTheInstalledPlace) {
  const QString exe = Make(QStringLiteral("prefix/bin"));
  EXPECT_EQ(ResolveInstallFolder(QString(), exe, Path(QStringLiteral("gone"))),
            Path(QStringLiteral("prefix/share/vorlin")));
}

TEST(UserDataFolder, FollowsTheBaseDirectoryRules) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/data/home", "/home/u", "/data/home/vorlin"},
      {"", "/home/u", "/home/u/.local/share/vorlin"},
      {"relative/share", "/home/u", "/home/u/.local/share/vorlin"},  // relative: ignored
      {"/data/home/", "/home/u", "/data/home/vorlin"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveUserDataFolder(QString::fromUtf8(c.xdg), QString::fromUtf8(c.home)),
              QString::fromUtf8(c.expected))
        << c.xdg;
  }
}

TEST(UserDataFolder, IsCreatedWhenMissing) {
  QTemporaryDir base;
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  const bool was_set = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QFile::encodeName(base.filePath(QStringLiteral("deep/share"))));
  const QString folder = UserDataFolder();
  if (was_set) {
    qputenv("XDG_DATA_HOME", saved);
  } else {
    qunsetenv("XDG_DATA_HOME");
  }
  EXPECT_EQ(folder, QDir::cleanPath(base.filePath(QStringLiteral("deep/share/vorlin"))));
  EXPECT_TRUE(QDir(folder).exists());
}

}  // namespace
}  // namespace vorlin
