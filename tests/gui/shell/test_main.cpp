// The shell tests need a QApplication (offscreen) and a private D-Bus session bus.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/private_bus.h"

int main(int argc, char** argv) {
  vorlin::test::RunUnderPrivateBus(argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
