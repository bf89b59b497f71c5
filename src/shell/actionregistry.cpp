#include "shell/actionregistry.h"

#include <QAction>
#include <QWidget>
#include <algorithm>
#include <cctype>

#include "shell/iconsets.h"

namespace vortan {

TActionRegistry::TActionRegistry(QObject* owner) {
  for (const TActionRow& row : ActionTable()) {
    auto* a = new QAction(owner);
    a->setObjectName(QString::fromLatin1(row.Name));
    a->setText(QString::fromLatin1(row.Key));
    if (row.Check != TCheckRule::None) a->setCheckable(true);
    if (row.Hidden) {
      a->setVisible(false);
      a->setEnabled(false);
    }
    byName_[row.Name] = actions_.size();
    actions_.push_back(a);
    rows_.push_back(&row);
  }
}

QAction* TActionRegistry::Action(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : actions_[it->second];
}

const TActionRow* TActionRegistry::Row(const QAction* action) const {
  auto it = std::find(actions_.begin(), actions_.end(), action);
  return it == actions_.end() ? nullptr : rows_[std::size_t(it - actions_.begin())];
}

void TActionRegistry::ApplyIconStyle(int style, TIconSets& icons) {
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    const int index = style >= 0 && style < IconSetCount ? rows_[i]->Image[style] : -1;
    actions_[i]->setIcon(index < 0 ? QIcon() : icons.Icon(style, index));
  }
}

void TActionRegistry::Update(const TActionState& state,
                             const std::function<bool(const TActionRow&)>& checked) {
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    const TActionRow& row = *rows_[i];
    QAction* a = actions_[i];
    // A command without a handler yet must not look as if it could do something.
    const bool enabled = (row.Run || row.SubmenuHead) && IsEnabled(row.Enable, state);
    if (a->isEnabled() != enabled) a->setEnabled(enabled);
    if (row.Check != TCheckRule::None) {
      const bool on = checked(row);
      if (a->isChecked() != on) a->setChecked(on);
    }
  }
}

void TActionRegistry::HoldShortcuts(QWidget* window) {
  // Qt fires neither of two shortcuts with the same keys, even when one of them sits in a
  // menu only. Where one handler serves several commands (Close All in the File and in the
  // Window menu) the first holds the keys; the others show them beside their caption.
  std::vector<std::pair<QKeySequence, const TActionRow*>> held;
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    QAction* a = actions_[i];
    window->addAction(a);
    QString text = a->text();
    if (const auto tab = text.indexOf(QLatin1Char('\t')); tab >= 0) text.truncate(tab);
    const QKeySequence key = a->shortcut().isEmpty() && text != a->text()
                                 ? QKeySequence(a->text().mid(text.size() + 1))
                                 : a->shortcut();
    bool twin = false;
    if (!key.isEmpty())
      for (const auto& [k, row] : held)
        if (k == key && row->Run && row->Run == rows_[i]->Run) twin = true;
    if (twin) {
      a->setShortcut({});
      a->setText(text + QLatin1Char('\t') + key.toString(QKeySequence::NativeText));
    } else {
      if (text != a->text()) a->setText(text);
      if (a->shortcut() != key) a->setShortcut(key);
      if (!key.isEmpty()) held.emplace_back(key, rows_[i]);
    }
  }
}

}  // namespace vortan
