#include "symbols/filesymbols.h"

namespace vortan {

int TFileSymbols::UnitAt(int line) const {
  for (int u = static_cast<int>(Units.size()) - 1; u >= 0; --u) {
    const TUnitSymbol& unit = Units[static_cast<std::size_t>(u)];
    // A main program without PROGRAM starts at its first statement, which Pos holds.
    if (unit.Pos.Line <= line) return (unit.EndLine == 0 || line <= unit.EndLine) ? u : -1;
  }
  return -1;
}

}  // namespace vortan
