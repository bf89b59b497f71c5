#pragma once
// The tip shown over a unit's name: its header with the argument list and what its comments
// say it does (LAPACK's "Purpose" section when there is one, else the comment block right
// above or right below the header).

#include <string>
#include <string_view>

#include "symbols/symbolindex.h"

namespace vortan {

/// The tip of the unit or ENTRY `name`; empty when the index knows no such unit.
std::string UnitHoverTip(const TSymbolIndex& index, std::string_view name);

}  // namespace vortan
