#include "editor/fortranscanner.h"

#include <algorithm>
#include <cstdint>

namespace vortan {
namespace {

constexpr std::array<std::string_view, 70> kReservedWords = {
    "allocatable",   "allocate",
    "assign",        "backspace",
    "blockdata",     "byte",
    "call",          "case",
    "casedefault",   "character",
    "close",         "common",
    "complex",       "continue",
    "cycle",         "data",
    "deallocate",    "default",
    "dimension",     "do",
    "doublecomplex", "doubleprecision",
    "dowhile",       "else",
    "elseif",        "end",
    "enddo",         "endfile",
    "endif",         "endselect",
    "entry",         "equivalence",
    "exit",          "external",
    "format",        "function",
    "goto",          "if",
    "implicit",      "implicitnone",
    "include",       "inquire",
    "integer",       "interface",
    "intrinsic",     "logical",
    "map",           "namelist",
    "open",          "parameter",
    "pause",         "print",
    "program",       "read",
    "real",          "record",
    "return",        "rewind",
    "save",          "select",
    "selectcase",    "stop",
    "structure",     "subroutine",
    "then",          "type",
    "union",         "value",
    "while",         "write",
};

constexpr std::size_t kMaxReservedLength = 15;

// Reserved words grouped by (length, first letter) so that a lookup compares a run only with
// the few words that share both.
constexpr int GroupOf(std::size_t length, int firstLetter) {
  return static_cast<int>(length) * 26 + (firstLetter - 'a');
}
constexpr int kGroupCount = (kMaxReservedLength + 1) * 26;

struct TReservedTable {
  std::array<std::string_view, kReservedWords.size()> Words;
  std::array<std::uint8_t, kGroupCount + 1> First;  // Words[First[g] .. First[g+1]) are group g
};

constexpr TReservedTable MakeReservedTable() {
  TReservedTable t{};
  t.Words = kReservedWords;
  std::sort(t.Words.begin(), t.Words.end(), [](std::string_view a, std::string_view b) {
    return GroupOf(a.size(), a[0]) < GroupOf(b.size(), b[0]);
  });
  std::size_t w = 0;
  for (int g = 0; g <= kGroupCount; ++g) {
    while (w < t.Words.size() && GroupOf(t.Words[w].size(), t.Words[w][0]) < g) ++w;
    t.First[static_cast<std::size_t>(g)] = static_cast<std::uint8_t>(w);
  }
  return t;
}
constexpr TReservedTable kReserved = MakeReservedTable();

// The run holds only word characters; OR-ing 0x20 lowers letters, leaves digits alone and
// turns "_" into a byte no reserved word contains.
bool IsReserved(const char* s, std::size_t n) {
  if (n < 2 || n > kMaxReservedLength) return false;
  const int first = static_cast<unsigned char>(s[0]) | 0x20;
  if (first < 'a' || first > 'z') return false;
  const auto g = static_cast<std::size_t>(GroupOf(n, first));
  for (std::size_t w = kReserved.First[g]; w < kReserved.First[g + 1]; ++w) {
    const std::string_view word = kReserved.Words[w];
    std::size_t i = 1;
    while (i < n &&
           (static_cast<unsigned char>(s[i]) | 0x20) == static_cast<unsigned char>(word[i]))
      ++i;
    if (i == n) return true;
  }
  return false;
}

enum : std::uint8_t { cBlank = 1, cWord = 2, cDigit = 4 };

// Indexed by a byte or by kEnd (256), which belongs to no class.
constexpr std::array<std::uint8_t, 257> MakeClasses() {
  std::array<std::uint8_t, 257> t{};
  for (std::size_t c = 1; c <= 32; ++c)
    if (c != '\n' && c != '\r') t[c] = cBlank;
  for (std::size_t c = '0'; c <= '9'; ++c) t[c] = cWord | cDigit;
  for (std::size_t c = 'A'; c <= 'Z'; ++c) t[c] = t[c + 32] = cWord;
  t['_'] = cWord;
  return t;
}
constexpr std::array<std::uint8_t, 257> kClass = MakeClasses();

inline bool Is(int c, std::uint8_t cls) { return (kClass[static_cast<std::size_t>(c)] & cls) != 0; }

}  // namespace

const char* TokenKindName(TTokenKind kind) {
  switch (kind) {
    case TTokenKind::Comment:
      return "Comment";
    case TTokenKind::Identifier:
      return "Identifier";
    case TTokenKind::Key:
      return "Key";
    case TTokenKind::Null:
      return "Null";
    case TTokenKind::Number:
      return "Number";
    case TTokenKind::Space:
      return "Space";
    case TTokenKind::String:
      return "String";
    case TTokenKind::Symbol:
      return "Symbol";
    case TTokenKind::Unknown:
      return "Unknown";
  }
  return "?";
}

TFortranScanner::TFortranScanner() = default;

void TFortranScanner::SetRange(int range) {
  range_ = (range == rsSingleQuote || range == rsDoubleQuote) ? range : rsNone;
}

void TFortranScanner::SetLine(std::string_view line, int /*lineNumber*/) {
  line_ = line.data() ? line.data() : "";
  len_ = line.size();
  pos_ = run_ = 0;
  Next();
}

bool TFortranScanner::MatchWord(std::size_t at, std::string_view upper) const {
  if (at + upper.size() > len_) return false;
  for (std::size_t i = 0; i < upper.size(); ++i)
    if ((static_cast<unsigned char>(line_[at + i]) & 0xDF) != static_cast<unsigned char>(upper[i]))
      return false;
  return true;
}

// A word ends before a blank or the end of the line; a CR or LF carried in the line ends it too.
bool TFortranScanner::EndsAt(std::size_t at) const {
  const int c = Ch(at);
  return c == kEnd || c == '\r' || c == '\n' || Is(c, cBlank);
}

std::size_t TFortranScanner::SkipBlanks(std::size_t at) const {
  while (Is(Ch(at), cBlank)) ++at;
  return at;
}

// The order matters: NEQV before NE, EQV before EQ.
std::size_t TFortranScanner::DotWordLength(std::size_t at) const {
  if (MatchWord(at, "TRUE")) return 4;
  if (MatchWord(at, "NEQV")) return 4;
  if (MatchWord(at, "AND") || MatchWord(at, "NOT") || MatchWord(at, "EQV") || MatchWord(at, "XOR"))
    return 3;
  const int a = Ch(at) & 0xDF, b = Ch(at + 1) & 0xDF;
  if ((a == 'G' || a == 'L') && (b == 'E' || b == 'T')) return 2;
  if (MatchWord(at, "NE") || MatchWord(at, "EQ") || MatchWord(at, "OR")) return 2;
  if (MatchWord(at, "FALSE")) return 5;
  return 0;
}

void TFortranScanner::Next() {
  pos_ = run_;
  if (pos_ == 0 && range_ != rsNone) {
    const int c = Ch(0);
    if (c != kEnd && c != '\r' && c != '\n') {
      StringRule(range_ == rsSingleQuote ? '\'' : '"', false);
      return;
    }
    // An empty continuation line ends the open string; no empty String token is made.
    range_ = rsNone;
  }
  const int c = Ch(pos_);
  switch (c) {
    case kEnd:
      Token(TTokenKind::Null, pos_);
      return;
    case '\r':
      Token(TTokenKind::Space, pos_ + (Ch(pos_ + 1) == '\n' ? 2 : 1));
      return;
    case '\n':
      Token(TTokenKind::Space, pos_ + 1);
      return;
    case '!':
      Token(TTokenKind::Comment, len_);
      return;
    case '*':
    case '#':
      if (pos_ == 0)
        Token(TTokenKind::Comment, len_);
      else
        Token(TTokenKind::Symbol, pos_ + 1);
      return;
    case 'C':
    case 'c':
      // Every Fortran compiler and ftnchek read a lowercase c in column 1 as a comment too.
      if (pos_ == 0)
        Token(TTokenKind::Comment, len_);
      else
        WordRule();
      return;
    case '\'':
    case '"':
      StringRule(static_cast<char>(c), true);
      return;
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
      NumberRule();
      return;
    case '.':
      DotRule();
      return;
    case '=':
      Token(TTokenKind::Symbol, pos_ + (Ch(pos_ + 1) == '=' ? 2 : 1));
      return;
    case '<':
    case '>': {
      std::size_t end = pos_ + 1;
      if (Ch(end) == c) ++end;
      if (Ch(end) == '=') ++end;
      Token(TTokenKind::Symbol, end);
      return;
    }
    case '(':
    case ')':
    case '+':
    case '-':
    case '/':
    case ',':
    case ';':
    case '%':
      Token(TTokenKind::Symbol, pos_ + 1);
      return;
    case 'B':
    case 'D':
    case 'F':
    case 'G':
    case 'N':
    case 'T':
    case 'b':
    case 'd':
    case 'f':
    case 'g':
    case 'n':
    case 't':
      if (!TwoWordRule(c)) WordRule();
      return;
    default:
      if (Is(c, cBlank)) {
        std::size_t end = pos_ + 1;
        while (end < len_ && Is(static_cast<unsigned char>(line_[end]), cBlank)) ++end;
        Token(TTokenKind::Space, end);
      } else if (Is(c, cWord)) {
        WordRule();
      } else {
        UnknownRule();
      }
      return;
  }
}

void TFortranScanner::WordRule() {
  std::size_t end = pos_ + 1;
  while (end < len_ && Is(static_cast<unsigned char>(line_[end]), cWord)) ++end;
  Token(IsReserved(line_ + pos_, end - pos_) ? TTokenKind::Key : TTokenKind::Identifier, end);
}

bool TFortranScanner::TwoWordRule(int first) {
  // Reading backwards from the token start over one or more characters of a class.
  std::size_t back = pos_;
  auto skipBack = [&](std::uint8_t cls) {
    const std::size_t from = back;
    while (back > 0 && Is(static_cast<unsigned char>(line_[back - 1]), cls)) --back;
    return back < from;
  };
  // First word, blanks, then one of the second words that ends: one Key over all of it.
  auto pair = [&](std::string_view word, std::string_view second, std::string_view other = {}) {
    if (!MatchWord(pos_, word)) return false;
    const std::size_t at = SkipBlanks(pos_ + word.size());
    if (at == pos_ + word.size()) return false;
    for (std::string_view w : {second, other}) {
      if (!w.empty() && MatchWord(at, w) && EndsAt(at + w.size())) {
        Token(TTokenKind::Key, at + w.size());
        return true;
      }
    }
    return false;
  };
  // A word that ends, preceded by blanks and a given word: a Key of its own.
  auto after = [&](std::string_view word, std::string_view before) {
    if (!MatchWord(pos_, word) || !EndsAt(pos_ + word.size())) return false;
    if (!skipBack(cBlank) || back < before.size() || !MatchWord(back - before.size(), before))
      return false;
    Token(TTokenKind::Key, pos_ + word.size());
    return true;
  };

  switch (first | 0x20) {
    case 'd':
      return pair("DOUBLE", "PRECISION", "COMPLEX");
    case 'g':
      return pair("GO", "TO");
    case 'b':
      return pair("BLOCK", "DATA");
    case 'n':
      return after("NONE", "IMPLICIT");
    case 'f':
      return after("FILE", "END");
    case 't':
      // ASSIGN label TO variable
      if (!MatchWord(pos_, "TO") || !EndsAt(pos_ + 2)) return false;
      if (!skipBack(cBlank) || !skipBack(cDigit) || !skipBack(cBlank) || back < 6 ||
          !MatchWord(back - 6, "ASSIGN"))
        return false;
      Token(TTokenKind::Key, pos_ + 2);
      return true;
  }
  return false;
}

void TFortranScanner::StringRule(char quote, bool opening) {
  std::size_t i = pos_ + (opening ? 1 : 0);
  range_ = rsNone;
  while (i < len_) {
    const char c = line_[i];
    if (c == quote) {
      if (Ch(i + 1) == static_cast<unsigned char>(quote)) {
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    if (c == '\\') {
      const int next = Ch(i + 1);
      if (next == static_cast<unsigned char>(quote)) {
        i += 2;
        continue;
      }
      if (next == kEnd || next == '\r' || next == '\n') {
        ++i;
        range_ = quote == '\'' ? rsSingleQuote : rsDoubleQuote;
        break;
      }
    } else if (c == '\r' || c == '\n') {
      break;
    }
    ++i;
  }
  Token(TTokenKind::String, i);
}

void TFortranScanner::NumberRule() {
  bool point = false, exponent = false, exponentDigit = false, exponentSign = false;
  std::size_t i = pos_;
  for (;; ++i) {
    const int c = Ch(i);
    if (Is(c, cDigit)) {
      if (exponent) exponentDigit = true;
      continue;
    }
    if (c == '.') {
      // 1.EQ.2 is a number, an operator and a number
      if (point || exponent || DotWordLength(SkipBlanks(i + 1)) != 0) break;
      point = true;
      continue;
    }
    switch (c | 0x20) {
      case 'd':
      case 'e':
      case 'f':
      case 'x': {
        const int next = Ch(i + 1);
        if (exponent || !(next == '+' || next == '-' || Is(next, cDigit))) break;
        exponent = true;
        continue;
      }
    }
    if ((c == '+' || c == '-') && exponent && !exponentDigit && !exponentSign &&
        Is(Ch(i + 1), cDigit)) {
      exponentSign = true;
      continue;
    }
    break;
  }
  Token(TTokenKind::Number, i);
}

void TFortranScanner::DotRule() {
  const std::size_t at = SkipBlanks(pos_ + 1);
  const std::size_t word = DotWordLength(at);
  if (word != 0) {
    const std::size_t close = SkipBlanks(at + word);
    if (Ch(close) == '.')
      Token(TTokenKind::Key, close + 1);
    else
      Token(TTokenKind::Symbol, pos_ + 1);
    return;
  }
  if (Is(Ch(at), cDigit)) {
    NumberRule();
    return;
  }
  Token(TTokenKind::Symbol, pos_ + 1);
}

void TFortranScanner::UnknownRule() {
  const int c = Ch(pos_);
  std::size_t end = pos_ + 1;
  // A lead byte takes its trail byte, but never the end of the line.
  if (leadBytes_[static_cast<std::size_t>(c)]) {
    const int trail = Ch(end);
    if (trail != kEnd && trail != '\r' && trail != '\n') ++end;
  }
  Token(TTokenKind::Unknown, end);
}

}  // namespace vortan
