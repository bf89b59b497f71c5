#include "jobs/ui/variablespanel.h"

#include <QHeaderView>
#include <map>

#include "i18n/stringtable.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

// Roles of an item: the node it shows; for a "more..." row, the next element to read.
constexpr int kNodeRole = Qt::UserRole;
constexpr int kMoreRole = Qt::UserRole + 1;

}  // namespace

TVariablesPanel::TVariablesPanel(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("trvVariables"));
  setColumnCount(3);
  setUniformRowHeights(true);
  Translate();
  connect(this, &QTreeWidget::itemExpanded, this, &TVariablesPanel::Expand);
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (item->data(0, kMoreRole).isValid()) LoadMore(item);
  });
}

void TVariablesPanel::Translate() {
  setHeaderLabels({LanguageText(Str(TStr::strDebugName)), LanguageText(Str(TStr::strDebugValue)),
                   LanguageText(Str(TStr::strDebugType))});
}

void TVariablesPanel::ClearVariables() {
  clear();
  nodes_.clear();
}

void TVariablesPanel::ShowVariables(std::vector<TDebugVariable> variables, TFetch fetch) {
  // Which arrays were open stays so across steps.
  std::map<QString, bool> open;
  for (QTreeWidgetItemIterator it(this); *it; ++it)
    if ((*it)->isExpanded()) open[(*it)->text(0)] = true;
  setUpdatesEnabled(false);
  ClearVariables();
  fetch_ = std::move(fetch);
  std::map<std::string, QTreeWidgetItem*> blocks;
  for (TDebugVariable& v : variables) {
    QTreeWidgetItem* parent = nullptr;
    if (!v.Common.empty()) {
      QTreeWidgetItem*& block = blocks[v.Common];
      if (!block) {
        block = new QTreeWidgetItem(this, {QString::fromStdString("COMMON /" + v.Common + "/")});
        block->setExpanded(true);
      }
      parent = block;
    }
    AddItem(parent, std::move(v));
  }
  for (QTreeWidgetItemIterator it(this); *it; ++it)
    if (open.count((*it)->text(0)) &&
        (*it)->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator)
      (*it)->setExpanded(true);
  setUpdatesEnabled(true);
  resizeColumnToContents(0);
}

QTreeWidgetItem* TVariablesPanel::AddItem(QTreeWidgetItem* parent, TDebugVariable variable,
                                          int index) {
  const QStringList texts{QString::fromStdString(variable.Name),
                          QString::fromStdString(variable.Value),
                          QString::fromStdString(variable.Type.Text())};
  auto* item = new QTreeWidgetItem(texts);
  if (parent && index >= 0)
    parent->insertChild(index, item);
  else if (parent)
    parent->addChild(item);
  else
    addTopLevelItem(item);
  item->setToolTip(1, texts[1]);
  if (variable.Children > 0) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  item->setData(0, kNodeRole, static_cast<qulonglong>(nodes_.size()));
  nodes_.push_back(std::make_unique<TDebugVariable>(std::move(variable)));
  return item;
}

TDebugVariable* TVariablesPanel::NodeOf(QTreeWidgetItem* item) const {
  const QVariant v = item->data(0, kNodeRole);
  if (!v.isValid()) return nullptr;
  const auto i = v.toULongLong();
  return i < nodes_.size() ? nodes_[i].get() : nullptr;
}

void TVariablesPanel::Expand(QTreeWidgetItem* item) {
  TDebugVariable* node = NodeOf(item);
  if (!node || item->childCount() > 0 || node->Children <= 0) return;
  AddPage(item, 0);
}

void TVariablesPanel::AddPage(QTreeWidgetItem* item, long from) {
  TDebugVariable* node = NodeOf(item);
  if (!node || !fetch_) return;
  std::vector<TDebugVariable> page = fetch_(*node, from, PageSize);
  // The "more..." row, if any, stays last.
  int at = item->childCount();
  if (at > 0 && item->child(at - 1)->data(0, kMoreRole).isValid()) --at;
  const long count = static_cast<long>(page.size());
  for (TDebugVariable& child : page) AddItem(item, std::move(child), at++);
  const long next = from + count;
  QTreeWidgetItem* more = at < item->childCount() ? item->child(at) : nullptr;
  if (count > 0 && next < node->Children) {
    if (!more) {
      more = new QTreeWidgetItem(item, {LanguageText(Str(TStr::strDebugMore))});
      more->setForeground(0, palette().color(QPalette::Link));
    }
    more->setData(0, kMoreRole, static_cast<qlonglong>(next));
  } else {
    delete more;
  }
}

void TVariablesPanel::LoadMore(QTreeWidgetItem* moreItem) {
  QTreeWidgetItem* parent = moreItem->parent();
  if (!parent) return;
  AddPage(parent, moreItem->data(0, kMoreRole).toLongLong());
}

}  // namespace vortan
