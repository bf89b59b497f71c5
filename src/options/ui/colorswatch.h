#pragma once
// One of the Color page's two swatches: a small panel in its colour, with "FG" or "BG"
// written on it in black or white, whichever stands out.

#include <QFrame>
#include <optional>

#include "config/headerfooter.h"

namespace vortan {

class TColorSwatch : public QFrame {
  Q_OBJECT
 public:
  explicit TColorSwatch(QWidget* parent = nullptr);
  std::optional<TColor> Color() const { return color_; }
  void SetColor(std::optional<TColor> color);
  void SetText(const QString& text);
  bool Selected() const { return selected_; }
  void SetSelected(bool on);
  QSize sizeHint() const override { return {48, 32}; }

  /// Each channel of the text is 0 where the colour's channel is 128 or more, else 255.
  static TColor TextColorOn(TColor color);

 signals:
  void Clicked();
  void DoubleClicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  std::optional<TColor> color_;
  QString text_;
  bool selected_ = false;
};

}  // namespace vortan
