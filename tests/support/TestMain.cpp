#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/Runtime.h"

// Every test runs the real Qt code on the offscreen platform.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::RuntimeInit(argc, argv);
  // A test closes windows; that must not end a run the tests are driving.
  QApplication::setQuitOnLastWindowClosed(false);
  const int result = RUN_ALL_TESTS();
  platform::RuntimeExit();
  return result;
}
