#pragma once
// The program's own message dialog: icon, text, an optional "Don't show this message again."
// box and a row of buttons, all labelled from the string table and laid out by the rules of
// the translated dialogs (buttons widen to fit their captions, the dialog widens to fit them).

#include <QDialog>
#include <array>

#include "system/promptservice.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vortan {

class TMessageDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TMessageDlg(const TMessageRequest& request, QWidget* parent = nullptr);

  TModalResult Answer() const { return answer_; }
  bool Checked() const;
  QPushButton* Button(TMsgDlgBtn b) const { return buttons_[int(b)]; }
  QCheckBox* CheckBox() const { return check_; }
  QLabel* TextLabel() const { return text_; }

  /// The layout figures (pixels) derived from the margin, as the layout rules give them.
  struct TMetrics {
    int Margin, Unit, ButtonWidth, Spacing;
  };
  static TMetrics MetricsFor(int margin);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void Finish(TModalResult r);
  void LayOut();

  TMessageRequest request_;
  TModalResult answer_ = TModalResult::Cancel;
  bool finished_ = false;
  QLabel* icon_ = nullptr;
  QLabel* text_ = nullptr;
  QCheckBox* check_ = nullptr;
  std::array<QPushButton*, MsgDlgBtnCount> buttons_{};
};

/// Title of a dialog of that kind, from the string table.
QString MessageDlgTitle(TMsgDlgType kind);

}  // namespace vortan
