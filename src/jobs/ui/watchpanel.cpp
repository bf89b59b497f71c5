#include "jobs/ui/watchpanel.h"

#include "i18n/stringtable.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {
constexpr int kPlaceholderRole = Qt::UserRole;
}

TWatchPanel::TWatchPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("trvWatch"));
  setColumnCount(2);
  setRootIsDecorated(false);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::SelectedClicked);
  Translate();
  AddPlaceholder();
  connect(this, &QTreeWidget::itemChanged, this, &TWatchPanel::Edited);
}

void TWatchPanel::Translate() {
  setHeaderLabels({LanguageText(Str(TStr::strDebugName)), LanguageText(Str(TStr::strDebugValue))});
  filling_ = true;
  for (int i = 0; i < topLevelItemCount(); ++i)
    if (IsPlaceholder(topLevelItem(i)))
      topLevelItem(i)->setText(0, LanguageText(Str(TStr::strDebugAddWatch)));
  filling_ = false;
}

bool TWatchPanel::IsPlaceholder(const QTreeWidgetItem* item) const {
  return item->data(0, kPlaceholderRole).toBool();
}

QTreeWidgetItem* TWatchPanel::AddRow(const QString& text) {
  filling_ = true;
  // An expression is one line: the stored list keeps one per line.
  QString line = text;
  line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  auto* item = new QTreeWidgetItem({line});
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  // New rows go above the placeholder, which stays last.
  const int count = topLevelItemCount();
  insertTopLevelItem(count > 0 && IsPlaceholder(topLevelItem(count - 1)) ? count - 1 : count, item);
  filling_ = false;
  return item;
}

void TWatchPanel::AddPlaceholder() {
  filling_ = true;
  auto* item = new QTreeWidgetItem(this, {LanguageText(Str(TStr::strDebugAddWatch))});
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  item->setData(0, kPlaceholderRole, true);
  item->setForeground(0, palette().color(QPalette::PlaceholderText));
  filling_ = false;
}

void TWatchPanel::AddExpression(const std::string& expression) {
  AddRow(QString::fromStdString(expression));
  Refresh(evaluate_);
  emit ExpressionsChanged();
}

void TWatchPanel::SetExpressions(const std::vector<std::string>& expressions) {
  for (int i = topLevelItemCount() - 1; i >= 0; --i)
    if (!IsPlaceholder(topLevelItem(i))) delete takeTopLevelItem(i);
  for (const std::string& e : expressions)
    if (!QString::fromStdString(e).trimmed().isEmpty()) AddRow(QString::fromStdString(e));
  Refresh(evaluate_);
}

std::vector<std::string> TWatchPanel::Expressions() const {
  std::vector<std::string> list;
  for (int i = 0; i < topLevelItemCount(); ++i)
    if (!IsPlaceholder(topLevelItem(i))) list.push_back(topLevelItem(i)->text(0).toStdString());
  return list;
}

void TWatchPanel::Edited(QTreeWidgetItem* item, int column) {
  if (filling_ || column != 0) return;
  const QString text = item->text(0).trimmed();
  if (IsPlaceholder(item)) {
    filling_ = true;
    item->setText(0, LanguageText(Str(TStr::strDebugAddWatch)));
    filling_ = false;
    if (text.isEmpty() || text == LanguageText(Str(TStr::strDebugAddWatch))) return;
    AddRow(text);
  } else if (text.isEmpty()) {
    delete item;
    emit ExpressionsChanged();
    return;
  }
  Refresh(evaluate_);
  emit ExpressionsChanged();
}

void TWatchPanel::Refresh(TEvaluate evaluate) {
  evaluate_ = std::move(evaluate);
  filling_ = true;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = topLevelItem(i);
    if (IsPlaceholder(item)) continue;
    std::string value;
    const bool ok = evaluate_ && evaluate_(item->text(0).toStdString(), value);
    item->setText(1, QString::fromStdString(value));
    item->setForeground(
        1, ok ? palette().color(QPalette::Text) : palette().color(QPalette::PlaceholderText));
    item->setToolTip(1, QString::fromStdString(value));
  }
  filling_ = false;
}

}  // namespace vortan
