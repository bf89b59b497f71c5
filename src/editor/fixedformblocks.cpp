#include "editor/fixedformblocks.h"

#include <algorithm>
#include <string>

#include "editor/fixedformline.h"

namespace vortan {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// Position of the parenthesis closing the one at `open`; npos when it is not closed.
std::size_t CloseParen(std::string_view s, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < s.size(); ++i) {
    if (s[i] == '(') ++depth;
    if (s[i] == ')' && --depth == 0) return i;
  }
  return std::string_view::npos;
}

// Whether a '=' stands outside parentheses, followed later by a ',' outside them: the shape of
// a DO's control ("I=1,N"), which an assignment ("DO10I=1.5") lacks.
bool LoopControl(std::string_view s) {
  int depth = 0;
  bool equals = false;
  for (char c : s) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth != 0) continue;
    if (c == '=') equals = true;
    if (c == ',' && equals) return true;
  }
  return false;
}

bool HasAssignment(std::string_view s) {
  int depth = 0;
  for (char c : s) {
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth == 0 && c == '=') return true;
  }
  return false;
}

bool IsNameStart(std::string_view s) { return !s.empty() && s[0] >= 'A' && s[0] <= 'Z'; }

bool IsUnitHeader(std::string_view s) {
  if (HasAssignment(s)) return false;
  for (std::string_view unit : {"PROGRAM", "SUBROUTINE", "BLOCKDATA"})
    if (StartsWith(s, unit) && IsNameStart(s.substr(unit.size()))) return true;
  if (s == "BLOCKDATA") return true;
  for (std::string_view type :
       {"INTEGER", "REAL", "LOGICAL", "DOUBLEPRECISION", "DOUBLECOMPLEX", "COMPLEX", "CHARACTER"}) {
    if (!StartsWith(s, type)) continue;
    s.remove_prefix(type.size());
    if (StartsWith(s, "*")) {
      s.remove_prefix(1);
      if (StartsWith(s, "(")) {
        const auto close = CloseParen(s, 0);
        if (close == std::string_view::npos) return false;
        s.remove_prefix(close + 1);
      } else {
        while (!s.empty() && s[0] >= '0' && s[0] <= '9') s.remove_prefix(1);
      }
    }
    break;
  }
  return StartsWith(s, "FUNCTION") && IsNameStart(s.substr(8)) &&
         s.find('(') != std::string_view::npos;
}

}  // namespace

TStatementKind ClassifyStatement(std::string_view s, int* doLabel) {
  *doLabel = -1;
  if (StartsWith(s, "IF(")) {
    const auto close = CloseParen(s, 2);
    return close != std::string_view::npos && s.substr(close + 1) == "THEN" ? TStatementKind::IfThen
                                                                            : TStatementKind::Other;
  }
  if (StartsWith(s, "ELSEIF(")) {
    const auto close = CloseParen(s, 6);
    return close != std::string_view::npos && s.substr(close + 1) == "THEN" ? TStatementKind::ElseIf
                                                                            : TStatementKind::Other;
  }
  if (s == "ELSE") return TStatementKind::Else;
  if (s == "ENDIF") return TStatementKind::EndIf;
  if (s == "ENDDO") return TStatementKind::EndDo;
  if (s == "END") return TStatementKind::EndUnit;
  for (std::string_view end : {"ENDPROGRAM", "ENDSUBROUTINE", "ENDFUNCTION", "ENDBLOCKDATA"})
    if (StartsWith(s, end) && !HasAssignment(s)) return TStatementKind::EndUnit;
  if (StartsWith(s, "DO")) {
    std::string_view rest = s.substr(2);
    int label = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && digits < 5)
      label = label * 10 + (rest[digits++] - '0');
    std::string_view control = rest.substr(digits);
    if (digits > 0 && StartsWith(control, ",")) control.remove_prefix(1);
    const bool loop = control.empty() || StartsWith(control, "WHILE(") || LoopControl(control);
    if (loop && digits > 0 && !control.empty()) {
      *doLabel = label;
      return TStatementKind::DoLabelled;
    }
    if (loop && digits == 0) return TStatementKind::DoBlock;
    // Not a loop: an assignment, or a header starting with DOUBLE PRECISION.
  }
  return IsUnitHeader(s) ? TStatementKind::UnitHeader : TStatementKind::Other;
}

