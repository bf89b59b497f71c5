#include "editor/ui/editortext.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>
#include <utility>

#include "editor/ui/scicall.h"

namespace vortan {

namespace {
using B = QsciScintillaBase;
}  // namespace

std::string TEditorText::Utf8(std::string_view bytes) const {
  return platform::BytesToUtf8(codePage_, bytes);
}

std::string TEditorText::Bytes() const {
  const long length = Sci(&control_, B::SCI_GETLENGTH);
  const char* text = reinterpret_cast<const char*>(Sci(&control_, B::SCI_GETCHARACTERPOINTER));
  if (!text || length <= 0) return {};
  return platform::Utf8ToBytes(codePage_, std::string_view(text, static_cast<std::size_t>(length)));
}

std::string TEditorText::ControlText() const {
  const long length = Sci(&control_, B::SCI_GETLENGTH);
  const char* text = reinterpret_cast<const char*>(Sci(&control_, B::SCI_GETCHARACTERPOINTER));
  if (!text || length <= 0) return {};
  return std::string(text, static_cast<std::size_t>(length));
}

std::string TEditorText::LineBytes(int line) const {
  if (line < 1 || line > Sci(&control_, B::SCI_GETLINECOUNT)) return {};
  const long start = Sci(&control_, B::SCI_POSITIONFROMLINE, line - 1);
  const long end = Sci(&control_, B::SCI_GETLINEENDPOSITION, line - 1);
  if (end <= start) return {};
  const char* text =
      reinterpret_cast<const char*>(Sci(&control_, B::SCI_GETRANGEPOINTER, start, end - start));
  return platform::Utf8ToBytes(codePage_,
                               std::string_view(text, static_cast<std::size_t>(end - start)));
}

std::string TEditorText::SelectedBytes() const {
  // Scintilla joins the lines of a column block with line breaks here.
  const long size = SciPtr(&control_, B::SCI_GETSELTEXT, 0, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  SciPtr(&control_, B::SCI_GETSELTEXT, 0, utf8.data());
  while (!utf8.empty() && utf8.back() == '\0') utf8.pop_back();
  return platform::Utf8ToBytes(codePage_, utf8);
}

void TEditorText::ShowThrough(platform::TCodePage page) {
  const platform::TCodePage old = std::exchange(codePage_, page);
  if (old == page) return;
  // Only lines with characters beyond ASCII show differently; replacing just those keeps
  // every line, and with it the bookmarks and marks.
  const long lines = Sci(&control_, B::SCI_GETLINECOUNT);
  for (long line = 0; line < lines; ++line) {
    const long start = Sci(&control_, B::SCI_POSITIONFROMLINE, line);
    const long end = Sci(&control_, B::SCI_GETLINEENDPOSITION, line);
    if (end <= start) continue;
    const char* text =
        reinterpret_cast<const char*>(Sci(&control_, B::SCI_GETRANGEPOINTER, start, end - start));
    const std::string_view utf8(text, static_cast<std::size_t>(end - start));
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      continue;
    const std::string shown = platform::BytesToUtf8(page, platform::Utf8ToBytes(old, utf8));
    Sci(&control_, B::SCI_SETTARGETRANGE, start, end);
    SciPtr(&control_, B::SCI_REPLACETARGET, static_cast<long>(shown.size()), shown.data());
  }
}

long TEditorText::BytePosition(int line, std::string_view lineBytes, int byte) const {
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(byte, 0)), lineBytes.size());
  return Sci(&control_, B::SCI_POSITIONFROMLINE, line) +
         static_cast<long>(platform::Utf8Length(codePage_, lineBytes.substr(0, n)));
}

TTextPoint TEditorText::PointOf(long position) const {
  const long line = Sci(&control_, B::SCI_LINEFROMPOSITION, position);
  const long offset = position - Sci(&control_, B::SCI_POSITIONFROMLINE, line);
  const std::string bytes = LineBytes(static_cast<int>(line) + 1);
  return {static_cast<int>(line), static_cast<int>(platform::ByteOffsetOfUtf8(
                                      codePage_, bytes, static_cast<std::size_t>(offset)))};
}

