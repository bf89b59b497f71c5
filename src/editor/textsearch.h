#pragma once
// Find and replace over a document's bytes, line by line. The text control supplies the
// lines and carries out selections and replacements; everything else (where to look, in
// which order, what counts as a match, when to ask and when to stop, what forms one undo
// step) is decided here.
//
// Letters: case-insensitive matching and the whole-word test look at the characters as the
// document shows them, that is through its own code page. An OEM document (code page 850)
// therefore has the OEM page's letters: its byte 0x82 is a lower-case e with acute accent
// and matches 0x90, its upper-case partner. The case rules themselves are those used for
// the ANSI page (the same Latin letters), so both pages agree on every letter they share.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/codepage.h"

namespace vortan {

struct TSearchOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool Backwards = false;
  bool EntireScope = false;   ///< otherwise from the caret
  bool SelectedOnly = false;  ///< otherwise the whole text
  bool Replace = false;
  bool ReplaceAll = false;
  bool Prompt = false;
  bool operator==(const TSearchOptions&) const = default;
};

/// The last search of the run, repeated by Search Again.
struct TLastSearch {
  std::string SearchText;
  std::string ReplaceText;
  TSearchOptions Options;
};

/// A place in the document: 0-based line and byte offset within that line's bytes.
struct TTextPoint {
  int Line = 0;
  int Byte = 0;
  bool operator==(const TTextPoint&) const = default;
};

/// Where a search looks. `End` is exclusive and may lie beyond its line's end (then the
/// whole line counts). For a column block `Columns[i]` is the byte range of line
/// `Start.Line + i`, and Start/End only give the first and the last line.
struct TSearchRegion {
  TTextPoint Start;
  TTextPoint End;
  std::vector<std::pair<int, int>> Columns;
};

/// The selection as the search needs it.
enum class TSelectionKind { Stream, Lines, Column };
struct TSelectionInfo {
  bool Present = false;
  TSelectionKind Kind = TSelectionKind::Stream;
  TTextPoint Start, End;                     ///< Start before End
  std::vector<std::pair<int, int>> Columns;  ///< a column block's byte range per line
};

/// The region the options ask for: the selection (whole lines, or a column block) with
/// Selected only and a selection present; otherwise the whole text, cut at the caret
/// (the region starts there, or ends there backwards) unless Entire scope is set.
TSearchRegion SearchRegion(const TSearchOptions& options, int lineCount, TTextPoint caret,
                           const TSelectionInfo& selection);

/// What the user answered to "replace this occurrence?".
enum class TReplaceAnswer { Yes, No, YesToAll, Cancel };
using TReplacePrompt = std::function<TReplaceAnswer()>;

/// The document as the search works on it.
class TSearchDocument {
 public:
  virtual ~TSearchDocument() = default;
  virtual int LineCount() const = 0;
  /// 0-based, without the break.
  virtual std::string LineBytes(int line) const = 0;
  /// Selects bytes [start, end) of the line with the caret at `end`, or at `start` when
  /// `caretAtStart`, and scrolls it into view.
  virtual void Select(int line, int start, int end, bool caretAtStart) = 0;
  /// Replaces bytes [start, end) of the line; `with` holds no line break.
  virtual void ReplaceBytes(int line, int start, int end, std::string_view with) = 0;
  /// Everything between the two calls is undone in one step.
  virtual void BeginUndoStep() = 0;
  virtual void EndUndoStep() = 0;
  /// The first line from `line` on (backwards: the last from `line` back) that may hold
  /// `search`, compared with or without regard to case; the lines passed over hold none of
  /// it. -1 when no line there does. A document that cannot tell offers every line.
  virtual int NextLineWith(int line, std::string_view search, bool matchCase, bool backwards) {
    (void)search, (void)matchCase, (void)backwards;
    return line;
  }
};

/// The occurrence in bytes [from, to) of the line: the leftmost, or the rightmost when
/// `backwards`. Whole word: the characters just before and after it on the line, where
/// they exist, are neither letters nor digits nor "_".
std::optional<int> FindInLine(std::string_view line, int from, int to, std::string_view search,
                              bool matchCase, bool wholeWord, bool backwards,
                              platform::TCodePage page);

/// Searches the region and, with Replace or Replace all, replaces. Returns the number of
/// occurrences found (0 for an empty search text). Without Replace all it stops after the
/// first occurrence; the prompt is asked before each replacement when Prompt is set (Cancel
/// stops at once, No skips, Yes to All replaces the rest without asking). A Replace all
/// without prompting is one undo step, and so is everything replaced after Yes to All.
/// The last occurrence handled is left selected (replaced: its replacement).
int SearchReplace(TSearchDocument& document, const TSearchRegion& region, std::string_view search,
                  std::string_view replacement, const TSearchOptions& options,
                  platform::TCodePage page, const TReplacePrompt& prompt);

/// The Find and Replace dialogs' presets from the editor.
struct TSearchPreset {
  std::string Text;
  bool SelectedText = false;  ///< scope "Selected text", else "Global"
};
/// A selection within one line proposes its text; otherwise the word at the caret (empty
/// when the caret is not on a word) is proposed. Any selection proposes the scope Selected
/// text. `caretLine` holds the caret's line bytes and `caretByte` its offset there.
TSearchPreset SearchPreset(bool hasSelection, bool selectionInOneLine,
                           const std::string& selectedText, std::string_view caretLine,
                           int caretByte);

}  // namespace vortan
