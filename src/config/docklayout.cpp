#include "config/docklayout.h"

#include <algorithm>
#include <map>

namespace vortan {

TDockSide DockSideOf(std::string_view name) {
  if (name == "TopDock") return TDockSide::Top;
  if (name == "BottomDock") return TDockSide::Bottom;
  if (name == "LeftDock") return TDockSide::Left;
  if (name == "RightDock") return TDockSide::Right;
  return TDockSide::None;
}

const char* DockName(TDockSide side) {
  switch (side) {
    case TDockSide::Top:
      return "TopDock";
    case TDockSide::Bottom:
      return "BottomDock";
    case TDockSide::Left:
      return "LeftDock";
    case TDockSide::Right:
      return "RightDock";
    case TDockSide::None:
      break;
  }
  return "";
}

bool IsHorizontalDock(TDockSide side) {
  return side == TDockSide::Top || side == TDockSide::Bottom;
}

bool IsReachable(const TScreenRect& r, const std::vector<TScreenRect>& screens) {
  constexpr int kMinWidth = 64, kStrip = 16;
  if (r.Width < kMinWidth) return false;
  for (const TScreenRect& s : screens) {
    const long left = std::max<long>(r.Left, s.Left);
    const long right = std::min<long>(long(r.Left) + r.Width, long(s.Left) + s.Width);
    const long top = std::max<long>(r.Top, s.Top);
    const long bottom = std::min<long>(long(r.Top) + kStrip, long(s.Top) + s.Height);
    if (right - left >= kMinWidth && bottom - top >= kStrip) return true;
  }
  return false;
}

std::optional<TScreenRect> ReachablePlacement(const TWindowPlacement& p,
                                              const std::vector<TScreenRect>& screens) {
  if (!p.Left || !p.Top || !p.Width || !p.Height || *p.Width <= 0 || *p.Height <= 0)
    return std::nullopt;
  const TScreenRect r{*p.Left, *p.Top, *p.Width, *p.Height};
  if (!IsReachable(r, screens)) return std::nullopt;
  return r;
}

TScreenRect CenteredQuarter(const TScreenRect& s) {
  const int w = s.Width / 4, h = s.Height / 4;
  return {s.Left + (s.Width - w) / 2, s.Top + (s.Height - h) / 2, w, h};
}

std::optional<TScreenRect> ReachableFloatRect(const TBarLayout& l,
                                              const std::vector<TScreenRect>& screens) {
  if (!l.FloatLeft || !l.FloatTop || !l.Width || !l.Height || *l.Width <= 0 || *l.Height <= 0)
    return std::nullopt;
  const TScreenRect r{*l.FloatLeft, *l.FloatTop, *l.Width, *l.Height};
  if (!IsReachable(r, screens)) return std::nullopt;
  return r;
}

std::vector<std::vector<int>> PlanRows(const std::vector<TBarSlot>& bars) {
  std::vector<std::size_t> order(bars.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (bars[a].Row != bars[b].Row) return bars[a].Row < bars[b].Row;
    return bars[a].Position < bars[b].Position;
  });
  std::vector<std::vector<int>> rows;
  int lastRow = 0;
  for (std::size_t i : order) {
    if (rows.empty() || bars[i].Row != lastRow) rows.emplace_back();
    lastRow = bars[i].Row;
    rows.back().push_back(bars[i].Bar);
  }
  return rows;
}

std::vector<TBarSlot> RowsFromGeometry(const std::vector<TBarSeen>& bars) {
  std::map<int, int> rowOf;
  for (const TBarSeen& b : bars) rowOf[b.Across] = 0;
  int n = 0;
  for (auto& [across, row] : rowOf) row = n++;
  std::vector<TBarSlot> out;
  for (const TBarSeen& b : bars) out.push_back({b.Bar, rowOf[b.Across], b.Along});
  return out;
}

}  // namespace vortan
