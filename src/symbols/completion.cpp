#include "symbols/completion.h"

#include <algorithm>
#include <map>

#include "platform/text.h"
#include "symbols/symboltree.h"

namespace vortan {
namespace {

constexpr const char* kKeywords[] = {
    "ASSIGN",
    "BACKSPACE",
    "BLOCK DATA",
    "CALL",
    "CHARACTER",
    "CLOSE",
    "COMMON",
    "COMPLEX",
    "CONTINUE",
    "DATA",
    "DIMENSION",
    "DO",
    "DOUBLE PRECISION",
    "ELSE",
    "ELSE IF",
    "END",
    "END IF",
    "ENDFILE",
    "ENTRY",
    "EQUIVALENCE",
    "EXTERNAL",
    "FORMAT",
    "FUNCTION",
    "GO TO",
    "IF",
    "IMPLICIT",
    "INCLUDE",
    "INQUIRE",
    "INTEGER",
    "INTRINSIC",
    "LOGICAL",
    "OPEN",
    "PARAMETER",
    "PAUSE",
    "PRINT",
    "PROGRAM",
    "READ",
    "REAL",
    "RETURN",
    "REWIND",
    "SAVE",
    "STOP",
    "SUBROUTINE",
    "THEN",
    "WRITE",
};

// The generic and specific intrinsic functions of FORTRAN 77 with their arguments.
constexpr std::pair<const char*, const char*> kIntrinsics[] = {
    {"ABS", "(A)"},
    {"ACOS", "(X)"},
    {"AIMAG", "(Z)"},
    {"AINT", "(A)"},
    {"ALOG", "(X)"},
    {"ALOG10", "(X)"},
    {"AMAX0", "(A1, A2, ...)"},
    {"AMAX1", "(A1, A2, ...)"},
    {"AMIN0", "(A1, A2, ...)"},
    {"AMIN1", "(A1, A2, ...)"},
    {"AMOD", "(A, P)"},
    {"ANINT", "(A)"},
    {"ASIN", "(X)"},
    {"ATAN", "(X)"},
    {"ATAN2", "(Y, X)"},
    {"CABS", "(Z)"},
    {"CCOS", "(Z)"},
    {"CEXP", "(Z)"},
    {"CHAR", "(I)"},
    {"CLOG", "(Z)"},
    {"CMPLX", "(X, Y)"},
    {"CONJG", "(Z)"},
    {"COS", "(X)"},
    {"COSH", "(X)"},
    {"CSIN", "(Z)"},
    {"CSQRT", "(Z)"},
    {"DABS", "(D)"},
    {"DACOS", "(D)"},
    {"DASIN", "(D)"},
    {"DATAN", "(D)"},
    {"DATAN2", "(D1, D2)"},
    {"DBLE", "(A)"},
    {"DCOS", "(D)"},
    {"DCOSH", "(D)"},
    {"DDIM", "(D1, D2)"},
    {"DEXP", "(D)"},
    {"DIM", "(X, Y)"},
    {"DINT", "(D)"},
    {"DLOG", "(D)"},
    {"DLOG10", "(D)"},
    {"DMAX1", "(D1, D2, ...)"},
    {"DMIN1", "(D1, D2, ...)"},
    {"DMOD", "(D1, D2)"},
    {"DNINT", "(D)"},
    {"DPROD", "(X, Y)"},
    {"DSIGN", "(D1, D2)"},
    {"DSIN", "(D)"},
    {"DSINH", "(D)"},
    {"DSQRT", "(D)"},
    {"DTAN", "(D)"},
    {"DTANH", "(D)"},
    {"EXP", "(X)"},
    {"FLOAT", "(I)"},
    {"IABS", "(I)"},
    {"ICHAR", "(C)"},
    {"IDIM", "(I, J)"},
    {"IDINT", "(D)"},
    {"IDNINT", "(D)"},
    {"IFIX", "(X)"},
    {"INDEX", "(STRING, SUBSTRING)"},
    {"INT", "(A)"},
    {"ISIGN", "(I, J)"},
    {"LEN", "(STRING)"},
    {"LGE", "(A, B)"},
    {"LGT", "(A, B)"},
    {"LLE", "(A, B)"},
    {"LLT", "(A, B)"},
    {"LOG", "(X)"},
    {"LOG10", "(X)"},
    {"MAX", "(A1, A2, ...)"},
    {"MAX0", "(I1, I2, ...)"},
    {"MAX1", "(X1, X2, ...)"},
    {"MIN", "(A1, A2, ...)"},
    {"MIN0", "(I1, I2, ...)"},
    {"MIN1", "(X1, X2, ...)"},
    {"MOD", "(A, P)"},
    {"NINT", "(X)"},
    {"REAL", "(A)"},
    {"SIGN", "(A, B)"},
    {"SIN", "(X)"},
    {"SINH", "(X)"},
    {"SNGL", "(D)"},
    {"SQRT", "(X)"},
    {"TAN", "(X)"},
    {"TANH", "(X)"},
};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

std::string IntrinsicArgs(std::string_view name) {
  for (const auto& [n, args] : kIntrinsics)
    if (name == n) return args;
  return {};
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

}  // namespace

std::vector<TCompletion> CompletionsFor(const TSymbolIndex& index, const std::string& file,
                                        int line, std::string_view prefixText) {
  const std::string prefix = UpperAscii(Trim(prefixText));
  std::map<std::string, std::string> found;  // sorted, each name once: the first tip wins
  auto add = [&](const std::string& name, const std::string& tip) {
    if (!name.empty() && StartsWith(name, prefix)) found.emplace(name, tip);
  };
  // The index's own names first: a unit named like an intrinsic is the one the code means.
  if (const TFileSymbols* s = index.Symbols(file)) {
    const int unit = s->UnitAt(line);
    for (const TDeclaration& d : s->Declarations)
      if (d.Unit == unit) add(d.Name, d.Type);
    for (const TCommonBlock& c : s->Commons)
      if (c.Unit == unit)
        for (const std::string& m : c.Members) add(m, "COMMON /" + c.Name + "/");
    for (const TParameter& p : s->Parameters)
      if (p.Unit == unit) add(p.Name, "PARAMETER = " + p.Value);
    if (unit >= 0)
      for (const std::string& a : s->Units[static_cast<std::size_t>(unit)].Args) add(a, "");
  }
  index.ForEachUnit(
      [&](const std::string&, const TUnitSymbol& u) { add(u.Name, UnitHeaderText(u)); });
  for (const char* k : kKeywords) add(k, "keyword");
  for (const auto& [n, args] : kIntrinsics) add(n, std::string(n) + args);
  std::vector<TCompletion> out;
  out.reserve(found.size());
  for (auto& [name, tip] : found) out.push_back({name, tip});
  return out;
}

std::string ArgumentTip(const TSymbolIndex& index, std::string_view line, int column,
                        int* argument) {
  if (line.empty() || column < 1) return {};
  const char first = line[0];
  if (first == 'C' || first == 'c' || first == '*' || first == '!') return {};
  std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(column - 1), line.size());
  end = std::min<std::size_t>(end, 72);
  // Back from the caret to the '(' that is still open, counting the commas at its level.
  int depth = 0, commas = 0;
  bool quoted = false;
  std::size_t open = std::string_view::npos;
  for (std::size_t i = end; i-- > 6;) {
    const char c = line[i];
    if (c == '\'') quoted = !quoted;
    if (quoted) continue;
    if (c == ')') ++depth;
    if (c == '(') {
      if (depth == 0) {
        open = i;
        break;
      }
      --depth;
    }
    if (c == ',' && depth == 0) ++commas;
  }
  if (open == std::string_view::npos) return {};
  std::size_t nameEnd = open;
  while (nameEnd > 6 && line[nameEnd - 1] == ' ') --nameEnd;
  std::size_t nameBegin = nameEnd;
  while (nameBegin > 6 && IsNameChar(line[nameBegin - 1])) --nameBegin;
  if (nameBegin == nameEnd) return {};
  const std::string name = UpperAscii(line.substr(nameBegin, nameEnd - nameBegin));
  if (argument) *argument = commas;
  std::string tip;
  index.ForEachUnit([&](const std::string&, const TUnitSymbol& u) {
    if (tip.empty() && u.Name == name) tip = UnitHeaderText(u);
  });
  if (tip.empty())
    if (const std::string args = IntrinsicArgs(name); !args.empty()) tip = name + args;
  return tip;
}

}  // namespace vortan
