// The tests of the windows run without a display unless one is asked for: the offscreen
// platform is chosen before the application starts, also when CTest lists the tests.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef TARVENOL_TEST_SCALE_FACTOR
  // A program of tests of the window on a screen of that device pixel ratio.
  qputenv("QT_SCALE_FACTOR", TARVENOL_TEST_SCALE_FACTOR);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
