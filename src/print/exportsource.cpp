#include "print/exportsource.h"

namespace vortan {

void ForEachRun(const TExportSource& source,
                const std::function<void(int attribute, std::string_view bytes)>& run,
                const std::function<void()>& lineEnd) {
  TFortranScanner scanner;
  for (const std::string& line : *source.Lines) {
    if (!source.Attributes) {
      if (!line.empty()) run(-1, line);
      lineEnd();
      continue;
    }
    // The range carries an open string from one line into the next, as in the editor.
    scanner.SetLine(line);
    int current = -1;
    std::size_t start = 0, end = 0;
    for (; !scanner.GetEol(); scanner.Next()) {
      const int attr = TSynFortranSyn::AttributeIndexOf(scanner.GetTokenKind());
      const auto pos = static_cast<std::size_t>(scanner.GetTokenPos());
      if (attr != current && end > start) {
        run(current, std::string_view(line).substr(start, end - start));
        start = pos;
      }
      if (end == start) start = pos;
      current = attr;
      end = pos + static_cast<std::size_t>(scanner.GetTokenLen());
    }
    if (end > start) run(current, std::string_view(line).substr(start, end - start));
    lineEnd();
  }
}

long ExportColor(TColor color) {
  if (color & 0xFF000000u) return -1;
  const long r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return (r << 16) | (g << 8) | b;
}

}  // namespace vortan
