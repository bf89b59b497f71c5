#pragma once
// Edit > Convert: case and code page of a document's bytes. Every conversion keeps the
// length, byte for byte.

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace vortan {

/// The Convert entries by their action number.
enum class TConversion { ToUpperCase = 1, ToLowerCase = 2, ToAnsi = 3, ToOem = 4 };

/// Upper and lower case change the letters as the document shows them (its own page);
/// To ANSI and To OEM map each byte from one page to the other ('?' where the target lacks
/// the character). An unknown number returns the bytes unchanged.
std::string ConvertBytes(int tag, platform::TCodePage documentPage, std::string_view bytes);

}  // namespace vortan
