#include "editor/streak.h"

#include "editor/streaks.h"

namespace vortan {

void TStreak::SetColumn(int column) {
  if (column == column_) return;
  previous_ = column_;
  column_ = column;
  if (owner_) owner_->ItemChanged(*this);
}

std::string TStreak::DisplayName() const { return "Column = " + std::to_string(column_); }

}  // namespace vortan
