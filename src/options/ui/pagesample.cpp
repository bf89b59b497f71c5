#include "options/ui/pagesample.h"

#include <QPainter>
#include <algorithm>

#include "widgets/qtconvert.h"

namespace vortan {

TPageSample::TPageSample(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, 240);
  setObjectName(QStringLiteral("imgPage"));
}

void TPageSample::SetSettings(const TPrintSettings& settings, double w, double h) {
  settings_ = settings;
  paperWidth_ = w;
  paperHeight_ = h;
  update();
}

void TPageSample::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  const double scale = std::min((width() - 20) / paperWidth_, (height() - 20) / paperHeight_);
  const QRectF page((width() - paperWidth_ * scale) / 2, (height() - paperHeight_ * scale) / 2,
                    paperWidth_ * scale, paperHeight_ * scale);
  p.fillRect(page.translated(4, 4), QColor(128, 128, 128));
  p.fillRect(page, Qt::white);
  p.setPen(Qt::black);
  p.drawRect(page);

  const auto mm = [&](double margin) {
    return std::max(0.0, settings_.ToMillimeters(margin)) * scale;
  };
  const double left = mm(settings_.Left) + mm(settings_.Gutter), right = mm(settings_.Right);
  const double top = mm(settings_.Top), bottom = mm(settings_.Bottom);
  const QRectF text(page.left() + left, page.top() + top, page.width() - left - right,
                    page.height() - top - bottom);
  if (text.width() <= 0 || text.height() <= 0) {
    // Margins wider than the paper: the page is all margin.
    p.fillRect(page.adjusted(1, 1, -1, -1), QColor(255, 220, 220));
    return;
  }
  // The header band ends where the text begins; the footer band starts where it ends.
  const auto band = [&](double y, double h, const THeaderFooter& hf, bool header) {
    const QRectF r(text.left() + mm(settings_.HFLeftIndent), y,
                   text.width() - mm(settings_.HFLeftIndent) - mm(settings_.HFRightIndent), h);
    if (r.width() <= 0 || r.height() <= 0) return;
    if (hf.FrameKinds & 4) p.fillRect(r, ToQColor(hf.ShadedColor));
    p.setPen(ToQColor(hf.LineColor));
    if (hf.FrameKinds & 2)
      p.drawRect(r);
    else if (hf.FrameKinds & 1)
      p.drawLine(header ? r.bottomLeft() : r.topLeft(), header ? r.bottomRight() : r.topRight());
    const double row = std::max(2.0, scale * 1.5);
    for (int i = 0; i < std::min<int>(int(hf.Items.size()), 3); ++i)
      p.fillRect(QRectF(r.left() + 2, r.top() + 2 + i * (row + 2), r.width() / 3, row),
                 QColor(160, 160, 160));
  };
  const double headerHeight = std::min(mm(settings_.Header), top);
  const double footerHeight = std::min(mm(settings_.Footer), bottom);
  band(text.top() - headerHeight, headerHeight, settings_.PageHeader, true);
  band(text.bottom(), footerHeight, settings_.PageFooter, false);

  p.setPen(QPen(QColor(0, 0, 160), 1, Qt::DotLine));
  p.drawRect(text);
  const double line = std::max(2.0, scale * 2.5);
  for (double y = text.top() + 3; y + line < text.bottom() - 2; y += line * 1.8)
    p.fillRect(QRectF(text.left() + 3, y, text.width() * (0.5 + 0.4 * ((int(y) * 7) % 5) / 5.0) - 6,
                      line * 0.6),
               QColor(60, 60, 60));
}

}  // namespace vortan
