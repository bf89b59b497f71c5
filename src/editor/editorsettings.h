#pragma once
// The settings that shape an editor window, read from the store in one go. Every editor
// opened while the store is unchanged shares one snapshot, so a batch of files reads the
// store once; the next write to the store makes the next request read it again.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/headerfooter.h"

namespace vortan {

class TSettingsStore;

struct TEditorSettings {
  bool AnsiText = false;
  bool SyntaxHighlight = true;

  bool AltSetsColumnMode = true;
  bool WantTabs = true;
  bool TabsToSpaces = true;
  bool SmartTabs = true;
  bool SmartTabDelete = false;
  bool ShowScrollHint = true;
  bool ScrollHintFollowsMouse = false;
  bool DisableScrollArrows = false;
  bool HalfPageScroll = false;
  bool ShowSpecialChars = false;
  bool NoCaret = false;
  bool NoSelection = false;
  bool AutoIndent = true;
  bool GroupUndo = true;
  bool DragAndDropEditing = true;
  bool TrimTrailingSpaces = true;
  bool EnhanceHomeKey = false;
  bool HideScrollbarsAsNecessary = false;
  bool ScrollByOneLess = false;
  bool ScrollPastEndOfFile = false;
  bool ScrollPastEndOfLine = true;
  bool MaintainCaretColumn = false;
  bool RightMouseMovesCursor = false;
  bool AutoSizeMaxLeftChars = false;

  bool InsertMode = true;
  bool HideSelection = false;
  int32_t MaxLeftChars = 1024;
  int32_t UndoLimit = 1024;
  int32_t TabStops = 8;

  bool GutterVisible = true;
  bool GutterAutosize = false;
  bool GutterShowLineNumbers = true;
  bool GutterStartAtZero = false;
  bool UseGutterFont = true;
  TFontSpec GutterFont;
  bool GutterShowLeadingZeros = false;
  int32_t GutterWidth = 30;

  /// The guide lines' columns; empty when they are off or the stored list has no column.
  std::vector<int> GuideColumns;
  TColor GuideColor = 12632256;

  int32_t InsertCaret = 0;     ///< 0 vertical line, 1 horizontal line, 2 half block, 3 block
  int32_t OverwriteCaret = 3;  ///< clamped to 0..3
  std::string FontName = "Courier New";
  int32_t FontSize = 9;  ///< points, at least 1

  // Fixed-form editing
  bool SmartReturn = true;
  bool ContinueComments = false;
  char ContinuationMark = '&';
  bool WrapAt72 = false;
  int32_t BlockIndent = 3;  ///< 0..12
  bool LabelField = true;
  bool MarkMatching = true;
  bool Folding = true;

  bool MergeStatusbar = false;
  bool FullPathInWindowTitle = true;

  bool operator==(const TEditorSettings&) const = default;

  /// Reads every value above from the store (missing or damaged values give their defaults).
  static TEditorSettings Read(TSettingsStore& store);
};

/// The snapshot of the process-wide store's current values: read once, then shared until the
/// store changes. For the interface thread.
std::shared_ptr<const TEditorSettings> CurrentEditorSettings();

}  // namespace vortan
