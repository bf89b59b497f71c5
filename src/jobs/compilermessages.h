#pragma once
// The places the compiler's console text names as errors.

#include <string>
#include <string_view>
#include <vector>

namespace vortan {

struct TCompilerError {
  std::string File;
  int Line = 0;
  int Column = 0;
};

/// The errors of a compiler's text, in order: a line "file:line:column:" (or "file:line:")
/// followed, before the next such line, by one that begins with "Error:" or "Fatal Error:";
/// or the same on one line ("file:line:column: Error: ..."). Warnings are left out.
std::vector<TCompilerError> CompilerErrors(std::string_view output);

}  // namespace vortan
