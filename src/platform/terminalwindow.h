#pragma once
// A terminal window that lends its terminal to a program started elsewhere: the debugger
// runs the program on it, so the program's READ and PRINT happen in a window of its own.

#include <memory>
#include <string>

#include "platform/childprocess.h"

namespace vortan {

class TTerminalWindow {
 public:
  TTerminalWindow() = default;
  /// Closes the window.
  ~TTerminalWindow();
  TTerminalWindow(const TTerminalWindow&) = delete;
  TTerminalWindow& operator=(const TTerminalWindow&) = delete;

  /// Opens a window of `terminal` (see `platform::TerminalCommand`) that only holds its
  /// terminal open, and waits up to `timeoutMs` for the terminal's device name. False when the
  /// window cannot start or does not answer in time.
  bool Open(const std::string& terminal, int timeoutMs);
  const std::string& TtyName() const { return tty_; }
  bool IsOpen() const { return !tty_.empty() && child_ && !child_->Ended(); }
  void Close();

 private:
  std::unique_ptr<TChildProcess> child_;
  std::string tty_;
};

}  // namespace vortan
