#include "options/ui/colorbutton.h"

#include <QPainter>
#include <QPixmap>

#include "system/promptservice.h"
#include "widgets/qtconvert.h"

namespace vortan {

TColorButton::TColorButton(QWidget* parent) : QPushButton(parent) {
  setIconSize(QSize(28, 12));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(this, &QPushButton::clicked, this, &TColorButton::Choose);
  SetColor(0);
}

void TColorButton::SetColor(TColor color) {
  color_ = color;
  QPixmap pm(iconSize());
  pm.fill(ToQColor(color));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
  p.end();
  setIcon(QIcon(pm));
}

void TColorButton::Choose() {
  TColor c = color_;
  if (Prompts() && Prompts()->ColorDialog(c)) {
    SetColor(c);
    emit ColorChosen(c);
  }
}

}  // namespace vortan
