#pragma once
// What completion offers at the caret: FORTRAN 77 keywords, intrinsic functions with their
// argument lists, and the names the index knows in scope; and the argument tip of a call.

#include <string>
#include <string_view>
#include <vector>

#include "symbols/symbolindex.h"

namespace vortan {

struct TCompletion {
  std::string Name;  ///< upper case
  std::string Tip;   ///< the argument list or what the name is ("SUBROUTINE", "keyword")
};

/// The candidates starting with `prefix` (any case) at a line of a file, sorted, each once:
/// keywords, intrinsics, the program units and COMMON blocks of the index, and the names
/// declared in the unit holding `line`.
std::vector<TCompletion> CompletionsFor(const TSymbolIndex& index, const std::string& file,
                                        int line, std::string_view prefix);

/// The argument tip of the call open before `column` of `line` ("CALL DGETRF(M, N, A ..." or
/// "X = MAX(A, "): "DGETRF(M, N, A, LDA, IPIV, INFO)"; empty when the caret is in no call.
/// `argument` is set to the 0-based argument the caret is in.
std::string ArgumentTip(const TSymbolIndex& index, std::string_view line, int column,
                        int* argument = nullptr);

}  // namespace vortan
