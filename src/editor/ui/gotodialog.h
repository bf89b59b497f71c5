#pragma once
// The Go to Line Number dialog, made for one use: a box for digits only, with a history,
// showing the caret's line at first. OK with an empty box or 0 keeps the dialog open.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace vortan {

class TParlax;

class TfrmGoTo : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmGoTo(int caretLine, QWidget* parent = nullptr);

  /// The line asked for once the dialog was closed with OK (INT_MAX stands for any number
  /// too large for a document); 0 otherwise.
  int Line() const { return line_; }
  /// OK: closes with the number when it is above 0, and then puts the text on top of the
  /// history and writes the history back.
  void accept() override;

  QComboBox* cbxGoTo() const { return cbxGoTo_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void ApplyLanguage(TParlax& language);
  void Arrange();

  QLabel* lblGoTo_;
  QComboBox* cbxGoTo_;
  QPushButton *btnOK_, *btnCancel_;
  int line_ = 0;
};

}  // namespace vortan
