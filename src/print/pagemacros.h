#pragma once
// The macros of page header and footer texts.

#include <string>
#include <string_view>

namespace vortan {

/// What the macros stand for on one page.
struct TMacroValues {
  int Page = 1;
  int PageCount = 1;
  std::string Title;
  std::string Date;           ///< already in the system's short date format
  std::string Time;           ///< already in the system's time format
  bool RomanNumbers = false;  ///< page numbers as lower-case roman numerals
};

/// Replaces $PAGENUM$, $PAGECOUNT$, $TITLE$, $DATE$, $TIME$, $DATETIME$ and $TIMEDATE$,
/// matched without regard to case; any other text between "$" signs stays as it stands.
std::string ExpandPageMacros(std::string_view text, const TMacroValues& values);

/// 1 -> "i", 4 -> "iv", 1999 -> "mcmxcix"; numbers below 1 in decimal.
std::string RomanNumber(int n);

}  // namespace vortan
