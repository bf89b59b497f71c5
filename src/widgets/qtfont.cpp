#include "widgets/qtfont.h"

#include <QFontInfo>

#include "config/headerfooter.h"
#include "widgets/qtconvert.h"

namespace vortan {

// One rule for every stored font: the pixel height wins over the size, and a face the system
// lacks falls back to a fixed-pitch one.
QFont FontFromSpec(const TFontSpec& spec) { return ToQFont(spec); }

void FontToSpec(const QFont& font, TFontSpec& spec) {
  spec.Name = font.family().toLatin1().toStdString();
  spec.Size = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
  spec.Height = 0;
  spec.Bold = font.bold();
  spec.Italic = font.italic();
  spec.Underline = font.underline();
  spec.StrikeOut = font.strikeOut();
}

}  // namespace vortan
