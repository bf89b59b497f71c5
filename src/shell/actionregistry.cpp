#include "shell/actionregistry.h"

#include <QAction>
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
    const bool enabled = IsEnabled(row.Enable, state);
    if (a->isEnabled() != enabled) a->setEnabled(enabled);
    if (row.Check != TCheckRule::None) {
      const bool on = checked(row);
      if (a->isChecked() != on) a->setChecked(on);
    }
  }
}

}  // namespace vortan
