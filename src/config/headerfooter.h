#pragma once
// Page header or footer definition of printing, as stored in settings 126 and 133.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vortan {

/// A platform colour value: 0x00BBGGRR, or 0x80000000 plus a system colour index.
using TColor = uint32_t;

/// A font as the stored formats describe it.
struct TFontSpec {
  std::string Name = "Courier New";
  int32_t Size = 10;          ///< points
  TColor Color = 0x80000008;  ///< system window-text colour
  uint8_t Charset = 1;        ///< 0 ANSI, 1 default, 255 OEM, ...
  int32_t Height = 0;         ///< negative: character height in pixels
  uint8_t Pitch = 0;          ///< 0 default, 1 variable, 2 fixed
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  bool operator==(const TFontSpec&) const = default;
};

enum class THFAlignment : uint8_t { Left = 0, Right = 1, Center = 2 };

struct THeaderFooterItem {
  std::string Text;        ///< may hold $TITLE$, $PAGENUM$, ... macros
  int32_t LineNumber = 1;  ///< from 1
  TFontSpec Font;
  THFAlignment Alignment = THFAlignment::Left;
  bool operator==(const THeaderFooterItem&) const = default;
};

struct THeaderFooter {
  uint8_t FrameKinds = 1;  ///< bit 0 line, bit 1 box, bit 2 shaded
  TColor ShadedColor = 0x00C4C4C4;
  TColor LineColor = 0;
  bool RomanNumbers = false;
  bool MirrorPosition = false;
  TFontSpec DefaultFont;
  std::vector<THeaderFooterItem> Items;
  void Clear() {
    *this = THeaderFooter();
    Items.clear();
  }
  bool operator==(const THeaderFooter&) const = default;
};

/// Serializes to the stored little-endian layout.
std::string EncodeHeaderFooter(const THeaderFooter& hf);
/// Clears `hf` and decodes the layout into it. Returns false (leaving what could be read)
/// when the bytes end early or hold impossible lengths; never reads past the end.
bool DecodeHeaderFooter(std::string_view bytes, THeaderFooter& hf);

}  // namespace vortan
