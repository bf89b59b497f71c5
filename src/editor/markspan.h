#pragma once
// The stretch of a line a finding underlines: from the column the tool named to the end of
// the token there.

#include <string_view>

namespace vortan {

/// Character offsets in the line, [Start, End).
struct TMarkSpan {
  int Start = 0;
  int End = 0;
};

/// The token at `column` (1-based; 0 when the tool named none). A column in the blanks before
/// a token takes that token; a column past the line's text (the compiler names column 72 for
/// an unfinished statement) or none takes the last token of the line. An empty or blank line
/// gives an empty span.
TMarkSpan MarkSpan(std::string_view line, int column);

}  // namespace vortan
