#pragma once

// The main function of the window tests: the offscreen platform, the source tree's skin and data
// folder, and every file the program writes (settings, user data, sockets) in a private temporary
// folder that goes when the tests end.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "ui/skin_manager.h"

namespace vorlin::test {

inline int RunWindowTests(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
  qputenv("VORLIN_DATA_DIR", VORLIN_SOURCE_DIR "/data");
  // A Chinese desktop: the window's first start comes up in Chinese whatever the machine's locale.
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", "zh_CN.UTF-8");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  SkinManager::Instance().SetSkinFolder(QStringLiteral(VORLIN_SOURCE_DIR "/data/skin"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace vorlin::test
