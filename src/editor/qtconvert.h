#pragma once
// Stored colours and fonts as Qt values.

#include <QColor>
#include <QFont>

#include "config/headerfooter.h"

namespace vortan {

/// 0x00BBGGRR as it stands; 0x80000000 + a system colour index through the application
/// palette (window text, window, button face ...).
QColor ToQColor(TColor color);
/// The reverse for plain colours (a palette colour is stored as its value).
TColor FromQColor(const QColor& color);
/// Name, size (a negative height wins as pixel size), style; a missing face falls back to a
/// fixed-pitch font when the stored one asks for fixed pitch or is unknown to the system.
QFont ToQFont(const TFontSpec& spec);

}  // namespace vortan
