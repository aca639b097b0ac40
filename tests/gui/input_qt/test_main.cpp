// The window input capture's tests run on the offscreen platform with the source tree's skin,
// and keep every file they write (settings, user data) in a private temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "ui/skin_manager.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
  qputenv("VORLIN_DATA_DIR", VORLIN_SOURCE_DIR "/data");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  vorlin::SkinManager::Instance().SetSkinFolder(QStringLiteral(VORLIN_SOURCE_DIR "/data/skin"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
