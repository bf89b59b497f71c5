#pragma once
// One line of fixed-form source as its columns make it: a comment, a statement's first line or
// a continuation line; the label in columns 1-5, the mark in column 6 and the statement text
// from column 7 to column 72.

#include <string>
#include <string_view>

namespace vortan {

enum class TFixedLineKind { Blank, Comment, Initial, Continuation };

struct TFixedFormLine {
  /// The last column the compiler reads; text after it is ignored.
  static constexpr int kLastColumn = 72;
  /// 0-based byte where statement text may start (column 7).
  static constexpr int kTextColumn = 6;

  TFixedLineKind Kind = TFixedLineKind::Blank;
  int Label = -1;     ///< the statement label, -1 when there is none
  int TextStart = 0;  ///< 0-based byte where the statement field starts (6, or after a tab)
  int Indent = 0;     ///< blanks between TextStart and the first character of the text
  int TextEnd = 0;    ///< 0-based end of the statement field (at most column 72)

  static TFixedFormLine Of(std::string_view line);
  bool IsCode() const {
    return Kind == TFixedLineKind::Initial || Kind == TFixedLineKind::Continuation;
  }
};

/// The line with its statement text moved to `indent` blanks after the statement field's start;
/// label, mark and text are kept. Lines that are no statement come back unchanged.
std::string WithIndent(std::string_view line, int indent);

}  // namespace vortan
