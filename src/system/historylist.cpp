#include "system/historylist.h"

#include <algorithm>

namespace vortan {

THistoryList::THistoryList(TSameFile sameFile, TExists exists)
    : sameFile_(std::move(sameFile)), exists_(std::move(exists)) {}

bool THistoryList::Add(const std::string& fileName, bool onTop) {
  if (fileName.empty() || !exists_(fileName)) return false;
  const std::size_t target = onTop ? 0 : 1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!sameFile_(items_[i], fileName)) continue;
    const std::size_t to = std::min(target, items_.size() - 1);
    if (i == to) return false;
    std::string kept = std::move(items_[i]);
    items_.erase(items_.begin() + std::ptrdiff_t(i));
    items_.insert(items_.begin() + std::ptrdiff_t(to), std::move(kept));
    return true;
  }
  const std::size_t at = std::min(target, items_.size());
  items_.insert(items_.begin() + std::ptrdiff_t(at), fileName);
  if (items_.size() > MaxEntries) items_.resize(MaxEntries);
  return true;
}

bool THistoryList::DropMissing() {
  const std::size_t before = items_.size();
  std::erase_if(items_, [this](const std::string& f) { return !exists_(f); });
  return items_.size() != before;
}

void THistoryList::Assign(std::vector<std::string> items) {
  items_ = std::move(items);
  std::erase_if(items_, [](const std::string& f) { return f.empty(); });
  if (items_.size() > MaxEntries) items_.resize(MaxEntries);
}

}  // namespace vortan
