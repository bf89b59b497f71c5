#include "symbols/symbolextractor.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "symbols/fixedformreader.h"

namespace vortan {
namespace {

constexpr char kMark = TStatement::kStringMark;
constexpr std::size_t kNone = std::string_view::npos;

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '$'; }

struct TTypeWord {
  std::string_view Squeezed, Shown;
};
// Longer words first: DOUBLEPRECISION must not read as DO.
constexpr TTypeWord kTypes[] = {
    {"DOUBLEPRECISION", "DOUBLE PRECISION"},
    {"DOUBLECOMPLEX", "DOUBLE COMPLEX"},
    {"CHARACTER", "CHARACTER"},
    {"INTEGER", "INTEGER"},
    {"LOGICAL", "LOGICAL"},
    {"COMPLEX", "COMPLEX"},
    {"REAL", "REAL"},
    {"BYTE", "BYTE"},
};

enum : unsigned char { nfArray = 1, nfCharacter = 2, nfStatementFunction = 4 };

class TExtractor {
 public:
  TFileSymbols Run(std::string_view text) {
    TFixedFormReader reader(text);
    TStatement st;
    while (reader.Next(st)) {
      st_ = &st;
      t_ = st.Text;
      Statement(0);
    }
    if (open_) CloseUnit(0);
    return std::move(out_);
  }

 private:
  TSymbolPos PosAt(std::size_t i) const {
    if (st_->Pos.empty()) return {st_->FirstLine, 7};
    const TSourcePos& p = st_->Pos[std::min(i, st_->Pos.size() - 1)];
    return {static_cast<int>(p.Line), static_cast<int>(p.Column)};
  }
  bool At(std::size_t i, std::string_view word) const {
    return i <= t_.size() && t_.compare(i, word.size(), word) == 0;
  }
  char Ch(std::size_t i) const { return i < t_.size() ? t_[i] : '\0'; }
  std::size_t NameEnd(std::size_t i) const {
    while (i < t_.size() && IsNameChar(t_[i])) ++i;
    return i;
  }
  // `i` at "(": the index after its ")", or the end of the statement when it never closes.
  std::size_t CloseParen(std::size_t i) const {
    int depth = 0;
    for (; i < t_.size(); ++i) {
      if (t_[i] == '(') ++depth;
      if (t_[i] == ')' && --depth == 0) return i + 1;
    }
    return t_.size();
  }
  std::size_t FindAtDepth(std::size_t from, std::size_t to, char c, int wanted) const {
    int depth = 0;
    for (std::size_t i = from; i < to && i < t_.size(); ++i) {
      const char x = t_[i];
      if (x == '(')
        ++depth;
      else if (x == ')')
        depth = std::max(0, depth - 1);
      else if (x == c && depth == wanted)
        return i;
    }
    return kNone;
  }
  std::size_t ReadLabel(std::size_t i, int& label) const {
    label = 0;
    std::size_t n = 0;
    while (i < t_.size() && IsDigit(t_[i]) && n < 9) label = label * 10 + (t_[i++] - '0'), ++n;
    return i;
  }
  std::string StringAt(std::size_t i) const {
    const auto k = static_cast<std::size_t>(std::count(t_.begin(), t_.begin() + i, kMark));
    return k < st_->Strings.size() ? st_->Strings[k] : std::string();
  }
  // The statement's text with its strings put back in quotes.
  std::string Render(std::size_t from, std::size_t to) const {
    std::string out;
    for (std::size_t i = from; i < to && i < t_.size(); ++i) {
      if (t_[i] == kMark) {
        std::string s = StringAt(i);
        out += '\'';
        for (char c : s) out += (c == '\'') ? std::string("''") : std::string(1, c);
        out += '\'';
      } else {
        out += t_[i];
      }
    }
    return out;
  }
  // After a "*" length: "*8" or "*(*)"; returns the index after it.
  std::size_t SkipLength(std::size_t i) const {
    if (Ch(i) != '*') return i;
    ++i;
    if (Ch(i) == '(') return CloseParen(i);
    while (IsDigit(Ch(i))) ++i;
    return i;
  }
  std::vector<std::string> NameList(std::size_t open) {
    std::vector<std::string> names;
    if (Ch(open) != '(') return names;
    const std::size_t end = CloseParen(open);
    for (std::size_t i = open + 1; i < end; ++i) {
      if (IsLetter(t_[i])) {
        const std::size_t n = NameEnd(i);
        names.emplace_back(t_.substr(i, n - i));
        i = n - 1;
      } else if (t_[i] == '*') {
        names.emplace_back("*");
      }
    }
    return names;
  }

