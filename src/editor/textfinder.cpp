#include "editor/textfinder.h"

#include <algorithm>

namespace vortan {

bool TTextFinder::Handles(std::string_view search) {
  return !search.empty() && std::all_of(search.begin(), search.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80;
  });
}

TTextFinder::TTextFinder(std::string_view search, bool matchCase)
    : needle_(search), matchCase_(matchCase) {
  for (int b = 0; b < 256; ++b)
    fold_[b] = static_cast<unsigned char>(!matchCase && b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
  // The shift of a byte is how far the window may move when that byte is under its edge.
  const std::size_t n = needle_.size();
  forwardShift_.fill(n);
  backwardShift_.fill(n);
  for (int b = 0; b < 256; ++b) {
    const auto fb = fold_[b];
    for (std::size_t i = 0; i + 1 < n; ++i)
      if (fold_[static_cast<unsigned char>(needle_[i])] == fb) forwardShift_[b] = n - 1 - i;
    for (std::size_t i = n - 1; i > 0; --i)
      if (fold_[static_cast<unsigned char>(needle_[i])] == fb) backwardShift_[b] = i;
  }
}

bool TTextFinder::MatchesAt(std::string_view text, std::size_t at) const {
  for (std::size_t i = 0; i < needle_.size(); ++i)
    if (!Equal(static_cast<unsigned char>(text[at + i]), static_cast<unsigned char>(needle_[i])))
      return false;
  return true;
}

std::size_t TTextFinder::Next(std::string_view text, std::size_t from) const {
  const std::size_t n = needle_.size();
  if (n == 0 || text.size() < n) return std::string_view::npos;
  if (matchCase_) return text.find(needle_, from);
  for (std::size_t at = from; at + n <= text.size();
       at += forwardShift_[static_cast<unsigned char>(text[at + n - 1])])
    if (MatchesAt(text, at)) return at;
  return std::string_view::npos;
}

std::size_t TTextFinder::Previous(std::string_view text, std::size_t end) const {
  const std::size_t n = needle_.size();
  end = std::min(end, text.size());
  if (n == 0 || end < n) return std::string_view::npos;
  for (std::size_t at = end - n;;) {
    if (MatchesAt(text, at)) return at;
    const std::size_t shift = backwardShift_[static_cast<unsigned char>(text[at])];
    if (at < shift) return std::string_view::npos;
    at -= shift;
  }
}

}  // namespace vortan
