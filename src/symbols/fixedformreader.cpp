#include "symbols/fixedformreader.h"

namespace vortan {
namespace {

constexpr std::size_t kStatementEnd = 72;  // columns 73 and on are a card's sequence field

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

}  // namespace

bool TFixedFormReader::ReadLine(TLine& line) {
  std::string_view text;
  if (!lines_.Next(text)) return false;
  line = TLine{};
  line.Number = ++lineNo_;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  // A tab in the label field starts the statement field (the tab form): a digit 1-9 right
  // after it marks a continuation.
  std::size_t tab = std::string_view::npos;
  for (std::size_t i = 0; i < text.size() && i < 6; ++i) {
    if (text[i] == '\t') {
      tab = i;
      break;
    }
    if (!IsDigit(text[i]) && text[i] != ' ') break;
  }
  if (tab != std::string_view::npos) {
    line.BodyStart = tab + 1;
    if (line.BodyStart < text.size() && text[line.BodyStart] >= '1' &&
        text[line.BodyStart] <= '9') {
      line.Continuation = true;
      ++line.BodyStart;
    }
    if (text.size() > line.BodyStart + (kStatementEnd - 6))
      text = text.substr(0, line.BodyStart + (kStatementEnd - 6));
  } else {
    if (text.size() > kStatementEnd) text = text.substr(0, kStatementEnd);
    line.Continuation = text.size() > 5 && text[5] != ' ' && text[5] != '0';
  }
  line.Text = text;
  const char first = text.empty() ? ' ' : text[0];
  // "#" in column 1: a preprocessor line of a .F file, nothing the index can read.
  if (first == 'C' || first == 'c' || first == '*' || first == '!' || first == '#') {
    line.Comment = true;
  } else if (openQuote_ == 0 || !line.Continuation) {
    // Blank lines are comment lines; so is a line whose statement field starts with "!".
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    line.Comment = i == text.size() || (i >= line.BodyStart && text[i] == '!');
  }
  if (line.Comment) line.Continuation = false;
  return true;
}

bool TFixedFormReader::Next(TStatement& st) {
  st.Label = 0;
  st.LabelPos = {};
  st.Text.clear();
  st.Pos.clear();
  st.Strings.clear();
  st.CommentFirstLine = 0;
  openQuote_ = 0;

  // The initial line: comment lines and stray continuations before it are skipped.
  TLine line;
  for (;;) {
    if (pending_) {
      line = next_;
      pending_ = false;
    } else if (!ReadLine(line)) {
      return false;
    }
    if (line.Comment) {
      if (st.CommentFirstLine == 0) st.CommentFirstLine = line.Number;
      continue;
    }
    if (!line.Continuation) break;
    st.CommentFirstLine = 0;
  }
  st.FirstLine = st.LastLine = line.Number;
  bool labelFieldBad = false;
  for (std::size_t i = 0; i < 5 && i < line.Text.size() && i < line.BodyStart; ++i) {
    const char c = line.Text[i];
    if (c == '\t') break;
    if (IsDigit(c)) {
      if (st.Label == 0)
        st.LabelPos = {static_cast<std::uint32_t>(line.Number), static_cast<std::uint32_t>(i + 1)};
      st.Label = st.Label * 10 + (c - '0');
    } else if (c != ' ') {
      labelFieldBad = true;
    }
  }
  if (labelFieldBad) st.Label = 0;
  AppendBody(line, st);

  // Continuation lines, with comment lines allowed between them.
  for (;;) {
    TLine more;
    if (!ReadLine(more)) break;
    if (more.Comment) {
      // A comment may sit between continuation lines; look past it without losing it.
      TTextLines saved = lines_;
      const int savedNo = lineNo_;
      TLine after = more;
      while (after.Comment && ReadLine(after)) {
      }
      if (!after.Comment && after.Continuation) {
        AppendBody(after, st);
        st.LastLine = after.Number;
        continue;
      }
      lines_ = saved;
      lineNo_ = savedNo;
      next_ = more;
      pending_ = true;
      break;
    }
    if (!more.Continuation) {
      next_ = more;
      pending_ = true;
      break;
    }
    AppendBody(more, st);
    st.LastLine = more.Number;
  }
  return true;
}

void TFixedFormReader::AppendChars(std::string_view token, std::size_t at, int lineNo,
                                   TStatement& st) {
  for (std::size_t i = 0; i < token.size(); ++i) {
    const char c = token[i];
    if (IsBlank(c)) continue;
    st.Text.push_back(Upper(c));
    st.Pos.push_back({static_cast<std::uint32_t>(lineNo), static_cast<std::uint32_t>(at + i + 1)});
  }
}

bool TFixedFormReader::ContinueString(std::string_view body, std::size_t from, std::size_t& end,
                                      std::string& out) {
  std::size_t i = from;
  while (i < body.size()) {
    if (body[i] == openQuote_) {
      if (i + 1 < body.size() && body[i + 1] == openQuote_) {
        out.push_back(openQuote_);
        i += 2;
        continue;
      }
      end = i + 1;
      openQuote_ = 0;
      return true;
    }
    out.push_back(body[i++]);
  }
  end = body.size();
  return false;
}

void TFixedFormReader::AppendBody(const TLine& line, TStatement& st) {
  // The scanner reads a whole line, so the label field is blanked: a "C" or "*" in column 1
  // must not read as a comment, and text already taken (a string's rest, a Hollerith
  // constant) is blanked the same way before the scan starts again after it.
  buffer_.assign(line.Text);
  for (std::size_t i = 0; i < line.BodyStart && i < buffer_.size(); ++i) buffer_[i] = ' ';
  std::size_t resume = line.BodyStart;
  if (openQuote_ != 0) {
    std::size_t end = 0;
    const bool closed = ContinueString(buffer_, line.BodyStart, end, st.Strings.back());
    if (!closed) return;
    resume = end;
  }
  const std::string_view body(buffer_);
  for (;;) {
    for (std::size_t i = 0; i < resume && i < buffer_.size(); ++i) buffer_[i] = ' ';
    bool restart = false;
    scanner_.ResetRange();
    for (scanner_.SetLine(body); !scanner_.GetEol(); scanner_.Next()) {
      const TTokenKind kind = scanner_.GetTokenKind();
      const std::size_t pos = static_cast<std::size_t>(scanner_.GetTokenPos());
      const std::string_view token = scanner_.GetToken();
      if (kind == TTokenKind::Space) continue;
      if (kind == TTokenKind::Comment) return;  // "!" to the end of the line
      if (kind == TTokenKind::String) {
        // Quotes close by the standard's rules (doubled quote inside, no backslash escape).
        openQuote_ = body[pos];
        st.Text.push_back(TStatement::kStringMark);
        st.Pos.push_back(
            {static_cast<std::uint32_t>(line.Number), static_cast<std::uint32_t>(pos + 1)});
        st.Strings.emplace_back();
        std::size_t end = 0;
        if (!ContinueString(body, pos + 1, end, st.Strings.back())) return;
        if (end != pos + token.size()) {
          resume = end;
          restart = true;
          break;
        }
        continue;
      }
      if (kind == TTokenKind::Number && !st.Text.empty()) {
        // nH followed by n characters after "(", "," or "/": a Hollerith constant.
        const char before = st.Text.back();
        bool digits = true;
        for (char c : token) digits = digits && IsDigit(c);
        std::size_t h = pos + token.size();
        while (h < body.size() && IsBlank(body[h])) ++h;
        if (digits && (before == '(' || before == ',' || before == '/') && h < body.size() &&
            Upper(body[h]) == 'H' && token.size() < 6) {
          const std::size_t n = static_cast<std::size_t>(std::stoi(std::string(token)));
          const std::size_t end = std::min(body.size(), h + 1 + n);
          st.Text.push_back(TStatement::kStringMark);
          st.Pos.push_back(
              {static_cast<std::uint32_t>(line.Number), static_cast<std::uint32_t>(pos + 1)});
          st.Strings.emplace_back(body.substr(h + 1, end - h - 1));
          resume = end;
          restart = true;
          break;
        }
      }
      AppendChars(token, pos, line.Number, st);
    }
    if (!restart) return;
  }
}

}  // namespace vortan
