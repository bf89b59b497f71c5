#include "platform/terminalwindow.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/platform.h"
#include "platform/terminal.h"

namespace vortan {
namespace {

// Needs an X display (xvfb-run) and a terminal emulator; skipped otherwise.
TEST(TerminalWindowTest, LendsItsTerminalAndClosesWithIt) {
  const std::string terminal = platform::FindTerminal();
  if (platform::GetEnv("DISPLAY").empty() || terminal.empty())
    GTEST_SKIP() << "no display or no terminal emulator";
  TTerminalWindow window;
  ASSERT_TRUE(window.Open(terminal, 20000));
  EXPECT_EQ(window.TtyName().rfind("/dev/", 0), 0u) << window.TtyName();
  EXPECT_TRUE(window.IsOpen());
  // The terminal takes what a program writes to it.
  std::ofstream tty(window.TtyName());
  tty << "hello\n";
  EXPECT_TRUE(tty.good());
  window.Close();
  EXPECT_FALSE(window.IsOpen());
}

TEST(TerminalWindowTest, ATerminalThatNeverAnswersFails) {
  TTerminalWindow window;
  // "false" ends at once without naming a terminal.
  EXPECT_FALSE(window.Open(platform::FindExecutable("false"), 5000));
  EXPECT_TRUE(window.TtyName().empty());
}

}  // namespace
}  // namespace vortan
