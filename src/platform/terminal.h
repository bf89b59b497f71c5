#pragma once
// The terminal emulator that gives a console program a window of its own.

#include <string>
#include <vector>

namespace vortan::platform {

/// Full name of an executable file: a name with a separator must exist as given, a bare name
/// is looked up in PATH. Empty when there is none.
std::string FindExecutable(const std::string& name);

/// Full name of the terminal emulator: the first that exists of $VORTAN_TERMINAL,
/// x-terminal-emulator and xterm. Empty when there is none.
std::string FindTerminal();

/// The arguments that start `command` (program first) in a window of `terminal`:
/// TERM -e CMD ARGS. Every X terminal emulator takes this form, and it hands the arguments
/// over as they are, with no shell in between.
std::vector<std::string> TerminalCommand(const std::string& terminal,
                                         const std::vector<std::string>& command);

}  // namespace vortan::platform