bool TFixedFormBlocks::Opens(TStatementKind kind) {
  switch (kind) {
    case TStatementKind::DoLabelled:
    case TStatementKind::DoBlock:
    case TStatementKind::IfThen:
    case TStatementKind::ElseIf:
    case TStatementKind::Else:
      return true;
    default:
      return false;
  }
}

TFixedFormBlocks::TFixedFormBlocks(const std::vector<std::string_view>& lines) {
  const int count = static_cast<int>(lines.size());
  lineStatement_.assign(lines.size(), -1);
  folds_.assign(lines.size(), 0);
  struct TOpen {
    int Head, Last;
  };
  std::vector<TOpen> stack;
  std::string squeezed;
  int line = 0;
  auto depth = [&stack] { return static_cast<int>(stack.size()); };
  while (line < count) {
    const TFixedFormLine first = TFixedFormLine::Of(lines[static_cast<std::size_t>(line)]);
    if (!first.IsCode()) {
      folds_[static_cast<std::size_t>(line++)] = depth();
      continue;
    }
    // The statement: this line and the continuation lines after it, comments between them.
    int last = line;
    for (int next = line + 1; next < count; ++next) {
      const TFixedFormLine info = TFixedFormLine::Of(lines[static_cast<std::size_t>(next)]);
      if (info.Kind == TFixedLineKind::Continuation) {
        last = next;
        continue;
      }
      if (info.IsCode()) break;
    }
    squeezed.clear();
    char quote = 0;
    for (int l = line; l <= last; ++l) {
      const std::string_view text = lines[static_cast<std::size_t>(l)];
      const TFixedFormLine info = l == line ? first : TFixedFormLine::Of(text);
      if (!info.IsCode()) continue;
      for (int i = info.TextStart; i < info.TextEnd; ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        if (quote) {
          if (c == quote) {
            quote = 0;
            squeezed += c;
          }
          continue;
        }
        if (c == '\'' || c == '"') {
          quote = c;
          squeezed += c;
        } else if (c == '!') {
          break;
        } else if (c != ' ' && c != '\t') {
          squeezed += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        }
      }
    }
    const int s = static_cast<int>(statements_.size());
    TStatement st;
    st.Kind = ClassifyStatement(squeezed, &st.DoLabel);
    st.Label = first.Label;
    st.FirstLine = line;
    st.LastLine = last;
    statements_.push_back(st);
    for (int l = line; l <= last; ++l) lineStatement_[static_cast<std::size_t>(l)] = s;

    const int d = depth();
    int firstLevel = d, restLevel = d;
    bool header = false;
    // A label ends every DO naming it that is open on top, nested ones sharing it included.
    if (st.Label >= 0) {
      while (!stack.empty() &&
             statements_[static_cast<std::size_t>(stack.back().Head)].Kind ==
                 TStatementKind::DoLabelled &&
             statements_[static_cast<std::size_t>(stack.back().Head)].DoLabel == st.Label) {
        statements_[static_cast<std::size_t>(stack.back().Head)].Next = s;
        statements_[static_cast<std::size_t>(s)].Opener = stack.back().Head;
        statements_[static_cast<std::size_t>(s)].ClosesDo = true;
        stack.pop_back();
      }
    }
    TStatement& cur = statements_[static_cast<std::size_t>(s)];
    auto findOpen = [&stack, this](TStatementKind kind) {
      for (int i = static_cast<int>(stack.size()) - 1; i >= 0; --i)
        if (statements_[static_cast<std::size_t>(stack[static_cast<std::size_t>(i)].Head)].Kind ==
            kind)
          return i;
      return -1;
    };
    switch (cur.ClosesDo ? TStatementKind::Other : cur.Kind) {
      case TStatementKind::UnitHeader:
        stack.clear();
        firstLevel = 0;
        restLevel = 1;
        header = true;
        stack.push_back({s, s});
        break;
      case TStatementKind::DoLabelled:
      case TStatementKind::DoBlock:
      case TStatementKind::IfThen:
        header = true;
        restLevel = d + 1;
        stack.push_back({s, s});
        break;
      case TStatementKind::ElseIf:
      case TStatementKind::Else:
      case TStatementKind::EndIf: {
        const int at = findOpen(TStatementKind::IfThen);
        if (at < 0) break;
        stack.resize(static_cast<std::size_t>(at) + 1);
        statements_[static_cast<std::size_t>(stack.back().Last)].Next = s;
        cur.Opener = stack.back().Head;
        if (cur.Kind == TStatementKind::EndIf) {
          firstLevel = restLevel = depth();
          stack.pop_back();
        } else {
          firstLevel = depth() - 1;
          restLevel = depth();
          header = true;
          stack.back().Last = s;
        }
        break;
      }
      case TStatementKind::EndDo: {
        const int at = findOpen(TStatementKind::DoBlock);
        if (at < 0) break;
        stack.resize(static_cast<std::size_t>(at) + 1);
        statements_[static_cast<std::size_t>(stack.back().Head)].Next = s;
        cur.Opener = stack.back().Head;
        firstLevel = restLevel = depth();
        stack.pop_back();
        break;
      }
      case TStatementKind::EndUnit:
        if (!stack.empty() && statements_[static_cast<std::size_t>(stack.front().Head)].Kind ==
                                  TStatementKind::UnitHeader) {
          statements_[static_cast<std::size_t>(stack.front().Head)].Next = s;
          cur.Opener = stack.front().Head;
        }
        stack.clear();
        break;
      default:
        break;
    }
    folds_[static_cast<std::size_t>(line)] = firstLevel | (header ? kFoldHeader : 0);
    for (int l = line + 1; l <= last; ++l) folds_[static_cast<std::size_t>(l)] = restLevel;
    line = last + 1;
  }
}

