#pragma once
// Reads the symbols of one fixed-form file: statement by statement, by the statement's form.

#include <string_view>

#include "symbols/filesymbols.h"

namespace vortan {

TFileSymbols ExtractSymbols(std::string_view text);

}  // namespace vortan
