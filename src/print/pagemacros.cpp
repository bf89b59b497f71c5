#include "print/pagemacros.h"

#include <cctype>

namespace vortan {

namespace {

bool SameName(std::string_view a, std::string_view upper) {
  if (a.size() != upper.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != upper[i]) return false;
  return true;
}

std::string Number(int n, bool roman) { return roman ? RomanNumber(n) : std::to_string(n); }

// The value of a macro name (without its "$" signs); false for a name that is no macro.
bool MacroValue(std::string_view name, const TMacroValues& v, std::string& out) {
  if (SameName(name, "PAGENUM"))
    out = Number(v.Page, v.RomanNumbers);
  else if (SameName(name, "PAGECOUNT"))
    out = Number(v.PageCount, v.RomanNumbers);
  else if (SameName(name, "TITLE"))
    out = v.Title;
  else if (SameName(name, "DATE"))
    out = v.Date;
  else if (SameName(name, "TIME"))
    out = v.Time;
  else if (SameName(name, "DATETIME"))
    out = v.Date + " " + v.Time;
  else if (SameName(name, "TIMEDATE"))
    out = v.Time + " " + v.Date;
  else
    return false;
  return true;
}

}  // namespace

std::string RomanNumber(int n) {
  if (n < 1) return std::to_string(n);
  static const struct {
    int Value;
    const char* Text;
  } table[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
               {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
  std::string out;
  for (const auto& t : table)
    while (n >= t.Value) {
      out += t.Text;
      n -= t.Value;
    }
  return out;
}

std::string ExpandPageMacros(std::string_view text, const TMacroValues& values) {
  std::string out;
  out.reserve(text.size());
  std::string value;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '$') {
      const std::size_t close = text.find('$', i + 1);
      if (close != std::string_view::npos &&
          MacroValue(text.substr(i + 1, close - i - 1), values, value)) {
        out += value;
        i = close + 1;
        continue;
      }
    }
    // Not a macro: the "$" stays and the next one may open one.
    out += text[i++];
  }
  return out;
}

}  // namespace vortan
