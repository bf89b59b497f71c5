#pragma once
// The run job: the compiled program in a console window of its own.

#include <string>
#include <vector>

#include "jobs/processthread.h"

namespace vortan {

/// The values of setting "Run with".
enum TRunWith : int {
  rwPifFile = 0,    ///< the window stays open after the program until the user closes it
  rwBatFile = 1,    ///< through RunWith.sh, which waits for a key after the program
  rwExeDirect = 2,  ///< the program alone; the window closes with it
  rwConsole = 3,    ///< through the user's command interpreter ($SHELL -c)
};

/// Starts ProgramPath (its full name, unquoted) in a terminal window in the mode of setting
/// "Run with", read when the job begins, and watches the terminal, which is the child that
/// Stop ends. OnSuccess reports the start; jrCantExecute when the program, the terminal,
/// the run script or $SHELL (mode 3) is missing, or for an unknown mode.
class TExecuteThread : public TProcessThread {
 public:
  explicit TExecuteThread(TMainThreadCall runInMainThread);

  /// The line shown in mode 0 after the program has ended (UTF-8): "%d" stands for the
  /// exit code. Set before the job starts.
  std::string EndedText;

  /// The arguments that start `program` in `mode`; empty when it cannot be started (no
  /// terminal, no script for mode 1, no shell for mode 3, unknown mode). The program's name
  /// is always an argument of its own, never part of a command text: modes 0, 2 and 3 hand
  /// it to a shell as a positional parameter (mode 3 to $SHELL when it is a POSIX shell,
  /// else to /bin/sh).
  static std::vector<std::string> RunCommand(int mode, const std::string& terminal,
                                             const std::string& program,
                                             const std::string& runWithScript,
                                             const std::string& shell,
                                             const std::string& endedText = std::string());

 protected:
  void Execute() override;
};

/// The text of RunWith.sh: run the program named by the first argument, wait for one key
/// without a prompt, end.
extern const char* const RunWithScriptText;

/// The run script, "RunWith.sh" in the installation directory. When there is none it is
/// written first (mode 0755); a file of that name is used as it is and never rewritten.
/// Where the installation directory takes no new file, the script is looked for and written
/// in the user's Vortan configuration directory instead. Empty when neither works.
std::string RunWithBatName();
/// The same for given directories (each with a trailing separator; empty skips it).
std::string RunWithBatName(const std::string& installDir, const std::string& fallbackDir);

}  // namespace vortan
