#include "print/headerfooterlayout.h"

#include <algorithm>

namespace vortan {

THFPlacement PlaceHeaderFooter(const THeaderFooter& hf, bool footer, const TPageFrame& frame,
                               const TPrintSettings& settings, double unitsPerMm,
                               const TMacroValues& values,
                               const std::function<double(const TFontSpec&)>& lineHeight) {
  THFPlacement out;
  if (hf.Items.empty()) return out;
  auto mm = [&](double margin) {
    return std::max(0.0, settings.ToMillimeters(margin)) * unitsPerMm;
  };
  const double internal = mm(settings.HFInternal);

  int lines = 1;
  for (const THeaderFooterItem& item : hf.Items) lines = std::max(lines, item.LineNumber);
  std::vector<double> heights(static_cast<std::size_t>(lines), 0.0);
  for (const THeaderFooterItem& item : hf.Items) {
    const auto at = static_cast<std::size_t>(std::max(1, item.LineNumber) - 1);
    heights[at] = std::max(heights[at], lineHeight(item.Font));
  }
  const double defaultHeight = lineHeight(hf.DefaultFont);
  double total = 0;
  for (double& h : heights) {
    if (h <= 0) h = defaultHeight;
    total += h;
  }
  std::vector<double> tops(heights.size());

  out.FrameLeft = frame.Left;
  out.FrameRight = frame.Right;
  if (!footer) {
    out.FrameBottom = frame.HeaderBottom - internal;
    out.FrameTop = out.FrameBottom - total - 2 * internal;
    out.LineY = out.FrameBottom;
  } else {
    out.FrameTop = frame.FooterTop + internal;
    out.FrameBottom = out.FrameTop + total + 2 * internal;
    out.LineY = out.FrameTop;
  }
  double y = out.FrameTop + internal;
  for (std::size_t i = 0; i < heights.size(); ++i) {
    tops[i] = y;
    y += heights[i];
  }

  const bool mirror = hf.MirrorPosition && values.Page % 2 == 0;
  const double left = frame.Left + internal + mm(settings.HFLeftIndent);
  const double right = frame.Right - internal - mm(settings.HFRightIndent);
  TMacroValues v = values;
  v.RomanNumbers = hf.RomanNumbers;
  for (const THeaderFooterItem& item : hf.Items) {
    TPlacedHFItem placed;
    placed.Text = ExpandPageMacros(item.Text, v);
    placed.Font = &item.Font;
    placed.Alignment = item.Alignment;
    if (mirror && item.Alignment != THFAlignment::Center)
      placed.Alignment =
          item.Alignment == THFAlignment::Left ? THFAlignment::Right : THFAlignment::Left;
    placed.X = placed.Alignment == THFAlignment::Left    ? left
               : placed.Alignment == THFAlignment::Right ? right
                                                         : (frame.Left + frame.Right) / 2;
    const auto at = static_cast<std::size_t>(std::max(1, item.LineNumber) - 1);
    placed.Top = tops[at];
    placed.Height = heights[at];
    out.Items.push_back(std::move(placed));
  }
  return out;
}

}  // namespace vortan
