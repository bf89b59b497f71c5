#include "shell/qtfont.h"

#include <QFontDatabase>
#include <QFontInfo>

#include "config/headerfooter.h"

namespace vortan {

QFont FontFromSpec(const TFontSpec& spec) {
  const QString name = QString::fromLatin1(spec.Name.c_str());
  QFont font;
  if (QFontDatabase::hasFamily(name)) {
    font.setFamily(name);
  } else {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  }
  font.setStyleHint(QFont::TypeWriter);
  if (spec.Size > 0)
    font.setPointSize(spec.Size);
  else if (spec.Height < 0)
    font.setPixelSize(-spec.Height);
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.StrikeOut);
  return font;
}

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
