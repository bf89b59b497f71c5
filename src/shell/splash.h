#pragma once
#include <QTimer>
#include <QWidget>

class QLabel;

namespace vortan {

/// The start-up splash window: picture, status line, notice and the project's web address.
/// Once armed it closes itself after one second or on a click, and frees itself.
class TfrmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmSplash(int userLanguageId, QWidget* parent = nullptr);
  void SetStatus(const QString& text);
  void Arm();
  QString Status() const;
  bool Armed() const { return armed_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  QLabel* status_;
  QTimer timer_;
  bool armed_ = false;
};

}  // namespace vortan
