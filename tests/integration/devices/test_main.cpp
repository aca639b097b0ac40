// The device objects on their own threads need an event loop on the test's thread (their views
// and reports arrive there as queued calls) but no window.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