  void OpenUnit(TUnitKind kind, std::string name, std::string type, std::size_t at,
                std::vector<std::string> args) {
    if (open_) CloseUnit(st_->FirstLine - 1);
    TUnitSymbol u;
    u.Kind = kind;
    u.Name = std::move(name);
    u.Type = std::move(type);
    u.Args = std::move(args);
    u.Pos = PosAt(at);
    if (kind == TUnitKind::MainProgram) u.Pos.Line = st_->FirstLine;
    u.HeaderLastLine = st_->LastLine;
    u.CommentFirstLine = st_->CommentFirstLine;
    out_.Units.push_back(std::move(u));
    unit_ = static_cast<int>(out_.Units.size()) - 1;
    open_ = true;
    executable_ = false;
    names_.clear();
    refsFrom_ = out_.FunctionRefs.size();
  }

  // name(...) in an expression is a function reference unless the unit made the name an
  // array, a character variable (a substring) or a statement function; that is known only
  // once the unit's declarations are all read.
  void CloseUnit(int endLine) {
    auto& refs = out_.FunctionRefs;
    const auto kept = std::remove_if(refs.begin() + static_cast<std::ptrdiff_t>(refsFrom_),
                                     refs.end(), [&](const TNameUse& r) {
                                       const auto f = names_.find(r.Name);
                                       return f != names_.end() && f->second != 0;
                                     });
    refs.erase(kept, refs.end());
    out_.Units[static_cast<std::size_t>(unit_)].EndLine = endLine;
    open_ = false;
    names_.clear();
  }

  bool Header(std::size_t b, bool typed) {
    std::size_t i = b;
    TUnitKind kind;
    std::string type;
    // RECURSIVE before SUBROUTINE or a function's type: reference LAPACK (DGETRF2) writes it,
    // and every compiler it is built with reads it.
    if (At(i, "RECURSIVE") && !At(i, "RECURSIVE(")) {
      i += 9;
      typed = true;
      if (At(i, "PROGRAM") || At(i, "BLOCKDATA")) return false;
    }
    if (At(i, "PROGRAM"))
      kind = TUnitKind::Program, i += 7;
    else if (At(i, "SUBROUTINE"))
      kind = TUnitKind::Subroutine, i += 10;
    else if (At(i, "FUNCTION"))
      kind = TUnitKind::Function, i += 8;
    else if (At(i, "BLOCKDATA"))
      kind = TUnitKind::BlockData, i += 9;
    else {
      if (!typed) return false;
      const TTypeWord* word = nullptr;
      for (const TTypeWord& w : kTypes)
        if (At(i, w.Squeezed)) {
          word = &w;
          break;
        }
      if (!word) return false;
      const std::size_t after = i + word->Squeezed.size();
      const std::size_t j = SkipLength(after);
      if (!At(j, "FUNCTION")) return false;
      type = std::string(word->Shown) + std::string(t_.substr(after, j - after));
      kind = TUnitKind::Function;
      i = j + 8;
    }
    const std::size_t n = NameEnd(i);
    if (n == i || !IsLetter(Ch(i))) {
      if (kind != TUnitKind::BlockData || i != t_.size()) return false;
      OpenUnit(kind, "", "", b, {});
      return true;
    }
    if (n != t_.size() &&
        (Ch(n) != '(' || kind == TUnitKind::Program || kind == TUnitKind::BlockData))
      return false;
    if (kind == TUnitKind::Function && Ch(n) != '(') return false;
    OpenUnit(kind, std::string(t_.substr(i, n - i)), std::move(type), i, NameList(n));
    return true;
  }

