// GoogleTest's main with a real QApplication on the X display that
// tests/support/x-session started for this run, set up as the program's.
#include <gtest/gtest.h>

#include <QApplication>

#include "application_setup.h"

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  colfix::SetUpApplication();
  return RUN_ALL_TESTS();
}
