#pragma once
// The About box: the top of the splash picture, a scrolling credits text, the project's web
// address, and OK. Borderless; dragged by pressing anywhere else on it.

#include <QDialog>
#include <QPoint>

class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace vortan {

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  /// `userLanguageId` chooses the credits text (1046: Brazilian Portuguese).
  explicit TfrmAbout(int userLanguageId, QWidget* parent = nullptr);

  QScrollBar* CreditsScrollBar() const { return scroll_; }
  QLabel* Credits() const { return credits_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ScrollTo(int value);

  QPixmap picture_;
  QFrame* frame_;
  QLabel* credits_;
  QScrollBar* scroll_;
  QPushButton* btnOK_;
  QPoint dragOffset_;
  bool dragging_ = false;
};

}  // namespace vortan
