#include "editor/ui/scrollarrowstyle.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOptionSlider>

namespace vortan {

// A base of its own: a proxy over the application's style object would take that object
// over and delete it with the editor.
TScrollArrowStyle::TScrollArrowStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

void TScrollArrowStyle::drawComplexControl(ComplexControl control,
                                           const QStyleOptionComplex* option, QPainter* painter,
                                           const QWidget* widget) const {
  QProxyStyle::drawComplexControl(control, option, painter, widget);
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || !bar || !(bar->state & State_Enabled)) return;
  const struct {
    SubControl Arrow;
    bool AtEnd;
  } arrows[] = {{SC_ScrollBarSubLine, bar->sliderValue <= bar->minimum},
                {SC_ScrollBarAddLine, bar->sliderValue >= bar->maximum}};
  for (const auto& a : arrows) {
    if (!a.AtEnd || !(bar->subControls & a.Arrow)) continue;
    QStyleOptionSlider o = *bar;
    o.subControls = a.Arrow;
    o.activeSubControls = SC_None;
    o.state &= ~(State_Enabled | State_Sunken | State_MouseOver);
    o.palette.setCurrentColorGroup(QPalette::Disabled);
    QProxyStyle::drawComplexControl(control, &o, painter, widget);
  }
}

}  // namespace vortan
