#pragma once
// Small text helpers every layer shares, on bytes: trimming and ASCII letter case. Case by a
// code page (accented letters) is codepage.h's.

#include <string>
#include <string_view>

namespace vortan {

/// Without the blanks and control bytes (<= ' ') at both ends.
std::string_view Trim(std::string_view s);
/// Equal when ASCII letter case is ignored.
bool SameText(std::string_view a, std::string_view b);
/// The ASCII letters lowered / raised; other bytes as they are.
std::string LowerAscii(std::string_view s);
std::string UpperAscii(std::string_view s);

}  // namespace vortan
