#pragma once
// One column guide line of the text control.

#include <string>

namespace vortan {

class TStreaks;

class TStreak {
 public:
  /// The text column after which the line is drawn (1-based); 0 or less draws nothing.
  int Column() const { return column_; }
  /// A different value remembers the old one and reports the change to the collection,
  /// which repaints the old and the new place.
  void SetColumn(int column);
  /// The column before the last change, so that the old line can be erased.
  int PreviousColumn() const { return previous_; }
  /// "Column = " and the column number.
  std::string DisplayName() const;
  TStreaks* Collection() const { return owner_; }

 private:
  friend class TStreaks;
  explicit TStreak(TStreaks* owner) : owner_(owner) {}

  TStreaks* owner_;
  int column_ = 0;
  int previous_ = 0;
};

}  // namespace vortan
