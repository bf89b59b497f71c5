// Test main for tests that create widgets: one QApplication for the whole run.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
  // Tests that ask for the X display fall back to offscreen without one (and skip themselves).
  QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || (platform == "xcb" && qgetenv("DISPLAY").isEmpty()))
    platform = "offscreen";
  qputenv("QT_QPA_PLATFORM", platform);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
