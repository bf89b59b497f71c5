#pragma once
// The look of a scroll bar whose arrows are disabled at the end they point to.

#include <QProxyStyle>

namespace vortan {

/// Draws a scroll bar as the application style does, then draws again, disabled, each arrow
/// that points toward an end the bar has already reached, so the user sees that it cannot
/// scroll further that way. Other controls are drawn unchanged.
class TScrollArrowStyle : public QProxyStyle {
 public:
  TScrollArrowStyle();
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
};

}  // namespace vortan
