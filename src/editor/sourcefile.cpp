#include "editor/sourcefile.h"

namespace vortan {

std::string_view LineBreakBytes(TLineBreak lineBreak) {
  switch (lineBreak) {
    case TLineBreak::CR:
      return "\r";
    case TLineBreak::LF:
      return "\n";
    case TLineBreak::CRLF:
      break;
  }
  return "\r\n";
}

TSplitSource SplitSource(std::string_view bytes) {
  TSplitSource result;
  result.Text.reserve(bytes.size());
  bool sawCR = false, sawLF = false, sawCRLF = false;
  bool lineOpen = false;  // bytes seen since the last break
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    // Copy the run up to the next break in one go: most of a file is line content.
    std::size_t j = i;
    while (j < n && bytes[j] != '\r' && bytes[j] != '\n' && bytes[j] != '\0') ++j;
    if (j > i) {
      result.Text.append(bytes.data() + i, j - i);
      lineOpen = true;
    }
    if (j == n) break;
    if (bytes[j] == '\r' && j + 1 < n && bytes[j + 1] == '\n') {
      sawCRLF = true;
      j += 2;
    } else {
      if (bytes[j] == '\r') sawCR = true;
      if (bytes[j] == '\n') sawLF = true;
      if (bytes[j] == '\0') result.HadNul = true;
      ++j;
    }
    result.Text.push_back('\n');
    ++result.LineCount;
    lineOpen = false;
    i = j;
  }
  if (lineOpen) {
    ++result.LineCount;
  } else if (!result.Text.empty()) {
    result.Text.pop_back();  // the final break adds no line
  }
  if (sawCR && !sawLF && !sawCRLF)
    result.LineBreak = TLineBreak::CR;
  else if (sawLF && !sawCR && !sawCRLF)
    result.LineBreak = TLineBreak::LF;
  else
    result.LineBreak = TLineBreak::CRLF;
  return result;
}

std::string JoinSource(std::string_view text, std::size_t lineCount, TLineBreak lineBreak) {
  std::string out;
  if (lineCount == 0) return out;
  const std::string_view brk = LineBreakBytes(lineBreak);
  out.reserve(text.size() + lineCount * brk.size());
  std::size_t i = 0;
  while (true) {
    const std::size_t j = text.find('\n', i);
    out.append(text.substr(i, j == std::string_view::npos ? std::string_view::npos : j - i));
    out.append(brk);
    if (j == std::string_view::npos) break;
    i = j + 1;
  }
  return out;
}

}  // namespace vortan