  void Statement(std::size_t b) {
    if (b >= t_.size()) return;
    if (At(b, "INCLUDE") && Ch(b + 7) == kMark && b + 8 == t_.size()) {
      out_.Includes.push_back({StringAt(b + 7), open_ ? unit_ : -1, PosAt(b)});
      return;
    }
    const std::size_t eq = FindAtDepth(b, t_.size(), '=', 0);
    if (b == 0) {
      if (eq == kNone && Header(b, !open_)) return;
      if (!open_) OpenUnit(TUnitKind::MainProgram, "", "", b, {});
      if (st_->Label != 0)
        out_.Labels.push_back(
            {st_->Label,
             unit_,
             At(b, "FORMAT("),
             {static_cast<int>(st_->LabelPos.Line), static_cast<int>(st_->LabelPos.Column)}});
    }
    if (At(b, "IF(")) {
      const std::size_t e = CloseParen(b + 2);
      if (Ch(e) != '=') {
        executable_ = true;
        Refs(b + 3, e);
        if (t_.compare(e, kNone, "THEN") == 0) return;
        if (IsDigit(Ch(e))) {
          for (std::size_t i = e; i < t_.size();) {
            int label = 0;
            const std::size_t n = ReadLabel(i, label);
            if (n == i) break;
            Use(label, TLabelUseKind::ArithmeticIf, i);
            i = n + (Ch(n) == ',' ? 1 : 0);
          }
          return;
        }
        Statement(e);  // a logical IF's statement
        return;
      }
    }
    if (At(b, "ELSEIF(")) {
      Refs(b + 7, t_.size());
      return;
    }
    if (eq != kNone) {
      if (At(b, "DO") && FindAtDepth(eq + 1, t_.size(), ',', 0) != kNone) {
        Do(b + 2);
        Refs(eq + 1, t_.size());
        return;
      }
      Assignment(b, eq);
      return;
    }
    Keyword(b);
  }

  void Use(int label, TLabelUseKind kind, std::size_t at) {
    out_.LabelUses.push_back({label, unit_, kind, PosAt(at)});
  }

  void Do(std::size_t i) {
    executable_ = true;
    int label = 0;
    if (ReadLabel(i, label) != i) Use(label, TLabelUseKind::Do, i);
  }

  void Assignment(std::size_t b, std::size_t eq) {
    if (!IsLetter(Ch(b))) return;
    const std::size_t n = NameEnd(b);
    const std::string name(t_.substr(b, n - b));
    if (Ch(n) == '(' && !executable_) {
      const std::size_t close = CloseParen(n);
      bool plain = close == eq;
      for (std::size_t i = n + 1; plain && i + 1 < close; ++i)
        plain = IsNameChar(t_[i]) || t_[i] == ',';
      const auto f = names_.find(name);
      if (plain && (f == names_.end() || (f->second & (nfArray | nfCharacter)) == 0)) {
        out_.StatementFunctions.push_back({name, unit_, NameList(n), PosAt(b)});
        names_[name] |= nfStatementFunction;
        Refs(eq + 1, t_.size());
        return;
      }
    }
    executable_ = true;
    Refs(n, eq);
    Refs(eq + 1, t_.size());
  }

  void Keyword(std::size_t b) {
    const std::size_t size = t_.size();
    if (size - b == 3 && At(b, "END")) return CloseUnit(st_->FirstLine);
    for (std::string_view end : {"ENDSUBROUTINE", "ENDFUNCTION", "ENDPROGRAM", "ENDBLOCKDATA"})
      if (At(b, end)) return CloseUnit(st_->FirstLine);
    if (At(b, "ENTRY") && IsLetter(Ch(b + 5))) {
      const std::size_t n = NameEnd(b + 5);
      out_.Entries.push_back(
          {std::string(t_.substr(b + 5, n - b - 5)), unit_, NameList(n), PosAt(b + 5)});
      return;
    }
    if (At(b, "COMMON")) return Common(b + 6);
    if (At(b, "PARAMETER(")) return Parameter(b + 9);
    if (At(b, "EXTERNAL")) return Names(b + 8, out_.Externals);
    if (At(b, "INTRINSIC")) return Names(b + 9, out_.Intrinsics);
    if (At(b, "IMPLICIT")) return;
    if (At(b, "DIMENSION")) return Declarations(b + 9, "");
    for (const TTypeWord& w : kTypes) {
      if (!At(b, w.Squeezed)) continue;
      const std::size_t after = b + w.Squeezed.size();
      const std::size_t i = SkipLength(after);
      return Declarations(i, std::string(w.Shown) + std::string(t_.substr(after, i - after)));
    }
    if (At(b, "CALL") && IsLetter(Ch(b + 4))) {
      executable_ = true;
      const std::size_t n = NameEnd(b + 4);
      out_.Calls.push_back({std::string(t_.substr(b + 4, n - b - 4)), unit_, PosAt(b + 4)});
      Refs(n, size);
      return;
    }
    if (At(b, "GOTO")) return GoTo(b + 4);
    if (At(b, "ASSIGN") && IsDigit(Ch(b + 6))) {
      int label = 0;
      ReadLabel(b + 6, label);
      Use(label, TLabelUseKind::Assign, b + 6);
      executable_ = true;
      return;
    }
    if (At(b, "FORMAT(")) return;
    for (std::string_view io :
         {"READ", "WRITE", "PRINT", "OPEN", "CLOSE", "INQUIRE", "REWIND", "BACKSPACE", "ENDFILE"})
      if (At(b, io)) return Io(b, io.size(), io == "READ" || io == "WRITE" || io == "PRINT");
    if (At(b, "DO")) {
      Do(b + 2);
      Refs(b + 2, size);
      return;
    }
    if (At(b, "DATA") || At(b, "SAVE") || At(b, "EQUIVALENCE")) return;
    executable_ = true;  // RETURN, STOP, CONTINUE, ELSE, END IF and the like
  }

