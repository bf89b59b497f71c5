#pragma once
// Splits one line of fixed-form Fortran 77 source into tokens for colouring.

#include <array>
#include <cstddef>
#include <string_view>

namespace vortan {

enum class TTokenKind : unsigned char {
  Comment,
  Identifier,
  Key,   ///< reserved word or dot operator
  Null,  ///< end of the line
  Number,
  Space,
  String,
  Symbol,
  Unknown,  ///< any other byte; painted like an identifier
};

/// "Comment", "Identifier", "Key", ... as written in token dumps.
const char* TokenKindName(TTokenKind kind);

/// State carried from the end of one line to the start of the next (the text control keeps it).
enum TFortranRange : int {
  rsSingleQuote = 0,  ///< inside a single-quoted string continued by a final backslash
  rsDoubleQuote = 1,  ///< inside a double-quoted string continued by a final backslash
  rsNone = 2,         ///< no open string
};

/// Scans one line at a time, one token per step, without allocating.
///
/// Usage: SetRange(state at the end of the previous line), SetLine(text), then read the current
/// token and call Next() until GetEol(); GetRange() then gives the state for the next line.
/// Token positions are 0-based byte offsets into the line: column 1 is position 0.
/// The line may carry its CR/LF; a CR (with a following LF) or an LF becomes a Space token.
class TFortranScanner {
 public:
  TFortranScanner();

  /// Starts on a line and scans its first token. The text is not copied: it must stay alive
  /// and unchanged until the scan of this line is finished.
  void SetLine(std::string_view line, int lineNumber = 0);
  void Next();
  bool GetEol() const { return kind_ == TTokenKind::Null; }

  TTokenKind GetTokenKind() const { return kind_; }
  int GetTokenPos() const { return static_cast<int>(pos_); }
  int GetTokenLen() const { return static_cast<int>(run_ - pos_); }
  std::string_view GetToken() const { return {line_ + pos_, run_ - pos_}; }

  int GetRange() const { return range_; }
  /// Any value other than rsSingleQuote and rsDoubleQuote means no open string.
  void SetRange(int range);
  void ResetRange() { range_ = rsNone; }

  /// Marks the lead bytes of a double-byte code page: an Unknown token starting with one takes
  /// the following byte too. Single-byte pages (Windows-1252, 850) have none, the default.
  void SetLeadBytes(const std::array<bool, 256>& leadBytes) { leadBytes_ = leadBytes; }

 private:
  static constexpr int kEnd = 256;  // what Ch() returns past the last byte
  int Ch(std::size_t i) const { return i < len_ ? static_cast<unsigned char>(line_[i]) : kEnd; }
  bool MatchWord(std::size_t at, std::string_view upper) const;
  bool EndsAt(std::size_t at) const;
  std::size_t SkipBlanks(std::size_t at) const;
  std::size_t DotWordLength(std::size_t at) const;

  void Token(TTokenKind kind, std::size_t end) {
    kind_ = kind;
    run_ = end;
  }
  void StringRule(char quote, bool opening);
  void NumberRule();
  void DotRule();
  void WordRule();
  bool TwoWordRule(int first);
  void UnknownRule();

  const char* line_ = "";
  std::size_t len_ = 0;
  std::size_t pos_ = 0;  // start of the current token
  std::size_t run_ = 0;  // end of the current token
  TTokenKind kind_ = TTokenKind::Null;
  int range_ = rsNone;
  std::array<bool, 256> leadBytes_{};
};

}  // namespace vortan