TTextPoint TEditorText::CaretPoint() const { return PointOf(Sci(&control_, B::SCI_GETCURRENTPOS)); }

TSelectionInfo TEditorText::SelectionInfo(bool lineMode) const {
  TSelectionInfo info;
  if (Sci(&control_, B::SCI_GETSELECTIONEMPTY) != 0) return info;
  info.Present = true;
  if (Sci(&control_, B::SCI_SELECTIONISRECTANGLE)) {
    info.Kind = TSelectionKind::Column;
    std::vector<std::pair<int, std::pair<int, int>>> rows;
    const long count = Sci(&control_, B::SCI_GETSELECTIONS);
    for (long i = 0; i < count; ++i) {
      const TTextPoint a = PointOf(Sci(&control_, B::SCI_GETSELECTIONNSTART, i));
      const TTextPoint b = PointOf(Sci(&control_, B::SCI_GETSELECTIONNEND, i));
      rows.push_back({a.Line, {a.Byte, b.Byte}});
    }
    std::sort(rows.begin(), rows.end());
    info.Start = {rows.front().first, rows.front().second.first};
    info.End = {rows.back().first, rows.back().second.second};
    // One range per line from the first to the last, so that index i is line Start.Line + i.
    for (int line = info.Start.Line, k = 0; line <= info.End.Line; ++line) {
      if (k < static_cast<int>(rows.size()) && rows[k].first == line)
        info.Columns.push_back(rows[k++].second);
      else
        info.Columns.push_back({0, 0});
    }
    return info;
  }
  info.Kind = lineMode ? TSelectionKind::Lines : TSelectionKind::Stream;
  info.Start = PointOf(Sci(&control_, B::SCI_GETSELECTIONSTART));
  info.End = PointOf(Sci(&control_, B::SCI_GETSELECTIONEND));
  return info;
}

std::optional<TEditorText::TReplacement> TEditorText::LinesReplacement(
    int first, const std::vector<std::string>& lines) const {
  const long count = static_cast<long>(lines.size());
  if (count == 0 || first < 0 || first + count > Sci(&control_, B::SCI_GETLINECOUNT)) return {};
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
  }
  std::string utf8 = platform::BytesToUtf8(codePage_, joined);
  const long start = Sci(&control_, B::SCI_POSITIONFROMLINE, first);
  const long end = Sci(&control_, B::SCI_GETLINEENDPOSITION, first + count - 1);
  const std::string_view old(
      reinterpret_cast<const char*>(Sci(&control_, B::SCI_GETRANGEPOINTER, start, end - start)),
      static_cast<std::size_t>(end - start));
  auto inside = [](std::string_view s, std::size_t i) {
    return i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80;
  };
  const std::size_t shorter = std::min(old.size(), utf8.size());
  std::size_t prefix = 0;
  while (prefix < shorter && old[prefix] == utf8[prefix]) ++prefix;
  while (prefix > 0 && (inside(old, prefix) || inside(utf8, prefix))) --prefix;
  if (prefix == old.size() && prefix == utf8.size()) return {};
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         old[old.size() - 1 - suffix] == utf8[utf8.size() - 1 - suffix])
    ++suffix;
  while (suffix > 0 && (inside(old, old.size() - suffix) || inside(utf8, utf8.size() - suffix)))
    --suffix;
  TReplacement r;
  r.Start = start + static_cast<long>(prefix);
  r.End = end - static_cast<long>(suffix);
  r.Utf8 = utf8.substr(prefix, utf8.size() - prefix - suffix);
  return r;
}

bool TEditorText::Accepts(const QString& text) const {
  for (char32_t ch : text.toUcs4())
    if (!platform::FromUnicode(codePage_, ch)) return false;
  return true;
}

QString TEditorText::ThroughPage(const QString& text) const {
  std::string bytes = platform::Utf8ToBytes(codePage_, text.toStdString());
  std::replace(bytes.begin(), bytes.end(), '\0', '\n');
  return QString::fromStdString(platform::BytesToUtf8(codePage_, bytes));
}

}  // namespace vortan
