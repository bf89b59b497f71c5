#include "jobs/valuetip.h"

#include <cctype>

namespace vortan {

namespace {
bool NameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
}  // namespace

std::string FortranNameAt(std::string_view line, std::size_t column) {
  if (column >= line.size() || column < 6) return {};
  const char first = line.front();
  if (first == 'C' || first == 'c' || first == '*' || first == '!') return {};
  // Inside a character constant when an odd number of quotes stand before the column.
  bool quoted = false;
  for (std::size_t i = 6; i < column; ++i)
    if (line[i] == '\'') quoted = !quoted;
  if (quoted || !NameChar(line[column])) return {};
  std::size_t start = column;
  while (start > 6 && NameChar(line[start - 1])) --start;
  std::size_t end = column;
  while (end < line.size() && NameChar(line[end])) ++end;
  // "10" or "2E5" is a number, not a name.
  if (!std::isalpha(static_cast<unsigned char>(line[start]))) return {};
  // Columns 73 and beyond are not read.
  if (start >= 72) return {};
  return std::string(line.substr(start, std::min<std::size_t>(end, 72) - start));
}

}  // namespace vortan
