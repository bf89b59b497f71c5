#pragma once
// What the editor window's settings set in its text control, applied in one go: the editor
// settings as stored, and the fonts and colour they name as Qt draws them.

#include <QColor>
#include <QFont>

#include "editor/editorsettings.h"

namespace vortan {

/// Caret drawings, as `TEditorSettings::InsertCaret` and `OverwriteCaret` number them.
enum class TCaretShape { VerticalLine = 0, HorizontalLine = 1, HalfBlock = 2, Block = 3 };

struct TSynOptions {
  /// The flags, limits and widths; the fonts below stand for its font fields.
  TEditorSettings Settings;
  QFont Font;
  QFont GutterFont;
  QColor GutterFontColor;

  /// The settings with their fonts made for Qt: the text font fixed-pitch from `FontName`
  /// and `FontSize`, the gutter font and its colour from `GutterFont`.
  static TSynOptions From(const TEditorSettings& settings);

  TCaretShape InsertCaret() const { return static_cast<TCaretShape>(Settings.InsertCaret); }
  TCaretShape OverwriteCaret() const { return static_cast<TCaretShape>(Settings.OverwriteCaret); }
};

}  // namespace vortan
