#pragma once
// Stored texts, colours and fonts as Qt values.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QString>
#include <string>

#include "config/headerfooter.h"

namespace vortan {

/// Language-file texts (string table, template, language files) for the screen: decoded from
/// the platform's 8-bit code page, line breaks as "\n".
QString LanguageText(const std::string& bytes);
/// Plain one-byte-per-character texts (ASCII names, stored tokens).
inline QString Latin(const std::string& s) {
  return QString::fromLatin1(s.data(), qsizetype(s.size()));
}
inline std::string LatinBytes(const QString& s) { return s.toLatin1().toStdString(); }
/// File names, in the file system's encoding.
inline QString Local(const std::string& s) {
  return QFile::decodeName(QByteArray::fromStdString(s));
}
inline std::string LocalBytes(const QString& s) { return QFile::encodeName(s).toStdString(); }

/// 0x00BBGGRR as it stands; 0x80000000 + a system colour index through the application
/// palette (window text, window, button face ...).
QColor ToQColor(TColor color);
/// The reverse for plain colours (a palette colour is stored as its value).
TColor FromQColor(const QColor& color);
/// Name, size (a negative height wins as pixel size), style; a missing face falls back to a
/// fixed-pitch font when the stored one asks for fixed pitch or is unknown to the system.
QFont ToQFont(const TFontSpec& spec);

}  // namespace vortan