  void Common(std::size_t i) {
    std::size_t block = kNone;  // index of the current block in out_.Commons
    while (i < t_.size()) {
      const char c = t_[i];
      if (c == '/') {
        const std::size_t close = t_.find('/', i + 1);
        if (close == kNone) return;
        const bool blank = close == i + 1;
        out_.Commons.push_back(
            {std::string(t_.substr(i + 1, close - i - 1)), unit_, {}, PosAt(blank ? i : i + 1)});
        block = out_.Commons.size() - 1;
        i = close + 1;
      } else if (IsLetter(c)) {
        if (block == kNone) {
          out_.Commons.push_back({"", unit_, {}, PosAt(i)});
          block = out_.Commons.size() - 1;
        }
        const std::size_t n = NameEnd(i);
        const std::string name(t_.substr(i, n - i));
        out_.Commons[block].Members.push_back(name);
        if (Ch(n) == '(') {
          out_.Declarations.push_back({name, "", unit_, true, PosAt(i)});
          names_[name] |= nfArray;
          i = CloseParen(n);
        } else {
          i = n;
        }
      } else {
        ++i;
      }
    }
  }

  void Parameter(std::size_t open) {
    const std::size_t end = CloseParen(open);
    for (std::size_t i = open + 1; i < end;) {
      std::size_t comma = FindAtDepth(i, end, ',', 0);
      if (comma == kNone) comma = end - (Ch(end - 1) == ')' ? 1 : 0);
      const std::size_t eq = FindAtDepth(i, comma, '=', 0);
      if (IsLetter(Ch(i)) && eq != kNone)
        out_.Parameters.push_back(
            {std::string(t_.substr(i, eq - i)), Render(eq + 1, comma), unit_, PosAt(i)});
      i = comma + 1;
    }
  }

  void Names(std::size_t i, std::vector<TEntrySymbol>& into) {
    while (i < t_.size()) {
      if (!IsLetter(t_[i])) {
        ++i;
        continue;
      }
      const std::size_t n = NameEnd(i);
      into.push_back({std::string(t_.substr(i, n - i)), unit_, {}, PosAt(i)});
      i = n;
    }
  }

  void Declarations(std::size_t i, const std::string& type) {
    const bool character = type.rfind("CHARACTER", 0) == 0;
    while (i < t_.size()) {
      if (!IsLetter(t_[i])) {
        ++i;
        continue;
      }
      const std::size_t n = NameEnd(i);
      const std::string name(t_.substr(i, n - i));
      std::size_t j = SkipLength(n);
      const bool array = Ch(j) == '(';
      out_.Declarations.push_back({name, type, unit_, array || type.empty(), PosAt(i)});
      names_[name] |= (array || type.empty() ? nfArray : 0) | (character ? nfCharacter : 0);
      const std::size_t comma = FindAtDepth(j, t_.size(), ',', 0);
      i = comma == kNone ? t_.size() : comma + 1;
    }
  }

