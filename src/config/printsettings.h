#pragma once
// What a printed page looks like: margins and their unit, the print flags and the page header
// and footer (settings 109-139). One plain value shared by the print engine and the Options
// dialog; the main window holds one and loads/saves it with the store.

#include "config/headerfooter.h"

namespace vortan {

class TSettingsStore;

/// Unit of every margin (setting 109).
enum class TMarginUnit : int32_t { Millimeters = 0, Centimeters = 1, Inches = 2, Thousandths = 3 };

/// `value` expressed in `from`, converted to `to`.
double ConvertMargin(double value, TMarginUnit from, TMarginUnit to);

/// Header of a new main window: "$TITLE$" left and "$PAGENUM$/$PAGECOUNT$" right on line 1,
/// "$DATE$ $TIME$" right on line 2 at 6 points; Arial 10 black, a line under it.
THeaderFooter DefaultPrintHeader();
/// Footer of a new main window: "$PAGENUM$/$PAGECOUNT$" right on line 1, a line above it.
THeaderFooter DefaultPrintFooter();

struct TPrintSettings {
  TMarginUnit Unit = TMarginUnit::Millimeters;  // 109
  // Margins, in `Unit`.
  double Left = 25.0;                // 110
  double Right = 15.0;               // 111
  double Top = 25.0;                 // 112
  double Bottom = 25.0;              // 113
  double Gutter = 0.0;               // 114
  double Header = 15.0;              // 115 height reserved for the header
  double Footer = 15.0;              // 116
  double HFInternal = 0.5;           // 117 text to frame
  double HFLeftIndent = 2.0;         // 118
  double HFRightIndent = 2.0;        // 119
  bool MirrorMargins = false;        // 120
  bool LineNumbers = true;           // 121
  bool LineNumbersInMargin = false;  // 122
  bool SyntaxPrint = true;           // 123
  bool UseColors = true;             // 124
  bool WrapLines = true;             // 125
  // 126-132 and 133-139: frame kinds (line/box/shaded), colours and mirror flags live in
  // THeaderFooter itself (FrameKinds, LineColor, ShadedColor, MirrorPosition).
  THeaderFooter PageHeader = DefaultPrintHeader();
  THeaderFooter PageFooter = DefaultPrintFooter();

  /// Converts the ten margins to `unit` and makes it the unit.
  void SetUnit(TMarginUnit unit);
  /// A margin of this settings (by value) in millimetres.
  double ToMillimeters(double margin) const {
    return ConvertMargin(margin, Unit, TMarginUnit::Millimeters);
  }

  /// Reads settings 109-139. A header or footer that is not stored keeps the one this value
  /// holds (the defaults for a new value).
  void Load(TSettingsStore& store);
  /// Writes settings 109-139.
  void Save(TSettingsStore& store) const;

  bool operator==(const TPrintSettings&) const = default;
};

}  // namespace vortan
