#pragma once
// The Find dialog: the text to find with its history and the search options, on one page.

#include "editor/textsearch.h"
#include "editor/ui/searchdialog.h"

class QTabWidget;

namespace vortan {

class TParlax;

class TfrmFind : public TSearchDialog {
  Q_OBJECT
 public:
  explicit TfrmFind(QWidget* parent = nullptr);

  TSearchOptions Options() const;
  /// The box's text goes on top of the history.
  void RememberText();

 private:
  void ApplyLanguage(TParlax& language);
  void Arrange() override;

  QTabWidget* pgcFind_;
  QWidget* tabFind_;
};

}  // namespace vortan
