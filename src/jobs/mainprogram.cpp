#include "jobs/mainprogram.h"

#include <cctype>
#include <string>

#include "editor/fortranscanner.h"
#include "platform/textlines.h"

namespace vortan {

namespace {

constexpr std::size_t StatementColumn = 6;  // column 7, 0-based
constexpr std::size_t LastColumn = 72;

// Where the statement field begins: column 7, or right after a tab in the label field (the
// tab form many old sources use).
std::size_t StatementStart(std::string_view line) {
  const std::size_t tab = line.substr(0, StatementColumn).find('\t');
  return tab == std::string_view::npos ? StatementColumn : tab + 1;
}

bool IsContinuation(std::string_view line) {
  const std::size_t tab = line.substr(0, StatementColumn).find('\t');
  if (tab != std::string_view::npos)
    return tab + 1 < line.size() && line[tab + 1] >= '1' && line[tab + 1] <= '9';
  if (line.size() <= 5) return false;
  const char c = line[5];
  return c != ' ' && c != '0' && c != '\r' && c != '\n' &&
         line.substr(0, 5).find_first_not_of(' ') == std::string_view::npos;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool IsName(std::string_view s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$') return false;
  return true;
}

// Removes a type with an optional length or kind ("REAL*8", "CHARACTER*(*)", "REAL(8)") from
// the front of s; false when s does not start with one.
bool SkipType(std::string_view& s) {
  static constexpr std::string_view Types[] = {
      "DOUBLEPRECISION", "DOUBLECOMPLEX", "INTEGER",   "REAL",
      "COMPLEX",         "LOGICAL",       "CHARACTER", "BYTE"};
  for (std::string_view type : Types) {
    if (!StartsWith(s, type)) continue;
    std::size_t at = type.size();
    if (at < s.size() && s[at] == '*') ++at;
    if (at < s.size() && s[at] == '(') {
      const std::size_t close = s.find(')', at);
      if (close == std::string_view::npos) return false;
      at = close + 1;
    } else {
      while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) ++at;
    }
    s.remove_prefix(at);
    return true;
  }
  return false;
}

// An "=" outside parentheses makes the statement an assignment ("PURE = 1"), never a header.
bool HasTopLevelEquals(std::string_view s) {
  int depth = 0;
  for (char c : s) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == '=' && depth == 0) return true;
  }
  return false;
}

// SUBROUTINE or FUNCTION behind any prefixes (RECURSIVE, PURE, ELEMENTAL ... and for a
// FUNCTION one type), in any order; or BLOCK DATA.
bool IsSubprogramHeader(std::string_view s) {
  if (HasTopLevelEquals(s)) return false;
  if (StartsWith(s, "BLOCKDATA")) return true;
  static constexpr std::string_view Prefixes[] = {"NON_RECURSIVE", "RECURSIVE", "IMPURE", "PURE",
                                                  "ELEMENTAL"};
  bool typed = false;
  for (bool more = true; more;) {
    if (StartsWith(s, "FUNCTION")) return true;
    if (StartsWith(s, "SUBROUTINE")) return !typed;
    more = false;
    for (std::string_view prefix : Prefixes)
      if (StartsWith(s, prefix)) {
        s.remove_prefix(prefix.size());
        more = true;
        break;
      }
    if (!more && !typed && SkipType(s)) more = typed = true;
  }
  return false;
}

enum class TUnitStart { Main, Subprogram };

// The statement that begins a unit, blanks removed and in capitals.
TUnitStart UnitOf(const std::string& s) {
  if (StartsWith(s, "PROGRAM") && !HasTopLevelEquals(s)) return TUnitStart::Main;
  return IsSubprogramHeader(s) ? TUnitStart::Subprogram : TUnitStart::Main;
}

bool IsEnd(const std::string& s) {
  if (s == "END") return true;
  for (std::string_view kind : {"ENDPROGRAM", "ENDSUBROUTINE", "ENDFUNCTION", "ENDBLOCKDATA"})
    if (StartsWith(s, kind) &&
        (s.size() == kind.size() || IsName(std::string_view(s).substr(kind.size()))))
      return true;
  return false;
}

}  // namespace

bool HoldsMainProgram(std::string_view source) {
  TFortranScanner scanner;
  bool inUnit = false;
  bool main = false;

  // A unit's first statement decides, read whole: a header may run over continuation lines.
  std::string statement;
  auto finish = [&] {
    if (statement.empty()) return;
    if (!inUnit) {
      if (UnitOf(statement) == TUnitStart::Main) main = true;
      inUnit = true;
    }
    if (IsEnd(statement)) inUnit = false;
    statement.clear();
  };

  TTextLines lines(source);
  for (std::string_view line; lines.Next(line) && !main;) {
    const bool continuation = IsContinuation(line);
    // The continuation mark of the tab form is the digit right after the tab.
    const std::size_t start = StatementStart(line);
    const std::size_t field = start + (continuation && line[start - 1] == '\t');

    // Blanks do not separate words in Fortran: the statement is read without them. Strings
    // become a quote, so their text cannot look like a keyword.
    std::string text;
    scanner.ResetRange();
    for (scanner.SetLine(line); !scanner.GetEol(); scanner.Next()) {
      const auto pos = static_cast<std::size_t>(scanner.GetTokenPos());
      if (pos >= LastColumn) break;
      switch (scanner.GetTokenKind()) {
        case TTokenKind::Comment:
        case TTokenKind::Space:
          break;
        case TTokenKind::String:
          if (pos >= field) text += '\'';
          break;
        default: {
          const std::string_view token = scanner.GetToken();
          for (std::size_t i = 0; i < token.size() && pos + i < LastColumn; ++i) {
            const char c = token[i];
            if (pos + i >= field && c != ' ' && c != '\t')
              text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          }
        }
      }
    }
    // Comment and blank lines may stand between a statement's lines.
    if (continuation) {
      statement += text;
    } else if (!text.empty()) {
      finish();
      statement = std::move(text);
    }
  }
  finish();
  return main;
}

}  // namespace vortan
