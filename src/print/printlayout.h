#pragma once
// Where every line of a document goes on the printed pages: the text area of each page, the
// rows that long lines wrap into, and the rows of each page. Computed from font metrics handed
// in, in the device's units, so the layout is the same for the printer, the preview and a PDF.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/printsettings.h"

namespace vortan {

/// Device facts and text-font metrics, all in device units.
struct TPrintMetrics {
  double PageWidth = 0;  ///< the whole sheet
  double PageHeight = 0;
  double UnitsPerMm = 1;  ///< device resolution
  double CharWidth = 1;   ///< advance of one character of the (fixed-pitch) text font
  double LineHeight = 1;  ///< distance between two text rows
};

/// The rectangles of one page, in device units from the sheet's top-left corner.
struct TPageFrame {
  double Left = 0, Right = 0;  ///< between the left and right margins (gutter included)
  double Top = 0, Bottom = 0;  ///< text rows go between these
  double TextLeft = 0;         ///< where a row's text starts
  double NumbersLeft = 0, NumbersRight = 0;  ///< the line-number column (numbers right-aligned)
  double HeaderTop = 0, HeaderBottom = 0;    ///< the band above the text reserved for the header
  double FooterTop = 0, FooterBottom = 0;    ///< the band below the text reserved for the footer
};

/// One printed row: bytes [Start, End) of a document line (0-based line index).
struct TPrintRow {
  int32_t Line = 0;
  uint32_t Start = 0, End = 0;
  bool operator==(const TPrintRow&) const = default;
};

enum class TLayoutError {
  None,
  NoPrintableArea,  ///< the margins leave no room for one character or one row
};

struct TPagination {
  TLayoutError Error = TLayoutError::None;
  TPageFrame OddFrame, EvenFrame;  ///< pages 1, 3, ... and 2, 4, ... (differ with mirrored margins)
  int RowsPerPage = 0;
  int CharsPerRow = 0;   ///< 0 when lines are not wrapped
  int NumberDigits = 0;  ///< width of the line-number column in characters (0: none)
  std::vector<TPrintRow> Rows;
  std::vector<std::size_t> PageStarts;  ///< index of each page's first row

  /// Always at least 1 when there is no error: an empty document prints one empty page.
  int PageCount() const { return static_cast<int>(PageStarts.size()); }
  /// Rows [first, last) of a page numbered from 1.
  std::pair<std::size_t, std::size_t> PageRows(int page) const;
  const TPageFrame& Frame(int page) const { return page % 2 == 0 ? EvenFrame : OddFrame; }
  /// Whether a row begins its line (and so carries its line number).
  bool StartsLine(std::size_t row) const { return Rows[row].Start == 0; }
};

/// Lays out the lines (bytes, without breaks). Tabs advance to the next multiple of
/// `tabWidth` columns counted from the row's start. With wrapping, a row breaks after its last
/// blank when it has one, else at the last column that fits.
TPagination Paginate(const std::vector<std::string>& lines, const TPrintSettings& settings,
                     const TPrintMetrics& metrics, int tabWidth);

/// The columns that bytes [start, end) of a line take, tabs expanded from the row's start.
int RowColumns(const std::string& line, std::size_t start, std::size_t end, int tabWidth);

}  // namespace vortan
