// main() of the widget test executables: one QApplication for every test.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // Widget tests never need a display, also when CMake lists them at build time.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
