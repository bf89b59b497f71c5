#include "editor/editorsettings.h"

#include <algorithm>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "config/storedformats.h"

namespace vortan {

TEditorSettings TEditorSettings::Read(TSettingsStore& store) {
  TEditorSettings s;
  auto b = [&store](int id) { return store.ReadBool(id); };
  auto i = [&store](int id) { return store.ReadInteger(id); };
  s.AnsiText = b(sidANSIText);
  s.SyntaxHighlight = b(sidSyntaxHighlight);
  s.AltSetsColumnMode = b(sidAltSetsColumnMode);
  s.WantTabs = b(sidWantTabs);
  s.TabsToSpaces = b(sidTabsToSpaces);
  s.SmartTabs = b(sidSmartTabs);
  s.SmartTabDelete = b(sidSmartTabDelete);
  s.ShowScrollHint = b(sidShowScrollHint);
  s.ScrollHintFollowsMouse = b(sidScrollHintFollowsMouse);
  s.DisableScrollArrows = b(sidDisableScrollArrows);
  s.HalfPageScroll = b(sidHalfPageScroll);
  s.ShowSpecialChars = b(sidShowSpecialChars);
  s.NoCaret = b(sidNoCaret);
  s.NoSelection = b(sidNoSelection);
  s.AutoIndent = b(sidAutoIndent);
  s.GroupUndo = b(sidGroupUndo);
  s.DragAndDropEditing = b(sidDragAndDropEditing);
  s.TrimTrailingSpaces = b(sidTrimTrailingSpaces);
  s.EnhanceHomeKey = b(sidEnhanceHomeKey);
  s.HideScrollbarsAsNecessary = b(sidHideScrollbarsAsNecessary);
  s.ScrollByOneLess = b(sidScrollByOneLess);
  s.ScrollPastEndOfFile = b(sidScrollPastEndOfFile);
  s.ScrollPastEndOfLine = b(sidScrollPastEndOfLine);
  s.MaintainCaretColumn = b(sidMaintainCaretColumn);
  s.RightMouseMovesCursor = b(sidRightMouseMovesCursor);
  s.AutoSizeMaxLeftChars = b(sidAutoSizeMaxLeftChars);
  s.InsertMode = b(sidInsertMode);
  s.HideSelection = b(sidHideSelection);
  s.MaxLeftChars = i(sidMaxLeftChars);
  s.UndoLimit = i(sidUndoLimit);
  s.TabStops = i(sidTabStops);
  s.GutterVisible = b(sidGutterVisible);
  s.GutterAutosize = b(sidGutterAutosize);
  s.GutterShowLineNumbers = b(sidGutterShowLineNumbers);
  s.GutterStartAtZero = b(sidGutterStartAtZero);
  s.UseGutterFont = b(sidUseGutterFont);
  s.GutterFont = FontFromStored(store.ReadString(sidGutterFont),
                                SettingsTable[static_cast<std::size_t>(sidGutterFont)].DefaultText);
  s.GutterShowLeadingZeros = b(sidGutterShowLeadingZeros);
  s.GutterWidth = i(sidGutterWidth);
  const std::string columns = store.ReadString(sidVerticalLineColumn);
  if (!b(sidShowVerticalLine) || columns.empty() || !TextToColumns(columns, s.GuideColumns))
    s.GuideColumns.clear();
  s.GuideColor = static_cast<TColor>(i(sidVerticalLineColor));
  s.InsertCaret = std::clamp(i(sidInsertCaret), 0, 3);
  s.OverwriteCaret = std::clamp(i(sidOverwriteCaret), 0, 3);
  s.FontName = store.ReadString(sidFont);
  s.FontSize = std::max(1, static_cast<int>(i(sidFontSize)));
  s.SmartReturn = b(sidFixedFormSmartReturn);
  s.ContinueComments = b(sidFixedFormContinueComments);
  // Column 6 takes one character other than blank and zero; anything else falls back to '&'.
  const std::string mark = store.ReadString(sidFixedFormContinuationMark);
  s.ContinuationMark = mark.size() == 1 && mark[0] != ' ' && mark[0] != '0' ? mark[0] : '&';
  s.WrapAt72 = b(sidFixedFormWrapAt72);
  s.BlockIndent = std::clamp(static_cast<int>(i(sidFixedFormBlockIndent)), 0, 12);
  s.LabelField = b(sidFixedFormLabelField);
  s.MarkMatching = b(sidFixedFormMatching);
  s.Folding = b(sidFixedFormFolding);
  s.MergeStatusbar = b(sidMergeStatusbar);
  s.FullPathInWindowTitle = b(sidFullPathInWindowTitle);
  return s;
}

std::shared_ptr<const TEditorSettings> CurrentEditorSettings() {
  static std::shared_ptr<const TEditorSettings> snapshot;
  static const TSettingsStore* readFrom = nullptr;
  static uint64_t revision = 0;
  TSettingsStore& store = Store();
  if (!snapshot || readFrom != &store || revision != store.Revision()) {
    snapshot = std::make_shared<const TEditorSettings>(TEditorSettings::Read(store));
    readFrom = &store;
    revision = store.Revision();
  }
  return snapshot;
}

}  // namespace vortan
