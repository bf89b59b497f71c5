#pragma once
// Small structured values that settings hold as comma-separated text: fonts, highlighter
// attributes, guide-line columns, the main window's placement and toolbar/panel layouts.
// Every TextTo... reports damage (too few fields, a non-number in a number field, a value out
// of its range) by returning false and leaves its target unchanged; the ...FromStored helpers
// then fall back to the setting's default text. Fields beyond those described are ignored.
// Writers drop commas from free-text fields (names) so that what is written always reads back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/headerfooter.h"

namespace vortan {

/// Every comma ends a field; an empty text is one empty field.
std::vector<std::string> SplitFields(std::string_view text);

/// Only the first character counts: "1..." is true, anything else (also empty) false.
bool TextToBool(std::string_view field);
std::string BoolToText(bool value);

/// Decimal integer in the 32-bit range, optional sign, surrounding blanks ignored.
bool TextToInteger(std::string_view field, int& value);

/// "$" + 1 to 8 hexadecimal digits ("$C0C0C0" is valid), or a decimal number.
bool TextToColor(std::string_view field, TColor& color);
/// "$" + 8 upper-case hexadecimal digits; a colour read from six digits is written with eight.
std::string ColorToText(TColor color);

/// name, size, colour, charset, height, pitch, bold, italic, underline, strike-out.
bool TextToFont(std::string_view text, TFontSpec& font);
std::string FontToText(const TFontSpec& font);
TFontSpec FontFromStored(std::string_view text, std::string_view defaultText);

struct THighlightAttribute {
  std::optional<TColor> Background, Foreground;  ///< empty: no colour of its own
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  bool operator==(const THighlightAttribute&) const = default;
};

/// background, foreground, bold, italic, underline, strike-out.
bool TextToAttribute(std::string_view text, THighlightAttribute& attr);
std::string AttributeToText(const THighlightAttribute& attr);
THighlightAttribute AttributeFromStored(std::string_view text, std::string_view defaultText);

/// Takes every field that is an integer, in order, skipping the others. Returns false when
/// no field is an integer: the program never stores an empty column list.
bool TextToColumns(std::string_view text, std::vector<int>& columns);
std::string ColumnsToText(const std::vector<int>& columns);
/// Writes into `target` only when there are columns; an editor without guide lines leaves it.
void ColumnsToText(const std::vector<int>& columns, std::string& target);
std::vector<int> ColumnsFromStored(std::string_view text, std::string_view defaultText);

struct TWindowPlacement {
  bool FullScreen = false;  ///< written, never applied on reading
  int State = 0;            ///< 0 normal, 1 minimised, 2 maximised
  /// The restored rectangle; when any part is missing the platform places the window.
  std::optional<int> Left, Top, Width, Height;
  bool operator==(const TWindowPlacement&) const = default;
};

/// full screen, state, left, top, width, height. A state outside 0..2 or a negative width or
/// height is damage. An empty state reads as normal, and a normal placement without any
/// rectangle writes it empty, so "0,,,,," reads and writes unchanged.
bool TextToPlacement(std::string_view text, TWindowPlacement& placement);
std::string PlacementToText(const TWindowPlacement& placement);
TWindowPlacement PlacementFromStored(std::string_view text, std::string_view defaultText);

struct TBarLayout {
  bool Visible = true;
  std::string CurrentDock;  ///< empty when floating; an unknown name also means floating
  std::string LastDock;     ///< where the bar goes back when docked again; may be empty
  int Row = 0;              ///< row within the dock, from 0
  int Position = 0;         ///< offset within the row, in pixels
  std::optional<int> FloatLeft, FloatTop, Width, Height;
  bool operator==(const TBarLayout&) const = default;
};

/// visible, current dock, last dock, row, position, float left, float top, width, height.
/// Empty row or position read as 0; empty floating position or size stay "not given".
/// Dock names are kept as written. A negative row, width or height is damage.
bool TextToBarLayout(std::string_view text, TBarLayout& layout);
std::string BarLayoutToText(const TBarLayout& layout);
TBarLayout BarLayoutFromStored(std::string_view text, std::string_view defaultText);

}  // namespace vortan
