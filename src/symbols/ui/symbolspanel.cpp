#include "symbols/ui/symbolspanel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <map>

#include "i18n/stringtable.h"
#include "platform/text.h"
#include "platform/textlines.h"
#include "symbols/ui/symbolindexer.h"
#include "widgets/qtconvert.h"

namespace vortan {
namespace {

enum TRole { FileRole = Qt::UserRole, LineRole, ColumnRole, NameRole, PendingRole };

QString Text(const std::string& s) { return LanguageText(s); }

// The lines of a text, 1-based, without their breaks.
std::vector<std::string_view> Lines(const std::string& text) {
  std::vector<std::string_view> out{std::string_view()};
  TTextLines reader(text);
  for (std::string_view l; reader.Next(l);) {
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    out.push_back(l);
  }
  return out;
}

}  // namespace

TSymbolsPanel::TSymbolsPanel(TSymbolIndexer& indexer, std::function<std::string()> currentFile,
                             QWidget* parent)
    : QWidget(parent), indexer_(indexer), currentFile_(std::move(currentFile)) {
  setObjectName(QStringLiteral("pnlSymbols"));
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(2);
  mode_ = new QComboBox(this);
  mode_->setObjectName(QStringLiteral("cbxSymbolsMode"));
  for (int i = 0; i < 5; ++i) mode_->addItem(QString());
  filter_ = new QLineEdit(this);
  filter_->setObjectName(QStringLiteral("edtSymbolsFilter"));
  filter_->setClearButtonEnabled(true);
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("trvSymbols"));
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  box->addWidget(mode_);
  box->addWidget(filter_);
  box->addWidget(tree_, 1);
  Retranslate();

  connect(mode_, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) Refresh();
  });
  connect(filter_, &QLineEdit::textChanged, this, [this] { Refresh(); });
  connect(tree_, &QTreeWidget::itemExpanded, this, &TSymbolsPanel::Expand);
  // The outline and the trees open on a click; a reference on a double click (or Enter), so
  // that the results can be read through without leaving the list.
  connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (Mode() != References) Open(item);
  });
  connect(tree_, &QTreeWidget::itemActivated, this, &TSymbolsPanel::Open);
  // An edit changes one file: the outline of all files (thousands of rows) waits for the next
  // whole index, so that a pause in typing never costs a rebuild of it.
  connect(&indexer_, &TSymbolIndexer::Changed, this, [this] {
    if (isVisible() && Mode() == ThisFile) Refresh();
  });
  connect(&indexer_, &TSymbolIndexer::Replaced, this, [this] {
    if (isVisible() && Mode() == AllFiles) Refresh();
  });
}

void TSymbolsPanel::Retranslate() {
  const TStr names[] = {TStr::strSymbolsThisFile, TStr::strSymbolsAllFiles, TStr::strSymbolsCalls,
                        TStr::strSymbolsCalledBy, TStr::strSymbolsReferences};
  for (int i = 0; i < 5; ++i) mode_->setItemText(i, Text(Str(names[i])));
  filter_->setPlaceholderText(Text(Str(TStr::strSymbolsFilter)));
}

TSymbolsPanel::TMode TSymbolsPanel::Mode() const { return TMode(mode_->currentIndex()); }

void TSymbolsPanel::SetMode(TMode mode) {
  if (Mode() == mode) {
    Refresh();
    return;
  }
  mode_->setCurrentIndex(mode);
}

QTreeWidgetItem* TSymbolsPanel::AddNode(QTreeWidgetItem* parent, const TSymbolNode& node) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
  QString text = Text(node.Text);
  if (node.Recursive) text += QLatin1Char(' ') + Text(Str(TStr::strRecursive));
  item->setText(0, text);
  item->setToolTip(0, text);  // a long header is cut by a narrow panel
  item->setData(0, FileRole, Local(node.Where.File));
  item->setData(0, LineRole, node.Where.Line);
  item->setData(0, ColumnRole, node.Where.Column);
  item->setData(0, NameRole, QString::fromStdString(node.Where.Name));
  for (const TSymbolNode& c : node.Children) AddNode(item, c);
  return item;
}

