#pragma once
// The colour themes of menus and toolbars: "Default" is the platform's own look, "OfficeXP"
// and "Stripes" are two flat looks drawn with style sheets.

#include <QString>
#include <QStringList>

namespace vortan {

/// "Default", "OfficeXP", "Stripes".
QStringList ThemeNames();
bool IsKnownTheme(const QString& name);
/// Flat menu style: 0 automatic (flat with the flat themes), 1 always flat, 2 never flat.
/// The style sheet of the main window for a theme; empty for "Default" without flat menus.
QString ThemeStyleSheet(const QString& theme, int flatMenuStyle);

}  // namespace vortan
