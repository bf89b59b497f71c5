#include "editor/textsearch.h"

#include <algorithm>
#include <climits>

#include "editor/fortranhighlighter.h"

namespace vortan {

namespace {

bool IsWordPart(platform::TCodePage page, unsigned char c) {
  return c == '_' || platform::IsLetterOrDigit(page, c);
}

std::string Lowered(platform::TCodePage page, std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out)
    c = static_cast<char>(platform::LowerByte(page, static_cast<unsigned char>(c)));
  return out;
}

bool IsWhole(std::string_view line, std::size_t at, std::size_t length, platform::TCodePage page) {
  if (at > 0 && IsWordPart(page, static_cast<unsigned char>(line[at - 1]))) return false;
  const std::size_t after = at + length;
  return after >= line.size() || !IsWordPart(page, static_cast<unsigned char>(line[after]));
}

// FindInLine on a line already lowered when the case does not matter; `original` is the
// line itself, for the whole-word test.
std::optional<int> FindIn(std::string_view hay, std::string_view original, int from, int to,
                          std::string_view needle, bool wholeWord, bool backwards,
                          platform::TCodePage page) {
  const int size = static_cast<int>(hay.size());
  from = std::clamp(from, 0, size);
  to = std::clamp(to, 0, size);
  const int n = static_cast<int>(needle.size());
  if (n == 0 || to - from < n) return std::nullopt;
  if (!backwards) {
    for (std::size_t pos = hay.find(needle, static_cast<std::size_t>(from));
         pos != std::string_view::npos && static_cast<int>(pos) + n <= to;
         pos = hay.find(needle, pos + 1))
      if (!wholeWord || IsWhole(original, pos, needle.size(), page)) return static_cast<int>(pos);
    return std::nullopt;
  }
  for (std::size_t pos = static_cast<std::size_t>(to - n);; --pos) {
    pos = hay.rfind(needle, pos);
    if (pos == std::string_view::npos || static_cast<int>(pos) < from) break;
    if (!wholeWord || IsWhole(original, pos, needle.size(), page)) return static_cast<int>(pos);
    if (pos == 0) break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> FindInLine(std::string_view line, int from, int to, std::string_view search,
                              bool matchCase, bool wholeWord, bool backwards,
                              platform::TCodePage page) {
  if (matchCase) return FindIn(line, line, from, to, search, wholeWord, backwards, page);
  const std::string hay = Lowered(page, line), needle = Lowered(page, search);
  return FindIn(hay, line, from, to, needle, wholeWord, backwards, page);
}

TSearchRegion SearchRegion(const TSearchOptions& options, int lineCount, TTextPoint caret,
                           const TSelectionInfo& selection) {
  TSearchRegion r;
  const int lastLine = std::max(lineCount - 1, 0);
  if (options.SelectedOnly && selection.Present) {
    r.Start = selection.Start;
    r.End = selection.End;
    switch (selection.Kind) {
      case TSelectionKind::Stream:
        break;
      case TSelectionKind::Lines:
        // Whole lines: a selection that ends at the start of a line stops at the line before.
        if (r.End.Byte == 0 && r.End.Line > r.Start.Line) --r.End.Line;
        r.Start.Byte = 0;
        r.End.Byte = INT_MAX;
        break;
      case TSelectionKind::Column:
        r.Columns = selection.Columns;
        break;
    }
    return r;
  }
  r.Start = {0, 0};
  r.End = {lastLine, INT_MAX};
  if (!options.EntireScope) {
    const TTextPoint at{std::clamp(caret.Line, 0, lastLine), std::max(caret.Byte, 0)};
    if (options.Backwards)
      r.End = at;
    else
      r.Start = at;
  }
  return r;
}

int SearchReplace(TSearchDocument& document, const TSearchRegion& region, std::string_view search,
                  std::string_view replacement, const TSearchOptions& options,
                  platform::TCodePage page, const TReplacePrompt& prompt) {
  if (search.empty()) return 0;
  const bool replace = options.Replace || options.ReplaceAll;
  bool replaceAll = options.ReplaceAll;
  bool ask = replace && options.Prompt && prompt;
  // One undo step holds every replacement made without asking in a Replace all.
  bool grouped = false;
  if (replaceAll && !ask) {
    document.BeginUndoStep();
    grouped = true;
  }
  const std::string needle = options.MatchCase ? std::string(search) : Lowered(page, search);
  const int length = static_cast<int>(search.size());
  const int with = static_cast<int>(replacement.size());

  int found = 0;
  struct {
    bool Set = false;
    int Line = 0, Start = 0, End = 0;
  } last;
  bool stop = false;

  const int lines = document.LineCount();
  const int first = std::max(region.Start.Line, 0);
  const int lastLine = std::min(region.End.Line, lines - 1);
  for (int i = 0; i <= lastLine - first && !stop; ++i) {
    int line = options.Backwards ? lastLine - i : first + i;
    // Lines that cannot hold the search text are passed over unread.
    int next = document.NextLineWith(line, search, options.MatchCase, options.Backwards);
    if (next < 0 || next < first || next > lastLine) break;
    if (options.Backwards ? next > line : next < line) next = line;  // never back over a line
    i += options.Backwards ? line - next : next - line;
    line = next;
    std::string text = document.LineBytes(line);
    int from = 0, to = static_cast<int>(text.size());
    if (!region.Columns.empty()) {
      const std::size_t k = static_cast<std::size_t>(line - region.Start.Line);
      if (k >= region.Columns.size()) continue;
      from = region.Columns[k].first;
      to = std::min(region.Columns[k].second, to);
    } else {
      if (line == region.Start.Line) from = region.Start.Byte;
      if (line == region.End.Line) to = std::min(region.End.Byte, to);
    }
    if (from > to) continue;
    std::string hay = options.MatchCase ? std::string() : Lowered(page, text);
    while (!stop) {
      const std::optional<int> at =
          FindIn(options.MatchCase ? std::string_view(text) : std::string_view(hay), text, from, to,
                 needle, options.WholeWord, options.Backwards, page);
      if (!at) break;
      ++found;
      const int start = *at, end = start + length;
      if (!replace) {
        last = {true, line, start, end};
        stop = true;
        break;
      }
      TReplaceAnswer answer = TReplaceAnswer::Yes;
      if (ask) {
        document.Select(line, start, end, options.Backwards);
        answer = prompt();
      }
      if (answer == TReplaceAnswer::Cancel) {
        last = {};  // the prompt left the occurrence selected
        stop = true;
        break;
      }
      if (answer == TReplaceAnswer::YesToAll) {
        ask = false;
        replaceAll = true;
        document.BeginUndoStep();
        grouped = true;
      }
      int next = end;  // where the search goes on: after the occurrence, or before it backwards
      if (answer == TReplaceAnswer::No) {
        last = {true, line, start, end};
      } else {
        const bool own = !grouped;
        if (own) document.BeginUndoStep();
        document.ReplaceBytes(line, start, end, replacement);
        if (own) document.EndUndoStep();
        text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length),
                     replacement);
        if (!options.MatchCase)
          hay.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length),
                      Lowered(page, replacement));
        to += with - length;
        next = start + with;
        last = {true, line, start, next};
      }
      if (!replaceAll) {
        stop = true;
        break;
      }
      if (options.Backwards)
        to = start;
      else
        from = next;
    }
  }
  if (grouped) document.EndUndoStep();
  if (last.Set) document.Select(last.Line, last.Start, last.End, options.Backwards);
  return found;
}

TSearchPreset SearchPreset(bool hasSelection, bool selectionInOneLine,
                           const std::string& selectedText, std::string_view caretLine,
                           int caretByte) {
  TSearchPreset p;
  p.SelectedText = hasSelection;
  if (hasSelection && selectionInOneLine) {
    p.Text = selectedText;
    return p;
  }
  const int size = static_cast<int>(caretLine.size());
  int start = std::clamp(caretByte, 0, size), end = start;
  auto word = [&](int i) {
    return TSynFortranSyn::IsWordChar(static_cast<unsigned char>(caretLine[i]));
  };
  while (start > 0 && word(start - 1)) --start;
  while (end < size && word(end)) ++end;
  p.Text = std::string(
      caretLine.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
  return p;
}

}  // namespace vortan
