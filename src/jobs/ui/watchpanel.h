#pragma once
// The Watch panel: Fortran expressions the user typed (A(2,3), A(2,:), N*2) and their values
// where the program stands. The last row takes a new expression; an emptied row goes.

#include <QTreeWidget>
#include <functional>
#include <string>
#include <vector>

namespace vortan {

class TWatchPanel : public QTreeWidget {
  Q_OBJECT
 public:
  /// Reads an expression: true with its value, false with why it cannot be read.
  using TEvaluate = std::function<bool(const std::string& expression, std::string& value)>;

  explicit TWatchPanel(QWidget* parent = nullptr);
  /// Reads every expression again; a null `evaluate` leaves the values empty (no program).
  void Refresh(TEvaluate evaluate);
  void AddExpression(const std::string& expression);
  /// Replaces the expressions (those of an earlier session); their values wait for a stop.
  void SetExpressions(const std::vector<std::string>& expressions);
  std::vector<std::string> Expressions() const;
  void Translate();

 signals:
  /// An expression was added, changed or removed.
  void ExpressionsChanged();

 private:
  void Edited(QTreeWidgetItem* item, int column);
  QTreeWidgetItem* AddRow(const QString& text);
  void AddPlaceholder();
  bool IsPlaceholder(const QTreeWidgetItem* item) const;

  TEvaluate evaluate_;
  bool filling_ = false;
};

}  // namespace vortan