int TFixedFormBlocks::StatementAt(int line) const {
  return line >= 0 && line < static_cast<int>(lineStatement_.size())
             ? lineStatement_[static_cast<std::size_t>(line)]
             : -1;
}

int TFixedFormBlocks::StatementBefore(int line) const {
  for (int l = std::min(line, static_cast<int>(lineStatement_.size()) - 1); l >= 0; --l)
    if (lineStatement_[static_cast<std::size_t>(l)] >= 0)
      return lineStatement_[static_cast<std::size_t>(l)];
  return -1;
}

int TFixedFormBlocks::OpenerLineOf(int statement) const {
  if (statement < 0 || statement >= static_cast<int>(statements_.size())) return -1;
  const TStatement& st = statements_[static_cast<std::size_t>(statement)];
  if (st.Opener < 0) return -1;
  return statements_[static_cast<std::size_t>(st.Opener)].FirstLine;
}

std::vector<int> TFixedFormBlocks::MatchingLines(int line) const {
  const int s = StatementAt(line);
  if (s < 0) return {};
  const TStatement& st = statements_[static_cast<std::size_t>(s)];
  std::vector<int> out;
  auto lineOf = [this](int i) { return statements_[static_cast<std::size_t>(i)].FirstLine; };
  if (st.ClosesDo) {
    // Every DO this statement ends: those between the outermost one and here naming it.
    for (int i = st.Opener; i < s; ++i)
      if (statements_[static_cast<std::size_t>(i)].Next == s &&
          statements_[static_cast<std::size_t>(i)].Kind == TStatementKind::DoLabelled)
        out.push_back(lineOf(i));
    out.push_back(lineOf(s));
    return out;
  }
  // A labelled DO shows every DO sharing its terminal statement.
  if (st.Kind == TStatementKind::DoLabelled && st.Next >= 0) return MatchingLines(lineOf(st.Next));
  int head = -1;
  switch (st.Kind) {
    case TStatementKind::UnitHeader:
    case TStatementKind::DoLabelled:
    case TStatementKind::DoBlock:
    case TStatementKind::IfThen:
      head = s;
      break;
    case TStatementKind::ElseIf:
    case TStatementKind::Else:
    case TStatementKind::EndIf:
    case TStatementKind::EndDo:
    case TStatementKind::EndUnit:
      head = st.Opener;
      break;
    default:
      break;
  }
  if (head < 0 || statements_[static_cast<std::size_t>(head)].Next < 0) return {};
  for (int i = head; i >= 0; i = statements_[static_cast<std::size_t>(i)].Next) {
    out.push_back(lineOf(i));
    const TStatement& at = statements_[static_cast<std::size_t>(i)];
    // A DO's terminal statement and a unit's END end the chain.
    if (at.ClosesDo || at.Kind == TStatementKind::EndIf || at.Kind == TStatementKind::EndDo ||
        at.Kind == TStatementKind::EndUnit)
      break;
  }
  return out;
}

}  // namespace vortan
