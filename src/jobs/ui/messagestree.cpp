#include "jobs/ui/messagestree.h"

#include <QAbstractItemView>
#include <QBitmap>
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QTreeWidget>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

enum TMessageRole : int {
  RoleRecord = Qt::UserRole + 20,
  RoleEditor,
  RoleLine,
  RoleColumn,
  RoleKind,
};

constexpr QSize kImageSize(10, 11);

// The image place of every entry: empty, except while the entry is selected.
const QIcon& EntryIcon() {
  static const QIcon icon = [] {
    QPixmap none(kImageSize);
    none.fill(Qt::transparent);
    QIcon i;
    i.addPixmap(none, QIcon::Normal);
    i.addPixmap(none, QIcon::Disabled);
    i.addPixmap(TMessagesView::MessageImage(), QIcon::Selected);
    return i;
  }();
  return icon;
}

void Fill(QTreeWidgetItem* item, const TMessageData& d) {
  item->setText(0, Local(d.Text));
  item->setIcon(0, EntryIcon());
  item->setData(0, RoleRecord, true);
  item->setData(0, RoleEditor, QVariant::fromValue(reinterpret_cast<quintptr>(d.Editor)));
  item->setData(0, RoleLine, d.Line);
  item->setData(0, RoleColumn, d.Column);
  item->setData(0, RoleKind, int(d.Kind));
}

QTreeWidgetItem* MakeItem(const TMessageNode& node) {
  auto* item = new QTreeWidgetItem;
  Fill(item, node.Data);
  if (!node.Children.empty()) {
    QList<QTreeWidgetItem*> children;
    children.reserve(qsizetype(node.Children.size()));
    for (const TMessageNode& child : node.Children) children << MakeItem(child);
    item->addChildren(children);
  }
  return item;
}

}  // namespace

TMessagesView::TMessagesView(QTreeWidget* tree, QObject* parent) : QObject(parent), tree_(tree) {
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setRootIsDecorated(true);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->setIconSize(kImageSize);
  tree_->setUniformRowHeights(true);
  // A right click selects the row under the mouse before the context menu opens.
  connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    if (QTreeWidgetItem* item = tree_->itemAt(pos)) tree_->setCurrentItem(item);
  });

  list_.ActiveEditor = [this]() -> const TfrmEditor* {
    return ActiveEditor ? ActiveEditor() : nullptr;
  };
  list_.OnChanged = [this] { Rebuild(); };
  connect(tree_, &QTreeWidget::currentItemChanged, this, &TMessagesView::CurrentChanged);
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenMessage(); });
  // Enter opens the selected message as a double click does, for the keyboard.
  tree_->installEventFilter(this);
}

bool TMessagesView::eventFilter(QObject* watched, QEvent* e) {
  if (watched == tree_ && e->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      OpenMessage();
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}

namespace {
void AppendLines(const QTreeWidgetItem* item, int depth, QString& text) {
  text += QString(depth * 2, QLatin1Char(' ')) + item->text(0) + QLatin1Char('\n');
  for (int i = 0; i < item->childCount(); ++i) AppendLines(item->child(i), depth + 1, text);
}
}  // namespace

QString TMessagesView::SelectedText() const {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty()) return {};
  QString text;
  AppendLines(selected.first(), 0, text);
  return text;
}

void TMessagesView::CopyToClipboard() {
  const QString text = SelectedText();
  if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}

QPixmap TMessagesView::MessageImage() {
  // Drawn on magenta, the strip's transparent colour, which the mask then takes out.
  QPixmap strip(kImageSize);
  strip.fill(Qt::magenta);
  {
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QPoint triangle[] = {{2, 1}, {2, 9}, {6, 5}};
    p.drawPolygon(triangle, 3);
  }
  strip.setMask(strip.createMaskFromColor(Qt::magenta));
  return strip;
}

