#include "widgets/qtconvert.h"

#include "i18n/stringtable.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPalette>

namespace vortan {

QString LanguageText(const std::string& bytes) {
  QString text = QString::fromStdString(LanguageToUtf8(bytes));
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

namespace {

QColor SystemColor(int index) {
  const QPalette pal = QApplication::palette();
  switch (index) {
    case 0:
      return pal.color(QPalette::Button);  // scroll bar
    case 1:
      return pal.color(QPalette::Window);  // desktop
    case 2:
      return pal.color(QPalette::Highlight);  // active caption
    case 3:
      return pal.color(QPalette::Mid);  // inactive caption
    case 4:
      return pal.color(QPalette::Window);  // menu
    case 5:
      return pal.color(QPalette::Base);  // window
    case 6:
      return pal.color(QPalette::Shadow);  // window frame
    case 7:
      return pal.color(QPalette::WindowText);  // menu text
    case 8:
      return pal.color(QPalette::Text);  // window text
    case 9:
      return pal.color(QPalette::HighlightedText);  // caption text
    case 10:
      return pal.color(QPalette::Button);  // active border
    case 11:
      return pal.color(QPalette::Button);  // inactive border
    case 12:
      return pal.color(QPalette::Dark);  // application workspace
    case 13:
      return pal.color(QPalette::Highlight);
    case 14:
      return pal.color(QPalette::HighlightedText);
    case 15:
      return pal.color(QPalette::Button);  // button face
    case 16:
      return pal.color(QPalette::Dark);  // button shadow
    case 17:
      return pal.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18:
      return pal.color(QPalette::ButtonText);
    case 19:
      return pal.color(QPalette::Disabled, QPalette::WindowText);
    case 20:
      return pal.color(QPalette::Light);  // button highlight
    case 21:
      return pal.color(QPalette::Shadow);  // 3D dark shadow
    case 22:
      return pal.color(QPalette::Midlight);  // 3D light
    case 23:
      return pal.color(QPalette::ToolTipText);
    case 24:
      return pal.color(QPalette::ToolTipBase);
    default:
      return pal.color(QPalette::Text);
  }
}

}  // namespace

QColor ToQColor(TColor color) {
  if (color & 0x80000000u) return SystemColor(static_cast<int>(color & 0xFFu));
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

TColor FromQColor(const QColor& c) {
  return static_cast<TColor>(c.red()) | (static_cast<TColor>(c.green()) << 8) |
         (static_cast<TColor>(c.blue()) << 16);
}

QFont ToQFont(const TFontSpec& spec) {
  QFont font(QString::fromStdString(spec.Name));
  if (spec.Height < 0)
    font.setPixelSize(-spec.Height);
  else if (spec.Size > 0)
    font.setPointSize(spec.Size);
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.StrikeOut);
  if (spec.Pitch == 2 || !QFontInfo(font).exactMatch()) {
    // Faces such as "Terminal" are not on every system: keep the look of a fixed-pitch font.
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
      font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  }
  return font;
}

}  // namespace vortan
