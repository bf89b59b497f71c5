#pragma once
// The option groups the Find and Replace dialogs share: "Options" (case, whole words and,
// for Replace, prompt), "Direction", "Scope" and "Origin", with their settings.

#include <QString>

#include "editor/textsearch.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace vortan {

class TParlaxItem;

/// Setting ids of one dialog's options; `Prompt` is -1 where there is no prompt box.
struct TSearchOptionIds {
  int CaseSensitive, WholeWords, Prompt, Direction, Scope, Origin;
};

class TSearchOptionGroups {
 public:
  /// Creates the groups as children of `parent`. The two dialogs differ in the prompt box,
  /// the accelerators of "Forward" and "From cursor" and the order of the origin buttons.
  TSearchOptionGroups(QWidget* parent, bool withPrompt, const QString& forwardCaption,
                      const QString& fromCursorCaption, bool entireScopeFirst);

  /// Checks and selects the controls from the settings.
  void Read(const TSearchOptionIds& ids);
  /// Check boxes as booleans, direction, scope and origin as 0 or 1.
  void Write(const TSearchOptionIds& ids) const;
  /// The options the controls show (Replace, Replace all and Prompt are the caller's, but
  /// Prompt is taken from its box when there is one).
  TSearchOptions Options() const;
  void SetSelectedScope(bool selectedText);

  /// Texts from the block holding the groups ("Tab:Find" or "Form:Replace").
  void ApplyLanguage(const TParlaxItem& block);
  /// Places the groups in a 2-by-2 grid in `area` with `gap` pixels between them, and their
  /// buttons spread over each group's height.
  void Arrange(int left, int top, int width, int height, int gap);

  QGroupBox *grpOptions, *grpDirection, *grpScope, *grpOrigin;
  QCheckBox *chkCase, *chkWords, *chkPrompt = nullptr;
  QRadioButton *rdbForward, *rdbBackward, *rdbGlobal, *rdbSelectedText, *rdbFromCursor,
      *rdbEntireScope;
};

}  // namespace vortan
