#include "editor/gotoline.h"

#include <algorithm>
#include <climits>

namespace vortan {

bool IsLineNumberText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int EnteredLineNumber(std::string_view text) {
  if (text.empty() || !IsLineNumberText(text)) return 0;
  long long n = 0;
  for (char c : text) {
    n = n * 10 + (c - '0');
    if (n > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(n);
}

}  // namespace vortan
