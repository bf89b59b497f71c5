#pragma once
// What the editor window's settings set in its text control, applied in one go.

#include <QColor>
#include <QFont>

namespace vortan {

/// Caret drawings: 0 vertical line, 1 horizontal line, 2 half block, 3 block.
enum class TCaretShape { VerticalLine = 0, HorizontalLine = 1, HalfBlock = 2, Block = 3 };

struct TSynOptions {
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
  bool DragDropEditing = true;
  bool TrimTrailingSpaces = true;
  bool EnhanceHomeKey = false;
  bool HideScrollbarsAsNecessary = false;
  bool ScrollByOneLess = false;
  bool ScrollPastEndOfFile = false;
  bool ScrollPastEndOfLine = true;
  bool MaintainCaretColumn = false;
  bool RightMouseMovesCursor = false;
  bool AutoSizeMaxLeftChars = false;
  bool HideSelection = false;
  int MaxLeftChars = 1024;
  int UndoLimit = 1024;
  int TabWidth = 8;

  bool GutterVisible = true;
  bool GutterAutoSize = false;
  bool GutterShowLineNumbers = true;
  bool GutterStartAtZero = false;
  bool UseGutterFont = true;
  QFont GutterFont;
  QColor GutterFontColor;
  bool GutterLeadingZeros = false;
  int GutterWidth = 30;

  TCaretShape InsertCaret = TCaretShape::VerticalLine;
  TCaretShape OverwriteCaret = TCaretShape::Block;
  QFont Font;
};

}  // namespace vortan
