#include "print/printlayout.h"

#include <algorithm>
#include <cmath>

namespace vortan {

namespace {

int Digits(std::size_t n) {
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

// Negative margins (only a damaged store holds them) count as none.
double Mm(const TPrintSettings& s, double margin, const TPrintMetrics& m) {
  return std::max(0.0, s.ToMillimeters(margin)) * m.UnitsPerMm;
}

TPageFrame FrameOf(const TPrintSettings& s, const TPrintMetrics& m, bool evenPage, int digits) {
  double left = Mm(s, s.Left, m), right = Mm(s, s.Right, m);
  const double gutter = Mm(s, s.Gutter, m);
  if (s.MirrorMargins && evenPage) {
    // The binding edge is on the right of an even page.
    std::swap(left, right);
    right += gutter;
  } else {
    left += gutter;
  }
  TPageFrame f;
  f.Left = left;
  f.Right = m.PageWidth - right;
  f.Top = Mm(s, s.Top, m);
  f.Bottom = m.PageHeight - Mm(s, s.Bottom, m);
  // The header band sits right above the text area, the footer band right below it; neither
  // leaves the sheet.
  f.HeaderBottom = f.Top;
  f.HeaderTop = std::max(0.0, f.Top - Mm(s, s.Header, m));
  f.FooterTop = f.Bottom;
  f.FooterBottom = std::min(m.PageHeight, f.Bottom + Mm(s, s.Footer, m));
  const double numbers = digits > 0 ? digits * m.CharWidth : 0.0;
  const double gap = digits > 0 ? m.CharWidth : 0.0;
  if (digits > 0 && s.LineNumbersInMargin) {
    f.NumbersRight = f.Left - gap;
    f.NumbersLeft = std::max(0.0, f.NumbersRight - numbers);
    f.TextLeft = f.Left;
  } else {
    f.NumbersLeft = f.Left;
    f.NumbersRight = f.Left + numbers;
    f.TextLeft = f.Left + numbers + gap;
  }
  return f;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// End of the row that starts at `start`: as many bytes as fit in `width` columns, broken after
// the last blank of the row when there is one. Always at least one byte, so it always ends.
std::size_t RowEnd(const std::string& line, std::size_t start, int width, int tabWidth) {
  int col = 0;
  std::size_t i = start;
  std::size_t afterBlank = 0;  // after a blank that follows some text of this row
  bool text = false;
  for (; i < line.size(); ++i) {
    const int next = line[i] == '\t' ? (col / tabWidth + 1) * tabWidth : col + 1;
    if (next > width) break;
    col = next;
    if (!IsBlank(line[i]))
      text = true;
    else if (text)
      afterBlank = i + 1;
  }
  if (i >= line.size()) return line.size();
  if (i == start) return start + 1;  // a tab wider than the row
  // Blanks at the break fit on this row even past its width: they print as nothing.
  if (IsBlank(line[i])) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    return i;
  }
  return afterBlank > start ? afterBlank : i;
}

}  // namespace

int RowColumns(const std::string& line, std::size_t start, std::size_t end, int tabWidth) {
  int col = 0;
  for (std::size_t i = start; i < end && i < line.size(); ++i)
    col = line[i] == '\t' ? (col / tabWidth + 1) * tabWidth : col + 1;
  return col;
}

std::pair<std::size_t, std::size_t> TPagination::PageRows(int page) const {
  if (page < 1 || page > PageCount()) return {0, 0};
  const std::size_t first = PageStarts[static_cast<std::size_t>(page - 1)];
  const std::size_t last =
      page < PageCount() ? PageStarts[static_cast<std::size_t>(page)] : Rows.size();
  return {first, last};
}

TPagination Paginate(const std::vector<std::string>& lines, const TPrintSettings& settings,
                     const TPrintMetrics& metrics, int tabWidth) {
  TPagination p;
  tabWidth = std::max(1, tabWidth);
  p.NumberDigits = settings.LineNumbers ? Digits(std::max<std::size_t>(lines.size(), 1)) : 0;
  p.OddFrame = FrameOf(settings, metrics, false, p.NumberDigits);
  p.EvenFrame = FrameOf(settings, metrics, true, p.NumberDigits);

  const double height = p.OddFrame.Bottom - p.OddFrame.Top;
  const double width =
      std::min(p.OddFrame.Right - p.OddFrame.TextLeft, p.EvenFrame.Right - p.EvenFrame.TextLeft);
  const double eps = 1e-9;
  if (metrics.CharWidth <= 0 || metrics.LineHeight <= 0 || width + eps < metrics.CharWidth ||
      height + eps < metrics.LineHeight) {
    p.Error = TLayoutError::NoPrintableArea;
    return p;
  }
  p.RowsPerPage = static_cast<int>(std::floor(height / metrics.LineHeight + eps));
  const int chars = static_cast<int>(std::floor(width / metrics.CharWidth + eps));
  p.CharsPerRow = settings.WrapLines ? chars : 0;

  p.Rows.reserve(lines.size());
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const std::string& line = lines[l];
    const auto index = static_cast<int32_t>(l);
    if (!settings.WrapLines || line.empty()) {
      p.Rows.push_back({index, 0, static_cast<uint32_t>(line.size())});
      continue;
    }
    std::size_t start = 0;
    while (start < line.size()) {
      const std::size_t end = RowEnd(line, start, chars, tabWidth);
      p.Rows.push_back({index, static_cast<uint32_t>(start), static_cast<uint32_t>(end)});
      start = end;
    }
  }
  const auto perPage = static_cast<std::size_t>(p.RowsPerPage);
  for (std::size_t r = 0; r < p.Rows.size() || r == 0; r += perPage) p.PageStarts.push_back(r);
  return p;
}

}  // namespace vortan
