#pragma once
// The trees the Symbols panel shows, as data: the outline of files (units with their ENTRYs,
// COMMON blocks and labels) and one level of a call tree or called-by tree at a time.

#include <string>
#include <string_view>
#include <vector>

#include "symbols/symbolindex.h"

namespace vortan {

enum class TSymbolNodeKind : unsigned char { File, Unit, Entry, Common, Label };

struct TSymbolNode {
  TSymbolNodeKind Kind = TSymbolNodeKind::Unit;
  std::string Text;  ///< what the row shows
  TSymbolLocation Where;
  /// A unit already on the path from the root: shown once more, never expanded again.
  bool Recursive = false;
  std::vector<TSymbolNode> Children;
};

/// "SUBROUTINE DGESV(N, NRHS, A)", "DOUBLE PRECISION FUNCTION DLAMCH(CMACH)", "PROGRAM".
std::string UnitHeaderText(const TUnitSymbol& unit);

/// The units of the files, each with its ENTRYs, COMMON blocks and labels. With several files
/// each file is a node above its units. `filter` (any case) keeps the rows whose names hold
/// it, with the units above them; empty keeps everything.
std::vector<TSymbolNode> SymbolOutline(const TSymbolIndex& index,
                                       const std::vector<std::string>& files,
                                       std::string_view filter);

/// The units `name` calls (or, with `callers`, the units calling it), one level. `path` holds
/// the units from the root down to `name`; a child already on it is marked Recursive. A called
/// name the index has no definition of is a leaf without a file.
std::vector<TSymbolNode> CallTreeLevel(const TSymbolIndex& index, std::string_view name,
                                       const std::vector<std::string>& path, bool callers);

}  // namespace vortan
