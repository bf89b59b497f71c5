#pragma once
// The Variables panel: the arguments and locals of a frame, COMMON members under their block,
// arrays expandable by subscript in Fortran order and read a page at a time.

#include <QTreeWidget>
#include <functional>
#include <memory>
#include <vector>

#include "jobs/debugdata.h"

namespace vortan {

class TVariablesPanel : public QTreeWidget {
  Q_OBJECT
 public:
  /// Elements read at once when an array opens, and per click on "more...".
  static constexpr long PageSize = 100;
  /// Reads `count` parts of an array from `from` (gdb's var-object is kept in the parent).
  using TFetch =
      std::function<std::vector<TDebugVariable>(TDebugVariable& parent, long from, long count)>;

  explicit TVariablesPanel(QWidget* parent = nullptr);
  void ShowVariables(std::vector<TDebugVariable> variables, TFetch fetch);
  void ClearVariables();
  void Translate();
  /// Reads the next page of the array item whose "more..." row this is.
  void LoadMore(QTreeWidgetItem* moreItem);

 private:
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, TDebugVariable variable, int index = -1);
  void Expand(QTreeWidgetItem* item);
  void AddPage(QTreeWidgetItem* item, long from);
  TDebugVariable* NodeOf(QTreeWidgetItem* item) const;

  std::vector<std::unique_ptr<TDebugVariable>> nodes_;
  TFetch fetch_;
};

}  // namespace vortan
