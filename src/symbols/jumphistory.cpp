#include "symbols/jumphistory.h"

namespace vortan {

void TJumpHistory::Jumped(const TJumpPlace& from) {
  if (back_.empty() || !(back_.back() == from)) back_.push_back(from);
  if (back_.size() > kLimit) back_.erase(back_.begin());
  forward_.clear();
}

std::optional<TJumpPlace> TJumpHistory::Back(const TJumpPlace& current) {
  if (back_.empty()) return std::nullopt;
  TJumpPlace to = back_.back();
  back_.pop_back();
  forward_.push_back(current);
  return to;
}

std::optional<TJumpPlace> TJumpHistory::Forward(const TJumpPlace& current) {
  if (forward_.empty()) return std::nullopt;
  TJumpPlace to = forward_.back();
  forward_.pop_back();
  back_.push_back(current);
  return to;
}

}  // namespace vortan
