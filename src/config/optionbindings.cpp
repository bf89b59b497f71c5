#include "config/optionbindings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/storedformats.h"

namespace vortan {

namespace {

using K = TBindKind;
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

constexpr TOptionBinding kBindings[] = {
    // General
    {"chkNewWindowMaximized", sidNewWindowMaximized, K::Check},
    {"chkStartWithNewSourceFile", sidStartWithNewSourceFile, K::Check},
    {"chkFullFilePath", sidFullPathInWindowTitle, K::Check},
    {"chkANSIText", sidANSIText, K::Check},
    {"chkSplashScreen", sidShowSplashScreen, K::Check},
    // The Messages tree reads this setting whenever it opens a message, so writing it is
    // how the option reaches the tree.
    {"chkAutoExpandMessages", sidAutoExpandMessages, K::Check},
    {"chkAutoSaveBeforeContinue", sidAutoSaveBeforeContinue, K::Check},
    {"chkCreateBackupFile", sidCreateBackupFile, K::Check},
    // Editor > Options
    {"chkUseSyntaxHighlight", sidSyntaxHighlight, K::Check},
    {"chkAltSetsColumnMode", sidAltSetsColumnMode, K::Check},
    {"chkWantTabs", sidWantTabs, K::Check},
    {"chkTabsToSpaces", sidTabsToSpaces, K::Check},
    {"chkSmartTabs", sidSmartTabs, K::Check},
    {"chkSmartTabDelete", sidSmartTabDelete, K::Check},
    {"chkShowScrollHint", sidShowScrollHint, K::Check},
    {"chkScrollHintFollows", sidScrollHintFollowsMouse, K::Check},
    {"chkDisableScrollArrows", sidDisableScrollArrows, K::Check},
    {"chkHalfPageScroll", sidHalfPageScroll, K::Check},
    {"chkShowSpecialChars", sidShowSpecialChars, K::Check},
    {"chkNoCaret", sidNoCaret, K::Check},
    {"chkNoSelection", sidNoSelection, K::Check},
    {"chkAutoIndent", sidAutoIndent, K::Check},
    {"chkGroupUndo", sidGroupUndo, K::Check},
    {"chkDragDropEditing", sidDragAndDropEditing, K::Check},
    {"chkTrimTrailingSpaces", sidTrimTrailingSpaces, K::Check},
    {"chkInsertMode", sidInsertMode, K::Check},
    {"chkHideSelection", sidHideSelection, K::Check},
    {"chkEnhanceHomeKey", sidEnhanceHomeKey, K::Check},
    {"chkHideShowScrollbars", sidHideScrollbarsAsNecessary, K::Check},
    {"chkScrollByOneLess", sidScrollByOneLess, K::Check},
    {"chkScrollPastEOF", sidScrollPastEndOfFile, K::Check},
    {"chkScrollPastEOL", sidScrollPastEndOfLine, K::Check},
    {"chkMaintainCaretCol", sidMaintainCaretColumn, K::Check},
    {"chkRightMouseMovesCursor", sidRightMouseMovesCursor, K::Check},
    {"chkAutoComplete", sidSymbolsAutoComplete, K::Check},
    {"chkAutoSizeMaxLeftChars", sidAutoSizeMaxLeftChars, K::Check},
    {"cbxMaxLeftChars", sidMaxLeftChars, K::Number, sidChangesMaxLeftChars, 1, kInt32Max},
    {"cbxUndoLimit", sidUndoLimit, K::Number, sidChangesUndoLimit, 0, kInt32Max},
    // A tab wider than a screen line only makes the text unreadable.
    {"cbxTabStops", sidTabStops, K::Number, sidChangesTabStops, 1, 256},
    // Editor > Display
    {"chkGutterVisible", sidGutterVisible, K::Check},
    {"chkGutterAutosize", sidGutterAutosize, K::Check},
    {"chkGutterShowLineNumbers", sidGutterShowLineNumbers, K::Check},
    {"chkGutterStartAtZero", sidGutterStartAtZero, K::Check},
    {"chkUseGutterFont", sidUseGutterFont, K::Check},
    {"chkGutterLeadingZeros", sidGutterShowLeadingZeros, K::Check},
    {"chkShowVerticalLine", sidShowVerticalLine, K::Check},
    {"btnVerticalLineColor", sidVerticalLineColor, K::Color},
    {"cbxGutterWidth", sidGutterWidth, K::Number, sidChangesGutterWidth, 0, 10000},
    {"cbxVLine", sidVerticalLineColumn, K::Columns, sidChangesEdgeColumn},
    {"cbxInsertCaret", sidInsertCaret, K::Caret},
    {"cbxOverwriteCaret", sidOverwriteCaret, K::Caret},
    {"cbxFont", sidFont, K::FontName},
    {"cbxSize", sidFontSize, K::Number, sidChangesFontSize, 1, 1000},
    // Editor > Fixed form
    {"chkSmartReturn", sidFixedFormSmartReturn, K::Check},
    {"chkContinueComments", sidFixedFormContinueComments, K::Check},
    {"chkWrapAt72", sidFixedFormWrapAt72, K::Check},
    {"chkLabelField", sidFixedFormLabelField, K::Check},
    {"chkMarkMatching", sidFixedFormMatching, K::Check},
    {"chkFolding", sidFixedFormFolding, K::Check},
    {"cbxBlockIndent", sidFixedFormBlockIndent, K::Number, -1, 0, 12},
    {"cbxContinuationMark", sidFixedFormContinuationMark, K::Text},
    {"cbxReindentOptions", sidFixedFormReindentOptions, K::Text},
    // Run
    {"chkAutoShowOutput", sidAutoshowOutputWindow, K::Check},
    {"chkAutoShowMessages", sidAutoshowMessagesWindow, K::Check},
    {"chkMinimizeOnRun", sidMinimizeOnRun, K::Check},
    {"chkMinimizeOnDebug", sidMinimizeOnDebug, K::Check},
    {"chkIgnoreAnalyzer", sidIgnoreAnalyzerErrors, K::Check},
    {"TrackBar1", sidProcessPriority, K::Track, -1, 0, 6},
    {"cbxCompilerOptions", sidAdditionalCompilerOptionsParameters, K::Text,
     sidChangesAdditionalCompilerOptionsParameters},
    {"cbxCompilerLibraries", sidAdditionalCompilerLibrariesParameters, K::Text,
     sidChangesAdditionalCompilerLibrariesParameters},
    {"cbxAnalyzerParameters", sidAdditionalAnalyzerParameters, K::Text,
     sidChangesAdditionalAnalyzerParameters},
    {"cbxDebuggerParameters", sidAdditionalDebuggerParameters, K::Text,
     sidChangesAdditionalDebuggerParameters},
    {"grpRunWith", sidRunWith, K::Choice, -1, 0, 3},
    {"chkLiveCheck", sidLiveCheck, K::Check},
    // Below a tenth of a second every key would start a check; a minute is no longer "live".
    {"cbxLiveDelay", sidLiveCheckDelay, K::Number, -1, 100, 60000},
    {"chkLiveCompiler", sidLiveCheckCompiler, K::Check},
    {"chkLiveAnalyzer", sidLiveCheckAnalyzer, K::Check},
    {"chkLiveAnalyzeAll", sidLiveCheckAnalyzeAll, K::Check},
    // Others
    {"chkHidingMenuBar", sidHidingMenuToolbar, K::Check},
    {"chkMenuBarIsHidden", sidMenuToolbarIsHide, K::Check},
    {"chkClearHistoryList", sidClearHistory, K::Check},
    {"chkAssociateFiles", sidAssociateFiles, K::Check},
    {"chkInstallFileMissing", sidInstallFileMissing, K::Check},
    {"chkSaveBeforeContinue", sidSaveBeforeContinue, K::Check},
};

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

std::span<const TOptionBinding> OptionBindings() { return kBindings; }

const TOptionBinding* FindBinding(std::string_view control) {
  for (const TOptionBinding& b : kBindings)
    if (b.Control == control) return &b;
  return nullptr;
}

const TOptionBinding* BindingOfSetting(int setting) {
  for (const TOptionBinding& b : kBindings)
    if (b.Setting == setting) return &b;
  return nullptr;
}

TInputFilter FilterOf(TBindKind kind) {
  switch (kind) {
    case K::Number:
      return TInputFilter::Digits;
    case K::Columns:
      return TInputFilter::Columns;
    default:
      return TInputFilter::None;
  }
}

bool AcceptsTyped(TInputFilter filter, char32_t c, char32_t decimalSeparator, bool ctrlHeld) {
  if (ctrlHeld || filter == TInputFilter::None || c < 0x20 || c == 0x7F) return true;
  switch (filter) {
    case TInputFilter::Digits:
      return IsDigit(c);
    case TInputFilter::Columns:
      return IsDigit(c) || c == U',';
    case TInputFilter::Decimal:
      return IsDigit(c) || c == decimalSeparator;
    case TInputFilter::None:
      break;
  }
  return true;
}

std::string ReadBindingText(TSettingsStore& store, const TOptionBinding& b) {
  switch (b.Kind) {
    case K::Check:
      return store.ReadBool(b.Setting) ? "1" : "0";
    case K::Number:
    case K::Caret:
    case K::Choice:
    case K::Track:
    case K::Color:
      return std::to_string(store.ReadInteger(b.Setting));
    case K::Text:
    case K::Columns:
    case K::FontName:
      return store.ReadString(b.Setting);
  }
  return {};
}

void WriteBindingText(TSettingsStore& store, const TOptionBinding& b, std::string_view text) {
  switch (b.Kind) {
    case K::Check:
      store.WriteBool(b.Setting, TextToBool(text));
      return;
    case K::Number:
    case K::Caret:
    case K::Choice:
    case K::Track:
    case K::Color: {
      int v = 0;
      if (TextToInteger(text, v)) store.WriteInteger(b.Setting, v);
      return;
    }
    case K::Columns:
      store.WriteString(b.Setting, NormalizeColumnList(text));
      return;
    case K::Text:
    case K::FontName:
      store.WriteString(b.Setting, std::string(text));
      return;
  }
}

TValueCheck CheckBindingText(const TOptionBinding& b, std::string_view text) {
  TValueCheck r;
  if (b.Kind == K::Number) {
    int64_t v = 0;
    bool digits = !text.empty();
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (!digits) {
      r.Error = TValueError::NotANumber;
    } else if (ec != std::errc() || end != text.data() + text.size() || v < b.Min || v > b.Max) {
      r.Error = TValueError::OutOfRange;
    }
    if (!r) r.Field = std::string(text);
    return r;
  }
  if (b.Kind == K::Columns) {
    int valid = 0;
    for (const std::string& f : SplitFields(text)) {
      if (f.empty()) continue;
      int col = 0;
      bool digits = true;
      for (char c : f) digits = digits && c >= '0' && c <= '9';
      if (!digits || !TextToInteger(f, col)) {
        r.Error = digits ? TValueError::OutOfRange : TValueError::NotANumber;
      } else if (col < 1 || col > MaxGuideColumn) {
        r.Error = TValueError::OutOfRange;
      } else {
        ++valid;
        continue;
      }
      r.Field = f;
      return r;
    }
    if (valid == 0) {
      // The stored list is never empty: "Show Vertical Line" is the way to have none.
      r.Error = TValueError::NotANumber;
      r.Field = std::string(text);
    }
    return r;
  }
  return r;
}

std::string NormalizeColumnList(std::string_view text) {
  std::string out;
  for (const std::string& f : SplitFields(text)) {
    int col = 0;
    if (f.empty() || !TextToInteger(f, col)) continue;
    if (!out.empty()) out.push_back(',');
    out += std::to_string(col);
  }
  return out;
}

std::optional<double> ParseDecimalText(std::string_view text, char decimalSeparator) {
  std::string s;
  bool seenSeparator = false, seenDigit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      seenDigit = true;
      s.push_back(c);
    } else if (c == decimalSeparator && !seenSeparator) {
      seenSeparator = true;
      s.push_back('.');
    } else {
      return std::nullopt;
    }
  }
  if (!seenDigit) return std::nullopt;
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string DecimalText(double value, char decimalSeparator) {
  // Fixed notation: an exponent would not pass the margin boxes' own filter.
  std::array<char, 400> buf{};
  const auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
  std::string s(buf.data(), ec == std::errc() ? end : buf.data());
  for (char& c : s)
    if (c == '.') c = decimalSeparator;
  return s;
}

}  // namespace vortan
