#include "editor/fixedformline.h"

#include <algorithm>

namespace vortan {

TFixedFormLine TFixedFormLine::Of(std::string_view line) {
  TFixedFormLine r;
  const auto n = line.size();
  const auto first = line.find_first_not_of(" \r\n");
  if (first == std::string_view::npos) return r;
  const char c0 = line[0];
  if (c0 == 'C' || c0 == 'c' || c0 == '*' || c0 == '!' ||
      (line[first] == '!' && first != static_cast<std::size_t>(kTextColumn - 1))) {
    r.Kind = TFixedLineKind::Comment;
    return r;
  }
  // A tab in the label field starts the statement field (the tab form most compilers take):
  // a digit right after it marks a continuation.
  std::size_t tab = std::string_view::npos;
  for (std::size_t i = 0; i < std::min<std::size_t>(n, kTextColumn); ++i) {
    if (line[i] == '\t') {
      tab = i;
      break;
    }
    if (line[i] != ' ' && (line[i] < '0' || line[i] > '9')) break;
  }
  std::size_t labelEnd = kTextColumn - 1;
  if (tab != std::string_view::npos) {
    labelEnd = tab;
    const bool cont = tab + 1 < n && line[tab + 1] >= '1' && line[tab + 1] <= '9';
    r.Kind = cont ? TFixedLineKind::Continuation : TFixedLineKind::Initial;
    r.TextStart = static_cast<int>(tab + (cont ? 2 : 1));
  } else {
    const bool cont = n > kTextColumn - 1 && line[kTextColumn - 1] != ' ' &&
                      line[kTextColumn - 1] != '0' && line[kTextColumn - 1] != '\r';
    r.Kind = cont ? TFixedLineKind::Continuation : TFixedLineKind::Initial;
    r.TextStart = kTextColumn;
  }
  int label = 0;
  bool digits = false;
  for (std::size_t i = 0; i < std::min(labelEnd, n); ++i) {
    if (line[i] >= '0' && line[i] <= '9') {
      label = label * 10 + (line[i] - '0');
      digits = true;
    }
  }
  if (digits && r.Kind == TFixedLineKind::Initial) r.Label = label;
  r.TextEnd = static_cast<int>(std::min<std::size_t>(n, kLastColumn));
  while (r.TextEnd > r.TextStart && (line[static_cast<std::size_t>(r.TextEnd - 1)] == '\r' ||
                                     line[static_cast<std::size_t>(r.TextEnd - 1)] == '\n'))
    --r.TextEnd;
  r.TextStart = std::min(r.TextStart, std::max(r.TextEnd, 0));
  int i = r.TextStart;
  while (i < r.TextEnd && line[static_cast<std::size_t>(i)] == ' ') ++i;
  r.Indent = i < r.TextEnd ? i - r.TextStart : 0;
  return r;
}

std::string WithIndent(std::string_view line, int indent) {
  const TFixedFormLine info = TFixedFormLine::Of(line);
  if (!info.IsCode()) return std::string(line);
  std::string out(line.substr(0, static_cast<std::size_t>(info.TextStart)));
  // A short line with a label only still gets its statement field up to column 6.
  if (out.size() < static_cast<std::size_t>(info.TextStart)) out.resize(info.TextStart, ' ');
  std::size_t text = static_cast<std::size_t>(info.TextStart);
  while (text < line.size() && line[text] == ' ') ++text;
  if (text >= line.size()) return std::string(line);
  out.append(static_cast<std::size_t>(std::max(indent, 0)), ' ');
  out.append(line.substr(text));
  return out;
}

}  // namespace vortan
