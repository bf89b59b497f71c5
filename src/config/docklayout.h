#pragma once
// The arithmetic of putting stored placements and bar layouts back on screen, without a
// window: which dock a name means, in which order and rows bars are added to a dock, how
// rows are read back from where bars stand, and whether a stored rectangle can be reached.

#include <optional>
#include <string_view>
#include <vector>

#include "config/storedformats.h"

namespace vortan {

enum class TDockSide { None, Top, Bottom, Left, Right };

/// "TopDock", "BottomDock", "LeftDock", "RightDock"; anything else (also empty) is None.
TDockSide DockSideOf(std::string_view name);
/// The stored name; empty for None.
const char* DockName(TDockSide side);
/// Top and bottom docks stack rows downwards and place bars left to right.
bool IsHorizontalDock(TDockSide side);

struct TScreenRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TScreenRect&) const = default;
};

/// A window can be reached when a strip of its top edge (where its title bar is) at least
/// 64 by 16 pixels lies on one of the screens' usable areas.
bool IsReachable(const TScreenRect& rect, const std::vector<TScreenRect>& screens);
/// The rectangle of a stored placement when it is complete and reachable; otherwise none,
/// and the platform places the window.
std::optional<TScreenRect> ReachablePlacement(const TWindowPlacement& placement,
                                              const std::vector<TScreenRect>& screens);
/// A quarter of the screen's width and height, centred on it.
TScreenRect CenteredQuarter(const TScreenRect& screen);
/// The floating rectangle of a bar layout when all four fields are given, its size is
/// positive and it is reachable; otherwise none.
std::optional<TScreenRect> ReachableFloatRect(const TBarLayout& layout,
                                              const std::vector<TScreenRect>& screens);

/// One bar of a dock: its index in the caller's list, its stored row and position.
struct TBarSlot {
  int Bar = 0;
  int Row = 0;
  int Position = 0;
  bool operator==(const TBarSlot&) const = default;
};

/// The bars of one dock in the order they are added, one list per row: rows by stored row,
/// bars in a row by position (ties by the caller's order). Rows keep their order but gaps
/// between row numbers disappear.
std::vector<std::vector<int>> PlanRows(const std::vector<TBarSlot>& bars);

/// A bar where it stands: across the dock (y in a top or bottom dock, x in a side dock) and
/// along it, both relative to the dock.
struct TBarSeen {
  int Bar = 0;
  int Across = 0;
  int Along = 0;
};
/// Rows counted from 0 in the order of the distinct Across values; Position = Along.
std::vector<TBarSlot> RowsFromGeometry(const std::vector<TBarSeen>& bars);

}  // namespace vortan
