#pragma once
// The main window's actions built from the action table: one QAction per row, named after
// it, with the caption, hint and shortcut of the language tree and the image of the icon set.

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "shell/actiontable.h"

class QAction;

namespace vortan {

class TParlaxItem;
class TIconSets;

/// A shortcut text of a language file ("Shift+Ctrl+S", "Del", "PgDn"); blanks are ignored and
/// letter case does not matter. Empty or unreadable text gives no shortcut.
QKeySequence ParseShortcut(const std::string& text);

class TActionRegistry {
 public:
  /// Creates every action as a child of `owner`.
  explicit TActionRegistry(QObject* owner);

  /// The action of that name, or nullptr.
  QAction* Action(const std::string& name) const;
  QAction* operator[](const std::string& name) const { return Action(name); }
  /// The table row of an action created here, or nullptr.
  const TActionRow* Row(const QAction* action) const;
  const std::vector<QAction*>& All() const { return actions_; }

  /// Sets captions, hints and shortcuts from a "Form:Main" block. A value missing from the
  /// block leaves the action's text unchanged.
  void ApplyTexts(const TParlaxItem& formMain);
  /// Gives every action its image of the set, or none for style 3 (no icons).
  void ApplyIconStyle(int style, TIconSets& icons);
  /// Sets enabled and checked state of every action.
  void Update(const TActionState& state, const std::function<bool(const TActionRow&)>& checked);

 private:
  std::vector<QAction*> actions_;
  std::vector<const TActionRow*> rows_;
  std::unordered_map<std::string, std::size_t> byName_;
};

}  // namespace vortan
