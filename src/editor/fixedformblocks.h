#pragma once
// The block structure of fixed-form source: its statements (continuation lines joined) and
// which of them open, continue and close program units, DO loops and IF blocks. It gives the
// matching statements of a block, the indentation a block asks for and the fold level of every
// line. One pass over the lines, no allocation per line.

#include <string_view>
#include <vector>

namespace vortan {

enum class TStatementKind : unsigned char {
  Other,
  UnitHeader,  ///< PROGRAM, SUBROUTINE, FUNCTION, BLOCK DATA
  EndUnit,     ///< END (of a unit)
  DoLabelled,  ///< DO 10 ..., ended by the statement labelled 10
  DoBlock,     ///< DO ... / DO WHILE ... ended by END DO
  IfThen,
  ElseIf,
  Else,
  EndIf,
  EndDo,
};

/// Kind of a statement from its text with blanks outside strings removed and letters upper
/// case; `doLabel` receives the label a DO names (-1 otherwise).
TStatementKind ClassifyStatement(std::string_view squeezed, int* doLabel);

class TFixedFormBlocks {
 public:
  /// Scintilla-style fold levels: the level in the low bits, this flag on a block's first line.
  static constexpr int kFoldHeader = 0x2000;
  static constexpr int kFoldLevelMask = 0x0FFF;

  struct TStatement {
    TStatementKind Kind = TStatementKind::Other;
    int Label = -1;
    int DoLabel = -1;
    int FirstLine = 0, LastLine = 0;
    int Opener = -1;        ///< closers, ELSE and ELSE IF: the statement opening the block
    int Next = -1;          ///< openers, ELSE and ELSE IF: the statement continuing or closing it
    bool ClosesDo = false;  ///< a labelled statement that ends one DO or more
  };

  explicit TFixedFormBlocks(const std::vector<std::string_view>& lines);

  const std::vector<TStatement>& Statements() const { return statements_; }
  /// The statement a 0-based line belongs to; -1 for comment and blank lines.
  int StatementAt(int line) const;
  /// The last statement starting at or before the line; -1 when none.
  int StatementBefore(int line) const;
  /// First lines of every statement of the block the line's statement opens, continues or
  /// closes, in order (the line's own statement included); empty when it belongs to none.
  std::vector<int> MatchingLines(int line) const;
  /// The first line of the statement whose indentation the statement follows when it closes
  /// or continues a block (END DO, END IF, ELSE, ELSE IF, a DO's terminal statement); -1
  /// otherwise. For DOs sharing a terminal statement it is the outermost DO.
  int OpenerLineOf(int statement) const;
  /// Whether statements after this one sit one step deeper than its own indentation.
  static bool Opens(TStatementKind kind);
  /// One value per line: level | kFoldHeader on lines that start a foldable block.
  const std::vector<int>& FoldLevels() const { return folds_; }

 private:
  std::vector<TStatement> statements_;
  std::vector<int> lineStatement_;
  std::vector<int> folds_;
};

}  // namespace vortan