void TSymbolsPanel::Refresh() {
  tree_->clear();
  const TMode mode = Mode();
  filter_->setEnabled(mode == ThisFile || mode == AllFiles);
  tree_->setHeaderHidden(mode != References);
  tree_->setColumnCount(mode == References ? 3 : 1);
  tree_->setRootIsDecorated(mode != References);
  const TSymbolIndex& index = indexer_.Index();
  if (mode == ThisFile || mode == AllFiles) {
    std::vector<std::string> files;
    if (mode == AllFiles)
      files = index.Files();
    else if (std::string f = currentFile_(); !f.empty())
      files.push_back(f);
    const std::string filter = LocalBytes(filter_->text());
    for (const TSymbolNode& n : SymbolOutline(index, files, filter)) AddNode(nullptr, n);
    // A filtered tree or one file shows its rows open; all files start closed.
    if (mode == ThisFile || !filter.empty()) tree_->expandAll();
  } else if (mode == Calls || mode == CalledBy) {
    if (root_.empty()) return;
    TSymbolLocation where;
    const auto defs = index.UnitDefinitions(root_);
    if (!defs.empty()) where = defs.front();
    where.Name = root_;
    QTreeWidgetItem* root = AddNode(nullptr, {TSymbolNodeKind::Unit, root_, where, false, {}});
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    root->setData(0, PendingRole, true);
    root->setExpanded(true);
  } else {
    // Each file is read once for the text of its lines.
    std::map<std::string, std::string> texts;
    for (const TSymbolLocation& r : references_) {
      auto [it, added] = texts.try_emplace(r.File);
      if (added) it->second = index.FileText(r.File);
    }
    std::map<std::string, std::vector<std::string_view>> lines;
    for (auto& [file, text] : texts) lines[file] = Lines(text);
    for (const TSymbolLocation& r : references_) {
      auto* item = new QTreeWidgetItem(tree_);
      const auto& l = lines[r.File];
      item->setText(0, Local(std::filesystem::path(r.File).filename().string()));
      item->setText(1, QString::number(r.Line));
      if (r.Line > 0 && std::size_t(r.Line) < l.size())
        item->setText(2, Text(std::string(Trim(l[std::size_t(r.Line)]))));
      item->setToolTip(0, Local(r.File));
      item->setData(0, FileRole, Local(r.File));
      item->setData(0, LineRole, r.Line);
      item->setData(0, ColumnRole, r.Column);
      item->setData(0, NameRole, QString::fromStdString(r.Name));
    }
    tree_->resizeColumnToContents(0);
    tree_->resizeColumnToContents(1);
  }
}

void TSymbolsPanel::Expand(QTreeWidgetItem* item) {
  if (!item->data(0, PendingRole).toBool()) return;
  item->setData(0, PendingRole, false);
  // The units from the root down to this one: a child among them is recursion, shown once.
  std::vector<std::string> path;
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
    path.push_back(p->data(0, NameRole).toString().toStdString());
  const std::string name = item->data(0, NameRole).toString().toStdString();
  for (const TSymbolNode& n : CallTreeLevel(indexer_.Index(), name, path, Mode() == CalledBy)) {
    QTreeWidgetItem* child = AddNode(item, n);
    if (!n.Recursive && !n.Where.File.empty()) {
      child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      child->setData(0, PendingRole, true);
    }
  }
  if (item->childCount() == 0)
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TSymbolsPanel::ShowCallTree(const std::string& unit, bool callers) {
  root_ = unit;
  filling_ = true;
  mode_->setCurrentIndex(callers ? CalledBy : Calls);
  filling_ = false;
  Refresh();
}

void TSymbolsPanel::ShowReferences(const std::string& name,
                                   const std::vector<TSymbolLocation>& places) {
  referencesOf_ = name;
  references_ = places;
  filling_ = true;
  mode_->setCurrentIndex(References);
  filling_ = false;
  Refresh();
  tree_->setHeaderLabels({QString(), QString(), Title()});
}

QString TSymbolsPanel::Title() const {
  return QString::fromStdString(
      FormatText(TStr::strReferencesFound, {std::to_string(references_.size()), referencesOf_}));
}

void TSymbolsPanel::Open(QTreeWidgetItem* item) {
  if (!item) return;
  const int line = item->data(0, LineRole).toInt();
  if (line <= 0) return;
  emit OpenPlace({LocalBytes(item->data(0, FileRole).toString()), line,
                  item->data(0, ColumnRole).toInt(),
                  item->data(0, NameRole).toString().toStdString()});
}

}  // namespace vortan
