#pragma once
// Stored fonts (name, size, style) as Qt fonts. Stored names stay as they are ("Terminal",
// "Courier New"); a family the system lacks falls back to a monospace one for display.

#include <QFont>

namespace vortan {

struct TFontSpec;

QFont FontFromSpec(const TFontSpec& spec);
/// Copies name, size and style into `spec`, keeping its colour, character set and pitch.
void FontToSpec(const QFont& font, TFontSpec& spec);

}  // namespace vortan
