#pragma once
// The ordered collection of column guide lines a text control owns.

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "editor/streak.h"

namespace vortan {

class TStreaks {
 public:
  /// `repaint` is asked to repaint the strip of one column (always greater than 0).
  explicit TStreaks(std::function<void(int column)> repaint = {});
  ~TStreaks();
  TStreaks(const TStreaks&) = delete;
  TStreaks& operator=(const TStreaks&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TStreak* Item(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
  /// A new guide at the end, with column 0.
  TStreak* Add();
  /// Removal (deleting, extracting, clearing) first sets the item's column to 0 so that its
  /// line is erased.
  void Delete(int index);
  std::unique_ptr<TStreak> Extract(int index);
  void Clear();

  /// Change reports are held back between BeginUpdate and the matching EndUpdate, which then
  /// repaints every place that changed meanwhile.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

  /// Within one update: removes every guide, then adds one per column, in order.
  void SetColumns(const std::vector<int>& columns);
  std::vector<int> Columns() const;

 private:
  friend class TStreak;
  void ItemChanged(const TStreak& item);
  void Removing(TStreak& item);
  void Repaint(int column);

  std::vector<std::unique_ptr<TStreak>> items_;
  std::function<void(int)> repaint_;
  std::set<int> pending_;  // columns to repaint when the update ends
  int updateCount_ = 0;
};

}  // namespace vortan
