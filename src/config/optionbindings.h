#pragma once
// The Options dialog's controls and the settings they edit, as one table, with the rules
// that do not need a window: what a box accepts while typing, whether its text can be
// applied, and how a value travels to and from the store.
//
// Values travel as text: a check box "0"/"1", numbers and colours in decimal, texts as
// they stand. The dialog reads every row into its control and writes every row back on
// Apply, so the table is the one place that says which control edits which setting.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vortan {

class TSettingsStore;

enum class TBindKind {
  Check,     ///< check box, Bool setting
  Number,    ///< editable list of digits, Integer setting
  Text,      ///< editable list of free text, String setting
  Columns,   ///< editable list of guide columns, String setting (column list format)
  FontName,  ///< list of installed fonts, String setting
  Caret,     ///< list "Block", "Half Block", "Horizontal Line", "Vertical Line": code 3 - item
  Choice,    ///< one of several radio buttons, Integer setting holding the button's index
  Track,     ///< track bar position, Integer setting
  Color,     ///< colour button, Integer setting holding a colour value
};

/// What a box lets through while the user types.
enum class TInputFilter { None, Digits, Columns, Decimal };

struct TOptionBinding {
  std::string_view Control;  ///< object name of the control (of the group for Choice)
  int Setting;               ///< id in the settings table
  TBindKind Kind;
  int History = -1;          ///< id of the combo box's history object, -1 when none
  int64_t Min = 0, Max = 0;  ///< accepted range of a Number
};

/// Every control of the dialog that mirrors one setting, in the order Apply writes them.
std::span<const TOptionBinding> OptionBindings();
/// The row of a control, or null.
const TOptionBinding* FindBinding(std::string_view control);
/// The row of a setting, or null.
const TOptionBinding* BindingOfSetting(int setting);

TInputFilter FilterOf(TBindKind kind);
/// True when a typed character may enter a box with that filter. While Ctrl is held nothing
/// is filtered, so that the clipboard shortcuts work; control characters (Backspace, Tab)
/// always pass.
bool AcceptsTyped(TInputFilter filter, char32_t c, char32_t decimalSeparator, bool ctrlHeld);

/// The stored value of a row as text (see the header comment).
std::string ReadBindingText(TSettingsStore& store, const TOptionBinding& b);
/// Writes a row's text. The text must have passed CheckBindingText.
void WriteBindingText(TSettingsStore& store, const TOptionBinding& b, std::string_view text);

/// Why a text cannot be applied.
enum class TValueError { None, NotANumber, OutOfRange };
struct TValueCheck {
  TValueError Error = TValueError::None;
  std::string Field;  ///< the offending part (the whole text, or one column)
  explicit operator bool() const { return Error == TValueError::None; }
};
/// Whether a control's text can be applied: numbers are whole decimals within the row's
/// range; a column list may hold empty fields (dropped) but every other field is a column
/// from 1 to MaxGuideColumn.
TValueCheck CheckBindingText(const TOptionBinding& b, std::string_view text);

constexpr int MaxGuideColumn = 9999;
/// The columns of a checked column list, written back without empty fields ("6,,72" -> "6,72").
std::string NormalizeColumnList(std::string_view text);

/// A decimal number with the given separator ("2,5" with ','), no sign, no exponent.
std::optional<double> ParseDecimalText(std::string_view text, char decimalSeparator);
/// The shortest text that reads back as the same double, with the given separator.
std::string DecimalText(double value, char decimalSeparator);

}  // namespace vortan
