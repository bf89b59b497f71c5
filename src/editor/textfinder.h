#pragma once
// Finds an ASCII search text in a document's UTF-8 text as the control holds it, without
// converting the text to the document's bytes first. The control keeps ASCII as it is and
// writes every other character with bytes from 0x80 up, and no byte beyond ASCII of either
// code page lowers to an ASCII letter (the search compares lowered bytes): an ASCII text
// therefore matches the UTF-8 text wherever it matches the document's bytes. Lines without a
// match can so be passed over unread.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vortan {

class TTextFinder {
 public:
  /// Only an ASCII search text can be looked for in UTF-8 this way.
  static bool Handles(std::string_view search);

  /// `search` must be ASCII and not empty; without `matchCase` letters match either case.
  TTextFinder(std::string_view search, bool matchCase);

  std::string_view Search() const { return needle_; }
  bool MatchCase() const { return matchCase_; }

  /// The first occurrence that starts at or after `from`; npos when none.
  std::size_t Next(std::string_view text, std::size_t from) const;
  /// The last occurrence that ends at or before `end`; npos when none.
  std::size_t Previous(std::string_view text, std::size_t end) const;

 private:
  bool Equal(unsigned char a, unsigned char b) const { return fold_[a] == fold_[b]; }
  bool MatchesAt(std::string_view text, std::size_t at) const;

  std::string needle_;
  bool matchCase_;
  std::array<unsigned char, 256> fold_{};         // a byte as compared: lowered without matchCase
  std::array<std::size_t, 256> forwardShift_{};   // Horspool: by the byte under the window's last
  std::array<std::size_t, 256> backwardShift_{};  // by the byte under the window's first
};

}  // namespace vortan
