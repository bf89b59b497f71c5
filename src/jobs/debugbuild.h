#pragma once
// The program the debugger runs: built with debug information and without optimisation, into
// a file of its own beside the normal program, so a debugging run never replaces the program
// that Run starts.

#include <string>
#include <vector>

namespace vortan {

/// "prog" -> "prog.debug".
std::string DebugProgramOf(const std::string& program);

/// The compiler's arguments: the user's options, then -g -O0 (last, so they win over an -O of
/// the user's), the sources and the program.
std::vector<std::string> DebugCompileArguments(const std::string& compiler,
                                               const std::string& options,
                                               const std::vector<std::string>& sources,
                                               const std::string& program);

/// Runs the compile in the calling thread. False with the compiler's text in `output`, which
/// is empty when the compiler is missing or could not run.
bool CompileForDebugging(const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, std::string& output);

}  // namespace vortan
