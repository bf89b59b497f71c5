#pragma once
// The number typed into the Go to Line Number box.

#include <string_view>

namespace vortan {

/// True when the text is made of the digits 0-9 only (the box accepts nothing else).
bool IsLineNumberText(std::string_view text);

/// The line the box asks for: 0 (the dialog stays open) for an empty box, 0 itself or a
/// text that is not all digits; a number beyond any document counts as INT_MAX.
int EnteredLineNumber(std::string_view text);

}  // namespace vortan
