#pragma once
// The main window's actions built from the action table: one QAction per row, named after
// it, with the image of the icon set. Their captions, hints and shortcuts come from the
// language tree through the main window's translation.

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "shell/actiontable.h"
#include "widgets/shortcuttext.h"

class QAction;
class QWidget;

namespace vortan {

class TIconSets;

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

  /// Gives every action its image of the set, or none for style 3 (no icons).
  void ApplyIconStyle(int style, TIconSets& icons);
  /// Gives the window the shortcuts of every action, once per key for commands that share a
  /// handler (run again after the shortcuts change).
  void HoldShortcuts(QWidget* window);
  /// Sets enabled and checked state of every action.
  void Update(const TActionState& state, const std::function<bool(const TActionRow&)>& checked);

 private:
  std::vector<QAction*> actions_;
  std::vector<const TActionRow*> rows_;
  std::unordered_map<std::string, std::size_t> byName_;
};

}  // namespace vortan
