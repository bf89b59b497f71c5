#pragma once
// A button that shows a colour and lets the user choose another through the prompt
// service's colour dialog.

#include <QPushButton>

#include "config/headerfooter.h"

namespace vortan {

class TColorButton : public QPushButton {
  Q_OBJECT
 public:
  explicit TColorButton(QWidget* parent = nullptr);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

 signals:
  /// The user chose a colour (not sent by SetColor).
  void ColorChosen(TColor color);

 private:
  void Choose();
  TColor color_ = 0;
};

}  // namespace vortan
