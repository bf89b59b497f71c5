#include "config/storedformats.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>

#include "platform/text.h"

namespace vortan {

namespace {

// Parses a whole decimal number (optional sign) into a 64-bit value; false on anything else.
bool ParseDecimal(std::string_view s, int64_t& v) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
    if (!s.empty() && s.front() == '-') return false;
  }
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

// A free-text field must not carry the separator, or the text would not read back.
std::string FieldText(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ',') out.push_back(c);
  return out;
}

std::string Join(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out.push_back(',');
    out += fields[i];
  }
  return out;
}

// An empty field is "not given"; anything else must be an integer, at least `min`.
bool OptionalInteger(std::string_view field, std::optional<int>& value,
                     int min = std::numeric_limits<int>::min()) {
  if (Trim(field).empty()) {
    value.reset();
    return true;
  }
  int v;
  if (!TextToInteger(field, v) || v < min) return false;
  value = v;
  return true;
}

// An empty field reads as 0.
bool IntegerOrZero(std::string_view field, int& value, int min) {
  std::optional<int> v;
  if (!OptionalInteger(field, v, min)) return false;
  value = v.value_or(0);
  return true;
}

bool OptionalColor(std::string_view field, std::optional<TColor>& color) {
  if (Trim(field).empty()) {
    color.reset();
    return true;
  }
  TColor c;
  if (!TextToColor(field, c)) return false;
  color = c;
  return true;
}

std::string OptionalText(const std::optional<int>& v) {
  return v ? std::to_string(*v) : std::string();
}

// Parses `text`, else the default; a damaged default gives the type's own defaults.
template <typename T, typename Parse>
T FromStored(std::string_view text, std::string_view defaultText, Parse parse) {
  T value{};
  if (parse(text, value)) return value;
  T fallback{};
  if (parse(defaultText, fallback)) return fallback;
  return T{};
}

}  // namespace

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      fields.emplace_back(text.substr(start));
      return fields;
    }
    fields.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

bool TextToBool(std::string_view field) { return !field.empty() && field.front() == '1'; }

std::string BoolToText(bool value) { return value ? "1" : "0"; }

bool TextToInteger(std::string_view field, int& value) {
  int64_t v;
  if (!ParseDecimal(field, v) || v < std::numeric_limits<int>::min() ||
      v > std::numeric_limits<int>::max())
    return false;
  value = static_cast<int>(v);
  return true;
}

bool TextToColor(std::string_view field, TColor& color) {
  field = Trim(field);
  if (!field.empty() && field.front() == '$') {
    std::string_view digits = field.substr(1);
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t v;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return false;
    color = v;
    return true;
  }
  // Decimal colours may be written signed (system colours are negative as 32-bit integers).
  int64_t v;
  if (!ParseDecimal(field, v) || v < std::numeric_limits<int32_t>::min() ||
      v > std::numeric_limits<uint32_t>::max())
    return false;
  color = static_cast<TColor>(v);
  return true;
}

std::string ColorToText(TColor color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
  return buf;
}

bool TextToFont(std::string_view text, TFontSpec& font) {
  const std::vector<std::string> f = SplitFields(text);
  if (f.size() < 10 || f[0].empty()) return false;
  TFontSpec result;
  int charset, pitch;
  result.Name = f[0];
  if (!TextToInteger(f[1], result.Size) || !TextToColor(f[2], result.Color) ||
      !TextToInteger(f[3], charset) || charset < 0 || charset > 255 ||
      !TextToInteger(f[4], result.Height) || !TextToInteger(f[5], pitch) || pitch < 0 || pitch > 2)
    return false;
  result.Charset = static_cast<uint8_t>(charset);
  result.Pitch = static_cast<uint8_t>(pitch);
  result.Bold = TextToBool(f[6]);
  result.Italic = TextToBool(f[7]);
  result.Underline = TextToBool(f[8]);
  result.StrikeOut = TextToBool(f[9]);
  font = result;
  return true;
}

std::string FontToText(const TFontSpec& font) {
  return Join({FieldText(font.Name), std::to_string(font.Size), ColorToText(font.Color),
               std::to_string(font.Charset), std::to_string(font.Height),
               std::to_string(font.Pitch), BoolToText(font.Bold), BoolToText(font.Italic),
               BoolToText(font.Underline), BoolToText(font.StrikeOut)});
}

TFontSpec FontFromStored(std::string_view text, std::string_view defaultText) {
  return FromStored<TFontSpec>(text, defaultText,
                               [](std::string_view t, TFontSpec& v) { return TextToFont(t, v); });
}

