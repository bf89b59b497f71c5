#pragma once
// Reads fixed-form FORTRAN 77 source statement by statement: continuation lines joined, comment
// lines and text past column 72 dropped, blanks outside strings removed, letters raised.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/fortranscanner.h"
#include "platform/textlines.h"

namespace vortan {

/// Where a character of a statement stands in the file; both count from 1.
struct TSourcePos {
  std::uint32_t Line = 0;
  std::uint32_t Column = 0;
};

/// One statement. `Text` holds its significant characters only: upper case, no blanks, and
/// each quoted or Hollerith string replaced by one kStringMark whose contents are in `Strings`
/// (in order). `Pos[i]` is where `Text[i]` came from.
struct TStatement {
  static constexpr char kStringMark = '\x01';
  int Label = 0;  ///< 0 when the statement has none
  TSourcePos LabelPos;
  std::string Text;
  std::vector<TSourcePos> Pos;
  std::vector<std::string> Strings;
  int FirstLine = 0;
  int LastLine = 0;
  /// First line of the comment lines right above the statement; 0 when there are none.
  int CommentFirstLine = 0;
};

class TFixedFormReader {
 public:
  explicit TFixedFormReader(std::string_view text) : lines_(text) {}

  /// The next statement; false at the end of the text.
  bool Next(TStatement& st);

 private:
  struct TLine {
    std::string_view Text;  // without CR, cut at column 72
    int Number = 0;
    bool Comment = false;
    bool Continuation = false;
    std::size_t BodyStart = 6;  // 0-based index of the first character of the statement field
  };
  bool ReadLine(TLine& line);
  void AppendBody(const TLine& line, TStatement& st);
  void AppendChars(std::string_view token, std::size_t at, int lineNo, TStatement& st);
  // Finds the end of a string opened before `from`; true when it closes on this line.
  bool ContinueString(std::string_view body, std::size_t from, std::size_t& end, std::string& out);

  TTextLines lines_;
  int lineNo_ = 0;
  bool pending_ = false;  // `next_` was read ahead and not used yet
  TLine next_;
  char openQuote_ = 0;  // the quote of a string still open at the end of the last line
  TFortranScanner scanner_;
  std::string buffer_;
};

}  // namespace vortan
