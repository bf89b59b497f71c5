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
  return c != ' ' && c != '0' && c != '\r' && c != '\n' && line.substr(0, 5).find_first_not_of(' ') ==
                                                                std::string_view::npos;
}

bool StartsWith(const std::string& s, std::string_view prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool IsName(std::string_view s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$') return false;
  return true;
}

// A type with an optional length ("REAL*8", "CHARACTER*(*)") in front of FUNCTION.
bool IsTypedFunction(const std::string& s) {
  static constexpr std::string_view Types[] = {"DOUBLEPRECISION", "DOUBLECOMPLEX", "INTEGER",
                                               "REAL", "COMPLEX", "LOGICAL", "CHARACTER", "BYTE"};
  for (std::string_view type : Types) {
    if (!StartsWith(s, type)) continue;
    std::size_t at = type.size();
    if (at < s.size() && s[at] == '*') {
      ++at;
      if (at < s.size() && s[at] == '(') {
        const std::size_t close = s.find(')', at);
        if (close == std::string::npos) return false;
        at = close + 1;
      } else {
        while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) ++at;
      }
    }
    return s.compare(at, 8, "FUNCTION") == 0;
  }
  return false;
}

enum class TUnitStart { Main, Subprogram };

// The statement that begins a unit, blanks removed and in capitals.
TUnitStart UnitOf(const std::string& s) {
  if (StartsWith(s, "PROGRAM")) return TUnitStart::Main;
  if (StartsWith(s, "SUBROUTINE") || StartsWith(s, "FUNCTION") || StartsWith(s, "BLOCKDATA") ||
      IsTypedFunction(s))
    return TUnitStart::Subprogram;
  return TUnitStart::Main;
}

bool IsEnd(const std::string& s) {
  if (s == "END") return true;
  for (std::string_view kind : {"ENDPROGRAM", "ENDSUBROUTINE", "ENDFUNCTION", "ENDBLOCKDATA"})
    if (StartsWith(s, kind) && (s.size() == kind.size() || IsName(std::string_view(s).substr(kind.size()))))
      return true;
  return false;
}

}  // namespace

bool HoldsMainProgram(std::string_view source) {
  TFortranScanner scanner;
  bool inUnit = false;
  TTextLines lines(source);
  for (std::string_view line; lines.Next(line);) {

    // Blanks do not separate words in Fortran: the statement is read without them. Strings
    // become a quote, so their text cannot look like a keyword.
    std::string text;
    const std::size_t field = StatementStart(line);
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
        default:
          if (pos < field) break;
          for (char c : scanner.GetToken().substr(0, LastColumn - pos))
            if (c != ' ' && c != '\t') text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      }
    }
    if (text.empty() || IsContinuation(line)) continue;
    if (!inUnit) {
      if (UnitOf(text) == TUnitStart::Main) return true;
      inUnit = true;
    }
    if (IsEnd(text)) inUnit = false;
  }
  return false;
}

}  // namespace vortan
