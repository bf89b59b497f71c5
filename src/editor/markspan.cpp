#include "editor/markspan.h"

namespace vortan {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsWordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '.';
}

}  // namespace

TMarkSpan MarkSpan(std::string_view line, int column) {
  int end = static_cast<int>(line.size());
  while (end > 0 && IsBlank(line[static_cast<std::size_t>(end - 1)])) --end;
  if (end == 0) return {};
  int start = column - 1;
  if (column <= 0 || start >= end) {
    // The last token: back over its word characters, or one other character.
    start = end - 1;
    if (IsWordChar(line[static_cast<std::size_t>(start)]))
      while (start > 0 && IsWordChar(line[static_cast<std::size_t>(start - 1)])) --start;
    return {start, end};
  }
  while (start < end && IsBlank(line[static_cast<std::size_t>(start)])) ++start;
  int stop = start + 1;
  if (IsWordChar(line[static_cast<std::size_t>(start)]))
    while (stop < end && IsWordChar(line[static_cast<std::size_t>(stop)])) ++stop;
  return {start, stop};
}

}  // namespace vortan
