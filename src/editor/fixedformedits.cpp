#include "editor/fixedformedits.h"

#include <algorithm>

#include "editor/fixedformblocks.h"
#include "editor/fixedformline.h"

namespace vortan {

namespace {

constexpr int kLast = TFixedFormLine::kLastColumn;

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// The first line of the statement `line` belongs to (the line itself when it is no
// continuation line or nothing starts a statement above it).
int StatementStart(const std::vector<std::string_view>& lines, int line) {
  for (int l = line; l >= 0; --l) {
    const TFixedFormLine info = TFixedFormLine::Of(lines[static_cast<std::size_t>(l)]);
    if (info.Kind == TFixedLineKind::Initial) return l;
    if (info.Kind == TFixedLineKind::Continuation) continue;
  }
  return line;
}

char Mark(const TFixedFormOptions& options) {
  const char m = options.ContinuationMark;
  return m == ' ' || m == '0' || m == '\t' || m == '\0' ? '&' : m;
}

TLineSplit Split(std::string_view line, int pos, int indent, const TFixedFormOptions& options,
                 bool keepBlanks) {
  TLineSplit r;
  const std::string_view head = line.substr(0, static_cast<std::size_t>(pos));
  const std::string_view tail = line.substr(static_cast<std::size_t>(pos));
  r.First = std::string(keepBlanks ? head : TrimRight(head));
  r.Second = std::string(5, ' ') + Mark(options);
  r.Second.append(static_cast<std::size_t>(keepBlanks ? 0 : indent), ' ');
  r.SecondTextStart = static_cast<int>(r.Second.size());
  r.Second.append(keepBlanks ? tail : TrimLeft(tail));
  return r;
}

}  // namespace

bool TFixedFormEdits::InString(const std::vector<std::string_view>& lines, int line, int pos,
                               int* quoteStart) {
  char quote = 0;
  int start = -1;
  for (int l = StatementStart(lines, line); l <= line; ++l) {
    const std::string_view text = lines[static_cast<std::size_t>(l)];
    const TFixedFormLine info = TFixedFormLine::Of(text);
    if (!info.IsCode()) continue;
    start = -1;  // a constant open from an earlier line has no start on this one
    const int end = l == line ? std::min(pos, static_cast<int>(text.size())) : info.TextEnd;
    for (int i = info.TextStart; i < end; ++i) {
      const char c = text[static_cast<std::size_t>(i)];
      if (quote) {
        if (c == quote) {
          // A doubled quote is a quote inside the constant (also with the caret between them).
          if (i + 1 < static_cast<int>(text.size()) &&
              text[static_cast<std::size_t>(i) + 1] == quote) {
            ++i;
            continue;
          }
          quote = 0;
        }
        continue;
      }
      if (c == '\'' || c == '"') {
        quote = c;
        start = i;
      } else if (c == '!') {
        break;
      }
    }
  }
  if (quoteStart) *quoteStart = quote ? start : -1;
  return quote != 0;
}

TReturnPlan TFixedFormEdits::PlanReturn(const std::vector<std::string_view>& lines, int line,
                                        const TFixedFormOptions& options) {
  TReturnPlan plan;
  if (line < 0 || line >= static_cast<int>(lines.size())) return plan;
  const std::string_view head = lines[static_cast<std::size_t>(line)];
  if (head.empty()) return plan;  // at column 1: the line moves down whole
  const TFixedFormLine info = TFixedFormLine::Of(head);
  if (info.Kind == TFixedLineKind::Comment && options.ContinueComments) {
    const auto text = head.find_first_not_of(' ', 1);
    plan.Plain = false;
    plan.Prefix = std::string(head.substr(0, text == std::string_view::npos ? 1 : text));
    return plan;
  }
  if (info.IsCode() && static_cast<int>(head.size()) <= info.TextStart) return plan;
  const TFixedFormBlocks blocks(lines);
  plan.Plain = false;
  int indent = 0;
  int s = blocks.StatementAt(line);
  if (s >= 0) {
    const auto& st = blocks.Statements()[static_cast<std::size_t>(s)];
    indent = TFixedFormLine::Of(lines[static_cast<std::size_t>(st.FirstLine)]).Indent;
    const int opener = blocks.OpenerLineOf(s);
    if (opener >= 0 && st.FirstLine == line && st.Kind != TStatementKind::EndUnit) {
      // A block's closing line moves to its opening line's indentation.
      const int target = TFixedFormLine::Of(lines[static_cast<std::size_t>(opener)]).Indent;
      if (target != indent) plan.Head = WithIndent(head, target);
      indent = target;
    }
  } else {
    s = blocks.StatementBefore(line);
    if (s >= 0) {
      const auto& st = blocks.Statements()[static_cast<std::size_t>(s)];
      indent = TFixedFormLine::Of(lines[static_cast<std::size_t>(st.FirstLine)]).Indent;
      const int opener = blocks.OpenerLineOf(s);
      if (opener >= 0 && st.Kind != TStatementKind::EndUnit)
        indent = TFixedFormLine::Of(lines[static_cast<std::size_t>(opener)]).Indent;
    }
  }
  if (s >= 0) {
    const auto& st = blocks.Statements()[static_cast<std::size_t>(s)];
    if (st.Kind == TStatementKind::EndUnit) indent = 0;
    if (!st.ClosesDo && TFixedFormBlocks::Opens(st.Kind)) indent += options.IndentStep;
  }
  plan.Prefix = std::string(static_cast<std::size_t>(TFixedFormLine::kTextColumn + indent), ' ');
  return plan;
}

std::optional<TLineSplit> TFixedFormEdits::BreakLine(const std::vector<std::string_view>& lines,
                                                     int line, int pos,
                                                     const TFixedFormOptions& options) {
  if (line < 0 || line >= static_cast<int>(lines.size())) return std::nullopt;
  const std::string_view text = lines[static_cast<std::size_t>(line)];
  const TFixedFormLine info = TFixedFormLine::Of(text);
  if (!info.IsCode() || pos > static_cast<int>(text.size())) return std::nullopt;
  // Text past column 72 is not read; moving it into a statement field would be.
  if (static_cast<int>(TrimRight(text).size()) > kLast || pos > kLast) return std::nullopt;
  int quote = -1;
  if (InString(lines, line, pos, &quote)) pos = quote;
  if (pos <= info.TextStart + info.Indent) return std::nullopt;
  const int first = StatementStart(lines, line);
  const int indent = TFixedFormLine::Of(lines[static_cast<std::size_t>(first)]).Indent;
  return Split(text, pos, indent, options, false);
}

std::optional<TLineSplit> TFixedFormEdits::WrapLine(const std::vector<std::string_view>& lines,
                                                    int line, const TFixedFormOptions& options) {
  if (line < 0 || line >= static_cast<int>(lines.size())) return std::nullopt;
  const std::string_view text = lines[static_cast<std::size_t>(line)];
  const TFixedFormLine info = TFixedFormLine::Of(text);
  if (!info.IsCode() || static_cast<int>(TrimRight(text).size()) <= kLast) return std::nullopt;
  const int first = StatementStart(lines, line);
  const int indent = TFixedFormLine::Of(lines[static_cast<std::size_t>(first)]).Indent;
  const int textStart = info.TextStart + info.Indent;
  int quote = -1;
  if (InString(lines, line, kLast, &quote)) {
    if (quote > textStart) return Split(text, quote, indent, options, false);
    // The constant fills the line: it goes on in column 7 of the next, as the compiler reads
    // a constant crossing column 72.
    return Split(text, kLast, indent, options, true);
  }
  int pos = kLast;
  while (pos > textStart && text[static_cast<std::size_t>(pos) - 1] != ' ' &&
         text[static_cast<std::size_t>(pos)] != ' ')
    --pos;
  if (InString(lines, line, pos, &quote)) pos = quote;
  if (pos <= textStart) pos = kLast;
  return Split(text, pos, indent, options, false);
}

std::optional<std::string> TFixedFormEdits::TypeLabelDigit(std::string_view line, int pos,
                                                           char digit) {
  if (pos < 0 || pos >= TFixedFormLine::kTextColumn - 1 || digit < '0' || digit > '9')
    return std::nullopt;
  const TFixedFormLine info = TFixedFormLine::Of(line);
  if (info.Kind == TFixedLineKind::Comment || info.Kind == TFixedLineKind::Continuation)
    return std::nullopt;
  for (int i = 0; i < std::min(static_cast<int>(line.size()), TFixedFormLine::kTextColumn); ++i)
    if (line[static_cast<std::size_t>(i)] == '\t') return std::nullopt;
  std::string out(line);
  if (out.size() <= static_cast<std::size_t>(pos)) out.resize(static_cast<std::size_t>(pos), ' ');
  if (out.size() == static_cast<std::size_t>(pos)) {
    out += digit;
    return out;
  }
  const char at = out[static_cast<std::size_t>(pos)];
  if (at != ' ' && (at < '0' || at > '9')) return std::nullopt;
  out[static_cast<std::size_t>(pos)] = digit;
  return out;
}

std::optional<std::string> TFixedFormEdits::PadToStatementField(std::string_view line, int pos) {
  if (pos < 0 || pos >= TFixedFormLine::kTextColumn) return std::nullopt;
  const TFixedFormLine info = TFixedFormLine::Of(line);
  if (info.Kind == TFixedLineKind::Comment || info.Kind == TFixedLineKind::Continuation)
    return std::nullopt;
  if (line.find('\t') != std::string_view::npos &&
      line.find('\t') < static_cast<std::size_t>(TFixedFormLine::kTextColumn))
    return std::nullopt;
  std::string out(line);
  if (out.size() < static_cast<std::size_t>(TFixedFormLine::kTextColumn))
    out.resize(TFixedFormLine::kTextColumn, ' ');
  return out;
}

}  // namespace vortan
