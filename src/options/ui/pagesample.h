#pragma once
// The Print page's picture of a page: the paper, the text area inside the margins, the
// header and footer bands with their frames, drawn from the margins being edited.

#include <QWidget>

#include "config/printsettings.h"

namespace vortan {

class TPageSample : public QWidget {
  Q_OBJECT
 public:
  explicit TPageSample(QWidget* parent = nullptr);
  /// The settings to draw and the paper size in millimetres.
  void SetSettings(const TPrintSettings& settings, double paperWidthMm, double paperHeightMm);
  QSize sizeHint() const override { return {260, 320}; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TPrintSettings settings_;
  double paperWidth_ = 210, paperHeight_ = 297;
};

}  // namespace vortan