  void GoTo(std::size_t i) {
    executable_ = true;
    int label = 0;
    if (IsDigit(Ch(i))) {
      ReadLabel(i, label);
      Use(label, TLabelUseKind::GoTo, i);
      return;
    }
    TLabelUseKind kind = TLabelUseKind::ComputedGoTo;
    std::size_t list = i;
    if (IsLetter(Ch(i))) {
      kind = TLabelUseKind::AssignedGoTo;
      list = NameEnd(i);
      if (Ch(list) == ',') ++list;
      if (Ch(list) != '(') return;
    }
    if (Ch(list) != '(') return;
    const std::size_t end = CloseParen(list);
    for (std::size_t j = list + 1; j < end;) {
      const std::size_t n = ReadLabel(j, label);
      if (n != j) Use(label, kind, j);
      j = n + 1;
    }
    if (kind == TLabelUseKind::ComputedGoTo) Refs(end, t_.size());
  }

  void Io(std::size_t b, std::size_t length, bool format) {
    executable_ = true;
    std::size_t i = b + length;
    int label = 0;
    if (Ch(i) != '(') {
      if (format && IsDigit(Ch(i))) {
        const std::size_t n = ReadLabel(i, label);
        if (n == t_.size() || Ch(n) == ',') Use(label, TLabelUseKind::Format, i);
      }
      Refs(i, t_.size());
      return;
    }
    const std::size_t end = CloseParen(i);
    std::size_t item = i + 1;
    for (int k = 0; item < end; ++k) {
      std::size_t comma = FindAtDepth(item, end, ',', 0);
      if (comma == kNone) comma = end - (Ch(end - 1) == ')' ? 1 : 0);
      auto labelAfter = [&](std::size_t at, TLabelUseKind kind) {
        const std::size_t n = ReadLabel(at, label);
        if (n != at && n == comma) Use(label, kind, at);
      };
      if (At(item, "ERR="))
        labelAfter(item + 4, TLabelUseKind::Err);
      else if (At(item, "END="))
        labelAfter(item + 4, TLabelUseKind::End);
      else if (At(item, "FMT="))
        labelAfter(item + 4, TLabelUseKind::Format);
      else if (format && k == 1 && IsDigit(Ch(item)))
        labelAfter(item, TLabelUseKind::Format);
      else
        Refs(item, comma);
      item = comma + 1;
    }
    Refs(end, t_.size());
  }

  // Function references in an expression: a name followed by "(".
  void Refs(std::size_t from, std::size_t to) {
    to = std::min(to, t_.size());
    for (std::size_t i = from; i < to;) {
      const char c = t_[i];
      if (IsLetter(c)) {
        const std::size_t n = NameEnd(i);
        if (Ch(n) == '(' && n < to)
          out_.FunctionRefs.push_back({std::string(t_.substr(i, n - i)), unit_, PosAt(i)});
        i = n;
      } else if (IsDigit(c)) {
        while (i < to && IsDigit(t_[i])) ++i;
        if (Ch(i) == '.' && !IsOperator(i)) {
          ++i;
          while (i < to && IsDigit(t_[i])) ++i;
        }
        if (Ch(i) == 'E' || Ch(i) == 'D' || Ch(i) == 'Q') {
          std::size_t j = i + 1;
          if (Ch(j) == '+' || Ch(j) == '-') ++j;
          if (IsDigit(Ch(j))) {
            i = j;
            while (i < to && IsDigit(t_[i])) ++i;
          }
        }
      } else if (c == '.' && IsOperator(i)) {
        i = t_.find('.', i + 1) + 1;
      } else {
        ++i;
      }
    }
  }
  // ".EQ.", ".AND.", ".TRUE." and the like start at `i`.
  bool IsOperator(std::size_t i) const {
    std::size_t j = i + 1;
    while (IsLetter(Ch(j))) ++j;
    return j > i + 1 && Ch(j) == '.';
  }

  const TStatement* st_ = nullptr;
  std::string_view t_;
  TFileSymbols out_;
  int unit_ = -1;
  bool open_ = false;
  bool executable_ = false;   // an executable statement was seen in the open unit
  std::size_t refsFrom_ = 0;  // the open unit's first function reference
  std::unordered_map<std::string, unsigned char> names_;  // the open unit's names and their nf*
};

}  // namespace

TFileSymbols ExtractSymbols(std::string_view text) { return TExtractor().Run(text); }

}  // namespace vortan
