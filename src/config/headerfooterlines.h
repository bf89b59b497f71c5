#pragma once
// A page header or footer as the Options dialog edits it: three editors (left, centre,
// right), each line of an editor one item of that alignment with its own font.

#include <array>
#include <string>
#include <vector>

#include "config/headerfooter.h"

namespace vortan {

struct THFLine {
  std::string Text;
  TFontSpec Font;
  bool operator==(const THFLine&) const = default;
};

/// Index 0 left, 1 centre, 2 right: the order of the dialog's three editors.
using THFColumns = std::array<std::vector<THFLine>, 3>;

int ColumnOf(THFAlignment alignment);
THFAlignment AlignmentOfColumn(int column);

/// The items appended, in their stored order, as lines of the editor of their alignment.
THFColumns HeaderFooterLines(const THeaderFooter& hf);
/// Replaces the items: line i (from 0) of each editor becomes an item with line number i + 1
/// and that editor's alignment. Empty lines make no item (they still count for the numbers).
void SetHeaderFooterLines(THeaderFooter& hf, const THFColumns& columns);

}  // namespace vortan
