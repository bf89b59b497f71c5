#pragma once
// The edits that keep fixed-form source in its columns while the user types: where Return puts
// the next line, breaking a statement into a continuation line, wrapping at column 72 and
// typing into the label field. Each takes the lines around the caret as bytes and returns the
// new lines; the text control applies them. Nothing here may change what the compiler reads
// except the text the user moves on purpose.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortan {

struct TFixedFormOptions {
  int IndentStep = 3;             ///< blanks a block adds
  char ContinuationMark = '&';    ///< written in column 6 of a new continuation line
  bool ContinueComments = false;  ///< Return on a comment line starts another comment line
};

/// What Return does at the end of the head of a line (the part before the caret).
struct TReturnPlan {
  bool Plain = true;  ///< a plain line break: the caret is in the label field or past column 72
  std::optional<std::string> Head;  ///< the head re-indented (a block's closing line)
  std::string Prefix;               ///< what the new line starts with
};

/// Two lines in place of one: the first kept, the second a continuation line; `Caret` is the
/// 0-based byte of the second line that the old caret position maps to.
struct TLineSplit {
  std::string First, Second;
  int SecondTextStart = 0;  ///< where the moved text starts in the second line
};

class TFixedFormEdits {
 public:
  /// `lines` are the lines of the unit up to and including the caret's line, whose text is cut
  /// at the caret (the head). `line` is its index in `lines`.
  static TReturnPlan PlanReturn(const std::vector<std::string_view>& lines, int line,
                                const TFixedFormOptions& options);
  /// Breaks line `line` of `lines` at byte `pos` into a continuation line. A break inside a
  /// character constant would add blanks to it, so the break moves before the constant; none
  /// when the constant starts the line or the caret is not in the statement field.
  static std::optional<TLineSplit> BreakLine(const std::vector<std::string_view>& lines, int line,
                                             int pos, const TFixedFormOptions& options);
  /// When the statement line `line` reaches past column 72, moves the word crossing it to a new
  /// continuation line; a character constant crossing it is split exactly at column 72 and
  /// continues in column 7, as the compiler reads it. None when nothing reaches past 72.
  static std::optional<TLineSplit> WrapLine(const std::vector<std::string_view>& lines, int line,
                                            const TFixedFormOptions& options);
  /// Whether byte `pos` of line `line` lies inside a character constant of its statement.
  static bool InString(const std::vector<std::string_view>& lines, int line, int pos,
                       int* quoteStart);
  /// Typing a digit at byte `pos` (0..4) of a statement line writes it into the label field
  /// over a blank instead of pushing the statement right. None when the rule does not apply.
  static std::optional<std::string> TypeLabelDigit(std::string_view line, int pos, char digit);
  /// Tab in columns 1-6 of a statement line goes to column 7: the line padded with blanks to
  /// reach it. None on comment and continuation lines and from column 7 on.
  static std::optional<std::string> PadToStatementField(std::string_view line, int pos);
};

}  // namespace vortan
