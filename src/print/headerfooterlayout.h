#pragma once
// Where the items of a page header or footer go on one page, and their frame.

#include <functional>
#include <string>
#include <vector>

#include "config/printsettings.h"
#include "print/pagemacros.h"
#include "print/printlayout.h"

namespace vortan {

struct TPlacedHFItem {
  std::string Text;                             ///< macros expanded
  const TFontSpec* Font = nullptr;              ///< points into the header/footer given
  THFAlignment Alignment = THFAlignment::Left;  ///< after mirroring
  double X = 0;       ///< left edge (Left), right edge (Right) or middle (Center) of the text
  double Top = 0;     ///< top of the item's line
  double Height = 0;  ///< height of the item's line
};

struct THFPlacement {
  std::vector<TPlacedHFItem> Items;  ///< empty: nothing is drawn, not even the frame
  double FrameLeft = 0, FrameRight = 0, FrameTop = 0, FrameBottom = 0;  ///< box and shading
  double LineY = 0;  ///< the line under a header or above a footer
};

/// Places the items of `hf` in the header (or footer) band of `frame`. Item lines stack from
/// the text side outwards; a line is as high as its tallest font (`lineHeight` measures one),
/// a line number without items as high as the default font. On even pages a mirrored header
/// swaps left and right alignment.
THFPlacement PlaceHeaderFooter(const THeaderFooter& hf, bool footer, const TPageFrame& frame,
                               const TPrintSettings& settings, double unitsPerMm,
                               const TMacroValues& values,
                               const std::function<double(const TFontSpec&)>& lineHeight);

}  // namespace vortan
