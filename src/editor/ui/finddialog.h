#pragma once
// The Find dialog: the text to find with its history and the search options. Made on first
// use and kept for the run; its options and history come from the settings when it is made
// and go back to them when it is destroyed.

#include <QDialog>
#include <memory>

#include "editor/textsearch.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace vortan {

class TParlax;
class TSearchOptionGroups;

class TfrmFind : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmFind(QWidget* parent = nullptr);
  ~TfrmFind() override;

  /// The proposed text and scope (from the editor's selection or caret).
  void Preset(const QString& text, bool selectedText);
  QString SearchText() const;
  TSearchOptions Options() const;
  /// The box's text goes on top of the history.
  void RememberText();

  QComboBox* cbxFind() const { return cbxFind_; }
  TSearchOptionGroups& Groups() const { return *groups_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void ApplyLanguage(TParlax& language);
  void Arrange();

  QTabWidget* pgcFind_;
  QWidget* tabFind_;
  QLabel* lblFind_;
  QComboBox* cbxFind_;
  std::unique_ptr<TSearchOptionGroups> groups_;
  QPushButton *btnOK_, *btnCancel_, *btnHelp_;
};

}  // namespace vortan