void TMessagesView::Rebuild() {
  const QSignalBlocker block(tree_);
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  QList<QTreeWidgetItem*> top;
  top.reserve(qsizetype(list_.Top().size()));
  for (const TMessageNode& node : list_.Top()) top << MakeItem(node);
  tree_->addTopLevelItems(top);
  tree_->setUpdatesEnabled(true);
}

std::optional<TMessageData> TMessagesView::DataOf(const QTreeWidgetItem* item) const {
  if (item == nullptr || !item->data(0, RoleRecord).toBool()) return std::nullopt;
  TMessageData d;
  d.Text = LocalBytes(item->text(0));
  d.Editor = reinterpret_cast<TfrmEditor*>(item->data(0, RoleEditor).value<quintptr>());
  d.Line = item->data(0, RoleLine).toInt();
  d.Column = item->data(0, RoleColumn).toInt();
  d.Kind = static_cast<TMessageKind>(item->data(0, RoleKind).toInt());
  return d;
}

void TMessagesView::CurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
  if (current == nullptr || !ReadBool(sidAutoExpandMessages)) return;
  current->setExpanded(true);
  if (previous != nullptr && previous != current && previous->parent() == current->parent())
    previous->setExpanded(false);
}

void TMessagesView::OpenMessage() {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty()) return;
  Open(selected.first(), false);
}

void TMessagesView::Open(const QTreeWidgetItem* item, bool keepMarks) {
  if (const std::optional<TMessageData> d = DataOf(item)) OpenPlace(*d, keepMarks);
}

void TMessagesView::OpenPlace(const TMessageData& place, bool keepMarks) {
  TfrmEditor* active = ActiveEditor ? ActiveEditor() : nullptr;
  const TMessageData* d = &place;
  if (active == nullptr || d->Editor == nullptr) return;
  TfrmEditor* editor = d->Editor;
  // Activating also restores a minimised window, which may well be the active one already:
  // the marked line must be seen.
  if (ActivateEditor) ActivateEditor(editor);
  if (!keepMarks) editor->ClearErrorLines();
  // Line 0 comes only from word lists and names no line of the text.
  if (d->Line > 0) {
    editor->MarkErrorLine(d->Line);
    editor->SetCaret(d->Line, editor->CaretColumn());
    editor->SetCaret(d->Line, d->Column > 0 ? d->Column : 1);
    editor->EnsureCaretVisible();
  }
  if (editor->SynEdit() != nullptr)
    editor->SynEdit()->setFocus(Qt::OtherFocusReason);
  else
    editor->setFocus(Qt::OtherFocusReason);
}

QTreeWidgetItem* TMessagesView::FirstErrorItem() const {
  // An error that names a window is preferred: a word list read before the first message is
  // of the error kind too, but cannot be opened.
  QTreeWidgetItem* first = nullptr;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = tree_->topLevelItem(i);
    const std::optional<TMessageData> d = DataOf(item);
    if (!d || d->Kind != mkError) continue;
    // A group of the compiler's findings opens at its first error, not at the group.
    for (int c = 0; c < item->childCount(); ++c) {
      const std::optional<TMessageData> child = DataOf(item->child(c));
      if (child && child->Kind == mkError) {
        item = item->child(c);
        break;
      }
    }
    if (first == nullptr) first = item;
    if (d->Editor != nullptr) {
      first = item;
      break;
    }
  }
  return first;
}

QTreeWidgetItem* TMessagesView::SelectFirstError() {
  QTreeWidgetItem* first = FirstErrorItem();
  if (first == nullptr) return nullptr;
  tree_->clearSelection();
  tree_->setCurrentItem(first);
  first->setSelected(true);
  tree_->scrollToItem(first);
  return first;
}

bool TMessagesView::OpenFirstError() {
  if (SelectFirstError() == nullptr) return false;
  OpenMessage();
  return true;
}

bool TMessagesView::LandOnFirstError() {
  QTreeWidgetItem* first = SelectFirstError();
  if (first == nullptr) return false;
  Open(first, true);
  return true;
}

}  // namespace vortan