bool TextToAttribute(std::string_view text, THighlightAttribute& attr) {
  const std::vector<std::string> f = SplitFields(text);
  if (f.size() < 6) return false;
  THighlightAttribute result;
  if (!OptionalColor(f[0], result.Background) || !OptionalColor(f[1], result.Foreground))
    return false;
  result.Bold = TextToBool(f[2]);
  result.Italic = TextToBool(f[3]);
  result.Underline = TextToBool(f[4]);
  result.StrikeOut = TextToBool(f[5]);
  attr = result;
  return true;
}

std::string AttributeToText(const THighlightAttribute& attr) {
  return Join({attr.Background ? ColorToText(*attr.Background) : std::string(),
               attr.Foreground ? ColorToText(*attr.Foreground) : std::string(),
               BoolToText(attr.Bold), BoolToText(attr.Italic), BoolToText(attr.Underline),
               BoolToText(attr.StrikeOut)});
}

THighlightAttribute AttributeFromStored(std::string_view text, std::string_view defaultText) {
  return FromStored<THighlightAttribute>(
      text, defaultText,
      [](std::string_view t, THighlightAttribute& v) { return TextToAttribute(t, v); });
}

bool TextToColumns(std::string_view text, std::vector<int>& columns) {
  std::vector<int> result;
  for (const std::string& field : SplitFields(text)) {
    int column;
    if (TextToInteger(field, column)) result.push_back(column);
  }
  if (result.empty()) return false;
  columns = std::move(result);
  return true;
}

std::string ColumnsToText(const std::vector<int>& columns) {
  std::vector<std::string> fields;
  for (int c : columns) fields.push_back(std::to_string(c));
  return Join(fields);
}

void ColumnsToText(const std::vector<int>& columns, std::string& target) {
  if (!columns.empty()) target = ColumnsToText(columns);
}

std::vector<int> ColumnsFromStored(std::string_view text, std::string_view defaultText) {
  return FromStored<std::vector<int>>(
      text, defaultText,
      [](std::string_view t, std::vector<int>& v) { return TextToColumns(t, v); });
}

bool TextToPlacement(std::string_view text, TWindowPlacement& placement) {
  const std::vector<std::string> f = SplitFields(text);
  if (f.size() < 6) return false;
  TWindowPlacement result;
  result.FullScreen = TextToBool(f[0]);
  if (!IntegerOrZero(f[1], result.State, 0) || result.State > 2 ||
      !OptionalInteger(f[2], result.Left) || !OptionalInteger(f[3], result.Top) ||
      !OptionalInteger(f[4], result.Width, 0) || !OptionalInteger(f[5], result.Height, 0))
    return false;
  placement = result;
  return true;
}

std::string PlacementToText(const TWindowPlacement& p) {
  const bool nothingGiven = p.State == 0 && !p.Left && !p.Top && !p.Width && !p.Height;
  return Join({BoolToText(p.FullScreen), nothingGiven ? std::string() : std::to_string(p.State),
               OptionalText(p.Left), OptionalText(p.Top), OptionalText(p.Width),
               OptionalText(p.Height)});
}

TWindowPlacement PlacementFromStored(std::string_view text, std::string_view defaultText) {
  return FromStored<TWindowPlacement>(
      text, defaultText,
      [](std::string_view t, TWindowPlacement& v) { return TextToPlacement(t, v); });
}

bool TextToBarLayout(std::string_view text, TBarLayout& layout) {
  const std::vector<std::string> f = SplitFields(text);
  if (f.size() < 9) return false;
  TBarLayout result;
  result.Visible = TextToBool(f[0]);
  result.CurrentDock = f[1];
  result.LastDock = f[2];
  if (!IntegerOrZero(f[3], result.Row, 0) ||
      !IntegerOrZero(f[4], result.Position, std::numeric_limits<int>::min()) ||
      !OptionalInteger(f[5], result.FloatLeft) || !OptionalInteger(f[6], result.FloatTop) ||
      !OptionalInteger(f[7], result.Width, 0) || !OptionalInteger(f[8], result.Height, 0))
    return false;
  layout = result;
  return true;
}

std::string BarLayoutToText(const TBarLayout& b) {
  return Join({BoolToText(b.Visible), FieldText(b.CurrentDock), FieldText(b.LastDock),
               std::to_string(b.Row), std::to_string(b.Position), OptionalText(b.FloatLeft),
               OptionalText(b.FloatTop), OptionalText(b.Width), OptionalText(b.Height)});
}

TBarLayout BarLayoutFromStored(std::string_view text, std::string_view defaultText) {
  return FromStored<TBarLayout>(
      text, defaultText, [](std::string_view t, TBarLayout& v) { return TextToBarLayout(t, v); });
}

}  // namespace vortan
