#include "symbols/symboltip.h"

#include <vector>

#include "platform/text.h"
#include "platform/textlines.h"

namespace vortan {
namespace {

// Lines of a tip's description at most: a tip is no page of documentation.
constexpr std::size_t kMaxLines = 16;

bool IsComment(std::string_view l) {
  return !l.empty() && (l[0] == 'C' || l[0] == 'c' || l[0] == '*' || l[0] == '!');
}

// The comment's words: the marker ("*>", "*", "C") and the documentation tags dropped.
std::string CommentWords(std::string_view l) {
  l.remove_prefix(1);
  if (!l.empty() && l[0] == '>') l.remove_prefix(1);
  std::string_view t = Trim(l);
  if (t == "\\verbatim" || t == "\\endverbatim" ||
      t.find_first_not_of("=-") == std::string_view::npos)
    return {};
  if (t.rfind("\\par ", 0) == 0) t.remove_prefix(5);
  return std::string(t);
}

// The description in the comment lines [first, last] (0-based): the Purpose section when
// there is one, else every comment line.
std::vector<std::string> Description(const std::vector<std::string_view>& lines, int first,
                                     int last) {
  std::vector<std::string> out;
  int from = first;
  bool purpose = false;
  for (int i = first; i <= last; ++i)
    if (UpperAscii(lines[std::size_t(i)]).find("PURPOSE") != std::string::npos) {
      from = i + 1;
      purpose = true;
      break;
    }
  for (int i = from; i <= last && out.size() < kMaxLines; ++i) {
    const std::string_view l = lines[std::size_t(i)];
    if (!IsComment(l)) break;
    if (purpose && (l.find("\\endverbatim") != std::string_view::npos ||
                    UpperAscii(l).find("ARGUMENTS") != std::string_view::npos))
      break;
    std::string w = CommentWords(l);
    if (w.empty() && (out.empty() || out.back().empty())) continue;
    out.push_back(std::move(w));
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

}  // namespace

std::string UnitHoverTip(const TSymbolIndex& index, std::string_view word) {
  const std::string name = UpperAscii(Trim(word));
  std::string file;
  const TUnitSymbol* unit = nullptr;
  index.ForEachUnit([&](const std::string& path, const TUnitSymbol& u) {
    if (!unit && u.Name == name) {
      unit = &u;
      file = path;
    }
  });
  if (!unit) return {};
  const std::string text = index.FileText(file);
  std::vector<std::string_view> lines;
  TTextLines reader(text);
  for (std::string_view l; reader.Next(l);) {
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    lines.push_back(l);
  }
  const int header = unit->Pos.Line - 1, headerLast = unit->HeaderLastLine - 1;
  if (header < 0 || headerLast >= static_cast<int>(lines.size())) return {};
  std::string tip;
  for (int i = header; i <= headerLast; ++i) {
    if (IsComment(lines[std::size_t(i)])) continue;
    std::string_view l = lines[std::size_t(i)];
    // A continuation line's marker column goes; the statement reads on.
    l = l.size() > 6 ? l.substr(6) : std::string_view();
    if (l.size() > 66) l = l.substr(0, 66);
    tip += (tip.empty() ? "" : " ") + std::string(Trim(l));
  }
  std::vector<std::string> about;
  if (unit->CommentFirstLine > 0)
    about = Description(lines, unit->CommentFirstLine - 1, header - 1);
  if (about.empty()) {
    // Older sources (BLAS) describe the unit right below its header.
    int first = headerLast + 1, last = first;
    while (last < static_cast<int>(lines.size()) &&
           (IsComment(lines[std::size_t(last)]) || Trim(lines[std::size_t(last)]).empty()))
      ++last;
    if (last > first) about = Description(lines, first, last - 1);
  }
  if (!about.empty()) tip += "\n";
  for (const std::string& l : about) tip += "\n" + l;
  return tip;
}

}  // namespace vortan
