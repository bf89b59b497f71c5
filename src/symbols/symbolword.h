#pragma once
// The name or label under a column of one fixed-form line: what Go to Definition, Find
// References and the tips look up.

#include <string>
#include <string_view>

namespace vortan {

struct TSymbolWord {
  std::string Text;     ///< upper case; digits for a label; empty when there is nothing
  int StartColumn = 0;  ///< from 1
  bool Label = false;   ///< a statement label (in columns 1-5 or after GO TO, DO, ...)
};

/// The word at `column` (from 1; the column right after a word still counts) of `line`.
/// Comment lines, the continuation column and text past column 72 hold no word.
TSymbolWord SymbolWordAt(std::string_view line, int column);

}  // namespace vortan
