#pragma once
// The real executable in a temporary home, on the X display: what it shows is read from the
// X server.
#include <gtest/gtest.h>

#include <QTest>

#include "app/idehome.h"
#include "app/xdisplay.h"

namespace vortan::test {

class XIdeTest : public ShellHomeTest {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
    if (!display_.Open()) GTEST_SKIP() << "the X display cannot be opened";
    ShellHomeTest::SetUp();
    Set("QT_QPA_PLATFORM", "xcb");
  }

  /// The program's single main window, once it shows; 0 when none shows in time.
  Window MainWindow() {
    Window found = 0;
    (void)QTest::qWaitFor(
        [&] {
          auto ide = display_.IdeWindows(ide_.processId());
          if (ide.size() == 1) found = ide[0].Id;
          return found != 0;
        },
        20000);
    return found;
  }

  TDisplay display_;
};

}  // namespace vortan::test
