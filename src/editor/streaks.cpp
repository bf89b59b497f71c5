#include "editor/streaks.h"

#include <utility>

namespace vortan {

TStreaks::TStreaks(std::function<void(int)> repaint) : repaint_(std::move(repaint)) {}

TStreaks::~TStreaks() {
  // Items may outlive the collection through Extract: cut them loose.
  for (auto& item : items_) item->owner_ = nullptr;
}

TStreak* TStreaks::Add() {
  items_.push_back(std::unique_ptr<TStreak>(new TStreak(this)));
  return items_.back().get();
}

void TStreaks::Removing(TStreak& item) {
  if (Updating()) {
    // Change reports are held back now, so erase the line at once.
    const int old = item.column_;
    item.previous_ = old;
    item.column_ = 0;
    Repaint(old);
  } else {
    item.SetColumn(0);
  }
}

void TStreaks::Delete(int index) { Extract(index); }

std::unique_ptr<TStreak> TStreaks::Extract(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  Removing(*items_[static_cast<std::size_t>(index)]);
  std::unique_ptr<TStreak> item = std::move(items_[static_cast<std::size_t>(index)]);
  items_.erase(items_.begin() + index);
  item->owner_ = nullptr;
  return item;
}

void TStreaks::Clear() {
  BeginUpdate();
  while (!items_.empty()) Delete(Count() - 1);
  EndUpdate();
}

void TStreaks::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) {
    std::set<int> columns;
    columns.swap(pending_);
    for (int c : columns) Repaint(c);
  }
}

void TStreaks::SetColumns(const std::vector<int>& columns) {
  BeginUpdate();
  Clear();
  for (int c : columns) Add()->SetColumn(c);
  EndUpdate();
}

std::vector<int> TStreaks::Columns() const {
  std::vector<int> result;
  result.reserve(items_.size());
  for (const auto& item : items_) result.push_back(item->Column());
  return result;
}

void TStreaks::ItemChanged(const TStreak& item) {
  if (Updating()) {
    if (item.Column() > 0) pending_.insert(item.Column());
    if (item.PreviousColumn() > 0) pending_.insert(item.PreviousColumn());
    return;
  }
  Repaint(item.Column());
  if (item.PreviousColumn() != item.Column()) Repaint(item.PreviousColumn());
}

void TStreaks::Repaint(int column) {
  if (column > 0 && repaint_) repaint_(column);
}

}  // namespace vortan
