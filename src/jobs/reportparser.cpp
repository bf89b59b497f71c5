#include "jobs/reportparser.h"

#include <limits>

#include "platform/text.h"

namespace vortan {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The characters from `pos` on; empty past the end.
std::string_view From(std::string_view s, std::size_t pos) {
  return pos < s.size() ? s.substr(pos) : std::string_view();
}

bool At(std::string_view s, std::size_t pos, char c) { return pos < s.size() && s[pos] == c; }

// A number that does not fit in 32 bits is no number at all: the entry then has no line or
// column, rather than a wrapped one that would take the user to the wrong place.
std::int32_t ToNumber(std::string_view digits, std::int32_t none) {
  if (digits.empty()) return none;
  std::int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return none;
  }
  return static_cast<std::int32_t>(value);
}

// The quote that closes the file name: the first one followed by "," or ":", as every message
// line has it, so that a name holding quotes is read whole; else simply the next quote.
std::size_t ClosingQuote(std::string_view line) {
  std::size_t first = std::string_view::npos;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] != '"') continue;
    if (At(line, i + 1, ',') || At(line, i + 1, ':')) return i;
    if (first == std::string_view::npos) first = i;
  }
  return first;
}

}  // namespace

std::vector<std::string> SplitReportLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && At(text, i + 1, '\n')) ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TReportParser::TReportParser(TAnalyzerKeywords keywords, TLabels labels, TResolve resolve)
    : keywords_(std::move(keywords)), labels_(std::move(labels)), resolve_(std::move(resolve)) {}

void TReportParser::Parse(std::string_view line) {
  if (line.empty()) return;
  if (line[0] == ' ')
    ParseWords(line);
  else if (line[0] == '"')
    ParseMessage(line);
}

void TReportParser::ParseWords(std::string_view line) {
  if (line.size() < 5 || line[1] != ' ' || line[2] != ' ' || line[3] != ' ' || line[4] == ' ' ||
      IsDigit(line[4]))
    return;
  std::string_view rest = line.substr(4);
  for (;;) {
    const std::size_t blank = rest.find(' ');
    AddBelow(lastEntry_, std::string(Trim(rest.substr(0, blank))));
    if (blank == std::string_view::npos) break;
    rest.remove_prefix(blank + 1);
  }
}

void TReportParser::ParseMessage(std::string_view line) {
  const std::size_t q = ClosingQuote(line);
  if (q == std::string_view::npos) return;
  const std::string file(line.substr(1, q - 1));
  std::string_view lineText;
  std::string colText;
  TMessageKind kind = mkUnclassified;

  std::size_t p;
  if (At(line, q + 1, ':') && At(line, q + 2, ' ') &&
      Classify(From(line, q + 3), keywords_, kind)) {
    p = q + 1;
  } else {
    std::size_t i = q + 1;
    while (i < line.size() && !IsDigit(line[i])) ++i;
    if (i == line.size()) return;
    const std::size_t start = i;
    while (i < line.size() && IsDigit(line[i])) ++i;
    lineText = line.substr(start, i - start);
    if (i == line.size()) return;
    while (i < line.size() && line[i] != ':') {
      if (IsDigit(line[i])) colText += line[i];
      ++i;
    }
    if (i == line.size()) return;
    p = i;
  }

  if (At(line, p + 1, ' ') && (At(line, p + 2, ' ') || At(line, p + 2, '('))) {
    kind = At(line, p + 2, '(') || At(line, p + 3, ' ') ? mkDetail : mkLocation;
  } else if (kind == mkUnclassified) {
    const std::size_t next = line.find(':', p + 1);
    if (next == std::string_view::npos) return;
    Classify(Trim(line.substr(p + 1, next - p - 1)), keywords_, kind);
    p = next;
  }
  const std::string_view message = Trim(From(line, p + 1).substr(0, MaxMessage));

  TResolved where = resolve_ ? resolve_(file) : TResolved{};
  editor_ = where.Editor;
  line_ = ToNumber(lineText, -1);
  column_ = ToNumber(colText, 0);
  kind_ = kind;

  if (kind == mkError)
    ++errorCount_;
  else if (kind == mkWarning || kind == mkMaybe)
    ++hitCount_;

  switch (kind) {
    case mkDetail:
      AddBelow(lastEntry_, std::string(message));
      break;
    case mkLocation: {
      std::string text = "(";
      text.append(lineText).append("): ").append(message);
      lastEntry_ = &AddBelow(lastTop_, std::move(text));
      break;
    }
    default: {
      std::string text = "[";
      text.append(labels_[kind]).append("] ").append(where.Shown);
      text.append("(").append(lineText).append("): ").append(message);
      lastEntry_ = lastTop_ = &AddBelow(nullptr, std::move(text));
      break;
    }
  }
}

TMessageNode& TReportParser::AddBelow(TMessageNode* parent, std::string text) {
  TMessageNode node;
  node.Data.Text = std::move(text);
  node.Data.Editor = editor_;
  node.Data.Line = line_;
  node.Data.Column = column_;
  node.Data.Kind = kind_;
  ++pendingEntries_;
  if (parent != nullptr) {
    ++lastNodeEntries_;
    parent->Children.push_back(std::move(node));
    return parent->Children.back();
  }
  pending_.push_back(std::move(node));
  lastNodeEntries_ = 1;
  return pending_.back();
}

std::size_t TReportParser::ClosedEntries() const {
  return pendingEntries_ - (lastEntry_ != nullptr ? lastNodeEntries_ : 0);
}

std::vector<TMessageNode> TReportParser::TakeClosed() {
  const std::size_t count = pending_.size() - (lastEntry_ != nullptr ? 1 : 0);
  std::vector<TMessageNode> taken;
  taken.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    taken.push_back(std::move(pending_.front()));
    pending_.pop_front();
  }
  pendingEntries_ = lastEntry_ != nullptr ? lastNodeEntries_ : 0;
  return taken;
}

std::vector<TMessageNode> TReportParser::TakeAll() {
  std::vector<TMessageNode> taken(std::make_move_iterator(pending_.begin()),
                                  std::make_move_iterator(pending_.end()));
  pending_.clear();
  lastEntry_ = lastTop_ = nullptr;
  pendingEntries_ = lastNodeEntries_ = 0;
  return taken;
}

}  // namespace vortan
