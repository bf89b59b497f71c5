#pragma once
// The language selector: lists the language files of the given directories, preselects the
// language in use or the one matching the user's language id, and translates itself into the
// highlighted language while the user browses. It only returns a file name; the callers make
// that language the one in use. The string table it changes for the preview is given back
// as it was when the dialog goes.

#include <QDialog>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

#include "i18n/parlax.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vortan {

class TfrmParla : public QDialog {
  Q_OBJECT
 public:
  /// `userLanguageId`: the user's Windows language id (0: none, no preselection by id).
  explicit TfrmParla(int userLanguageId, QWidget* parent = nullptr);
  ~TfrmParla() override;

  /// Adds an entry for every language file with an INFO block in the directory and selects
  /// the directory's candidate. True when an entry was added.
  bool ScanLanguages(const std::string& directory);
  /// ScanLanguages for each directory, in order; true when any was.
  bool ScanLanguageDirs(const std::vector<std::string>& directories);

  /// Full name of the highlighted entry's file; empty for the built-in language.
  const std::string& SelectedFile() const { return selectedFile_; }
  /// The INFO record of a list row (row 0 is the built-in language: none).
  const TParlaxItem* Record(int row) const;
  /// The six-line hint of a list row (empty for the built-in language).
  QString EntryHint(int row) const;

  QTreeWidget* List() const { return trvLanguage_; }
  QPushButton* OKButton() const { return btnOK_; }
  QPushButton* CancelButton() const { return btnCancel_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void ApplyLanguage(TParlax& engine);
  void Highlight(QTreeWidgetItem* item);
  void MouseOverList(const QPoint& pos, const QPoint& globalPos);

  int userLanguageId_;
  QLabel* imgParlax_ = nullptr;
  QLabel* lblLanguage_ = nullptr;
  QLabel* lblPlease_ = nullptr;
  QLabel* lblAvailableLanguages_ = nullptr;
  QTreeWidget* trvLanguage_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QPushButton* btnCancel_ = nullptr;

  std::vector<std::unique_ptr<TParlaxItem>> records_;
  std::string selectedFile_;
  TParlax preview_;
  /// The string table as it was at creation, given back on destruction.
  TParlax savedStrings_;
  QString initialHint_;
  QTreeWidgetItem* hintItem_ = nullptr;
  bool centred_ = false;
};

}  // namespace vortan
