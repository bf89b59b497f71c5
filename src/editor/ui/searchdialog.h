#pragma once
// What the Find and Replace dialogs share: the box for the text to find with its history,
// the option groups, the OK, Cancel and Help buttons, the fixed size and the focus on the
// find box when shown. Made on first use and kept for the run; the options and the find
// history come from the settings when a dialog is made and go back when it is destroyed.

#include <QDialog>
#include <initializer_list>
#include <memory>

#include "editor/ui/searchoptiongroups.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vortan {

class TParlaxItem;

class TSearchDialog : public QDialog {
  Q_OBJECT
 public:
  ~TSearchDialog() override;

  /// The proposed search text and scope (from the editor's selection or caret).
  virtual void Preset(const QString& text, bool selectedText);
  QString SearchText() const;

  QComboBox* cbxFind() const { return cbxFind_; }
  TSearchOptionGroups& Groups() const { return *groups_; }

 protected:
  TSearchDialog(QWidget* parent, const char* objectName, int width, int height,
                const TSearchOptionIds& ids, int findHistoryId);

  /// An editable box with the history of `settingId`, a child of `page`.
  static QComboBox* HistoryBox(QWidget* page, const char* name, int settingId);
  static QLabel* Label(QWidget* page, const char* name);

  // The controls are made by the dialogs in their tab order: the find box, their own
  // boxes, the groups, then the buttons.
  void MakeFindBox(QWidget* page);
  void MakeGroups(QWidget* page, bool withPrompt, const QString& forwardCaption,
                  const QString& fromCursorCaption, bool entireScopeFirst);
  /// The default button; what it does is the dialog's.
  void MakeOkButton();
  QPushButton* MakeButton(const char* name);
  /// Cancel and Help, after the dialog's own buttons.
  void MakeCancelAndHelp();

  /// The find box's label and box, and the groups, from `block`; the buttons from `form`.
  void ApplySearchTexts(const TParlaxItem& form, const TParlaxItem& block);
  /// A box at `top` after its label, the label centred on the box's line.
  void PlaceBox(QLabel* label, QComboBox* box, int top);
  /// The bottom row of buttons from the right; `fitted` is as wide as its caption needs.
  /// Returns the row's top.
  int PlaceButtons(std::initializer_list<QPushButton*> rightToLeft, QPushButton* fitted = nullptr);
  virtual void Arrange() = 0;
  void showEvent(QShowEvent* e) override;

  QLabel* lblFind_ = nullptr;
  QComboBox* cbxFind_ = nullptr;
  std::unique_ptr<TSearchOptionGroups> groups_;
  QPushButton *btnOK_ = nullptr, *btnCancel_ = nullptr, *btnHelp_ = nullptr;

 private:
  const TSearchOptionIds ids_;
  const int findHistoryId_;
};

}  // namespace vortan
