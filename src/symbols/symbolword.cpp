#include "symbols/symbolword.h"

#include "platform/text.h"

namespace vortan {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TSymbolWord SymbolWordAt(std::string_view line, int column) {
  TSymbolWord w;
  if (line.empty() || column < 1) return w;
  const char first = line[0];
  if (first == 'C' || first == 'c' || first == '*' || first == '!') return w;
  if (line.size() > 72) line = line.substr(0, 72);
  // Columns 1-5: the statement's own label, blanks allowed between its digits.
  if (column <= 5 || (column == 6 && line.size() >= 5 && IsDigit(line[4]))) {
    std::string digits;
    int start = 0;
    for (std::size_t i = 0; i < 5 && i < line.size(); ++i)
      if (IsDigit(line[i])) {
        if (!start) start = static_cast<int>(i) + 1;
        digits += line[i];
      }
    if (!digits.empty()) w = {digits, start, true};
    return w;
  }
  if (column == 6) return w;
  std::size_t at = static_cast<std::size_t>(column - 1);
  if (at > line.size()) return w;
  // The column right after a word (the caret at its end) belongs to it.
  if ((at == line.size() || !IsNameChar(line[at])) && at > 6 && IsNameChar(line[at - 1])) --at;
  if (at >= line.size() || !IsNameChar(line[at])) return w;
  std::size_t begin = at, end = at;
  while (begin > 6 && IsNameChar(line[begin - 1])) --begin;
  while (end < line.size() && IsNameChar(line[end])) ++end;
  std::string text(line.substr(begin, end - begin));
  // Digits alone are a label (GO TO 10, DO 20 I=..., ERR=30); a number with a letter after
  // its digits (1E5, 2D0) is a constant, which has no definition.
  bool digitsOnly = true;
  for (char c : text) digitsOnly = digitsOnly && IsDigit(c);
  if (!digitsOnly && IsDigit(text[0])) return w;
  if (digitsOnly && text.size() > 5) return w;  // no label has more than five digits
  w.Text = UpperAscii(text);
  w.StartColumn = static_cast<int>(begin) + 1;
  w.Label = digitsOnly;
  return w;
}

}  // namespace vortan
