#pragma once
// Reading a text line by line without copying it.

#include <cstddef>
#include <string_view>

namespace vortan {

/// The lines of a text one by one, split at LF (a CR before the LF stays in the line). A
/// final LF ends the last line; no empty line follows it.
///   for (std::string_view line; lines.Next(line);) ...
class TTextLines {
 public:
  explicit TTextLines(std::string_view text) : text_(text) {}

  /// The next line; false when the text is used up.
  bool Next(std::string_view& line) {
    if (start_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', start_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(start_, end - start_);
    start_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t start_ = 0;
};

}  // namespace vortan
