#pragma once
// The Replace dialog: the text to find and its replacement with their histories, and the
// search options with "Prompt on replace". OK replaces one occurrence, Replace All every
// one. The replacement box starts with the newest replacement; its history goes back to
// the settings with the others when the dialog is destroyed.

#include "editor/textsearch.h"
#include "editor/ui/searchdialog.h"

namespace vortan {

class TParlax;

class TfrmReplace : public TSearchDialog {
  Q_OBJECT
 public:
  explicit TfrmReplace(QWidget* parent = nullptr);
  ~TfrmReplace() override;

  /// The proposed search text and scope; Replace All is not chosen yet.
  void Preset(const QString& text, bool selectedText) override;
  QString ReplaceText() const;
  /// The options with Replace set, and Replace all when the dialog was closed with Replace All.
  TSearchOptions Options() const;
  /// Both texts go on top of their histories.
  void RememberTexts();
  bool ReplaceAllChosen() const { return replaceAll_; }

  QComboBox* cbxReplace() const { return cbxReplace_; }
  QPushButton* btnReplace() const { return btnReplace_; }

 private:
  void ApplyLanguage(TParlax& language);
  void Arrange() override;

  QLabel* lblReplace_;
  QComboBox* cbxReplace_;
  QPushButton* btnReplace_;
  bool replaceAll_ = false;
};

}  // namespace vortan
