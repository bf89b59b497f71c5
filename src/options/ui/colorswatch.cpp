#include "options/ui/colorswatch.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/qtconvert.h"

namespace vortan {

TColorSwatch::TColorSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setMinimumSize(40, 28);
  setFocusPolicy(Qt::NoFocus);
}

TColor TColorSwatch::TextColorOn(TColor c) {
  TColor out = 0;
  for (int shift : {0, 8, 16})
    if (((c >> shift) & 0xFF) < 128) out |= TColor(0xFF) << shift;
  return out;
}

void TColorSwatch::SetColor(std::optional<TColor> color) {
  color_ = color;
  update();
}

void TColorSwatch::SetText(const QString& text) {
  text_ = text;
  update();
}

void TColorSwatch::SetSelected(bool on) {
  selected_ = on;
  setFrameStyle(QFrame::Panel | (on ? QFrame::Sunken : QFrame::Raised));
  setLineWidth(on ? 2 : 1);
  if (on) raise();
  update();
}

void TColorSwatch::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QRect inside = contentsRect();
  const bool shown = color_.has_value() && isEnabled();
  p.fillRect(inside, shown ? ToQColor(*color_) : palette().color(QPalette::Window));
  // A system colour stands for a palette role; its text follows the colour it shows.
  const TColor plain = shown ? FromQColor(ToQColor(*color_)) : 0;
  p.setPen(shown ? ToQColor(TextColorOn(plain))
                 : palette().color(QPalette::Disabled, QPalette::Text));
  p.drawText(inside, Qt::AlignCenter, text_);
  p.end();
  QFrame::paintEvent(e);
}

void TColorSwatch::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit Clicked();
  QFrame::mousePressEvent(e);
}

void TColorSwatch::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit DoubleClicked();
}

}  // namespace vortan
