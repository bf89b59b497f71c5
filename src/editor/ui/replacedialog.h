#pragma once
// The Replace dialog: the text to find and its replacement with their histories, and the
// search options with "Prompt on replace". OK replaces one occurrence, Replace All every
// one. The replacement box starts with the newest replacement. Made on first use and kept for the run; options and histories come from the settings
// when it is made and go back to them when it is destroyed.

#include <QDialog>
#include <memory>

#include "editor/textsearch.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vortan {

class TParlax;
class TSearchOptionGroups;

class TfrmReplace : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmReplace(QWidget* parent = nullptr);
  ~TfrmReplace() override;

  /// The proposed search text and scope.
  void Preset(const QString& text, bool selectedText);
  QString SearchText() const;
  QString ReplaceText() const;
  /// The options with Replace set, and Replace all when the dialog was closed with Replace All.
  TSearchOptions Options() const;
  /// Both texts go on top of their histories.
  void RememberTexts();
  bool ReplaceAllChosen() const { return replaceAll_; }

  QComboBox* cbxFind() const { return cbxFind_; }
  QComboBox* cbxReplace() const { return cbxReplace_; }
  QPushButton* btnReplace() const { return btnReplace_; }
  TSearchOptionGroups& Groups() const { return *groups_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void ApplyLanguage(TParlax& language);
  void Arrange();

  QLabel *lblFind_, *lblReplace_;
  QComboBox *cbxFind_, *cbxReplace_;
  std::unique_ptr<TSearchOptionGroups> groups_;
  QPushButton *btnOK_, *btnReplace_, *btnCancel_, *btnHelp_;
  bool replaceAll_ = false;
};

}  // namespace vortan
