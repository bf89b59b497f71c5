#pragma once
// The commands of the main window as data: one row per action with its name, the block that
// holds its texts in the language template (OBJECTS > Form:Main > group > Action:key), its
// image in each icon set, its number and the rules that set its enabled and checked state.
// Captions, hints and shortcuts are not here: they come from the template.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/commands.h"

namespace vortan {

/// When an action is enabled.
enum class TUpdateRule {
  Always,
  Never,
  ActiveEditor,  ///< an editor window is active
  AnyEditor,     ///< at least one editor window exists
  Save,          ///< the active editor is modified or untitled
  History,       ///< the reopen history is not empty
  Undo,
  Redo,
  Selection,  ///< the active editor has a selection
  Paste,
  SearchAgain,  ///< an editor is active and there is a previous search text
  Stop,         ///< the active editor has a running job
  Messages,     ///< the Messages tree is not empty
  Output,       ///< the Output panel is not empty
  PanelCopy,    ///< the panel whose context menu opened last has something to copy
  TextStyle,    ///< an icon set is in use (text styles need icons)
  Compile,      ///< an editor is active, has no running job, and the compiler is found
  Analyze,      ///< an editor is active and the analyzer is found
  Execute,      ///< an editor is active, has no running job, and its program exists
  Debug,        ///< the debugger is missing (choosing Debug explains it), or as Compile
  CompileAll,   ///< at least one editor window exists and the compiler is found
  AnalyzeAll,   ///< at least one editor window exists and the analyzer is found
  Symbols,      ///< the active editor's file is in the symbol index
  JumpBack,     ///< Go to Definition left a place to return to
  JumpForward,  ///< Back left a place to go to again

  // The debugger inside the IDE.
  DebugStart,    ///< the debugged program waits (Continue), or none runs and an editor is active
  DebugStopped,  ///< the debugged program waits: steps, Continue, Run to Cursor
  DebugRunning,  ///< the debugged program runs: Pause
  DebugActive,   ///< a debugging session is on
};

/// What the check mark of an action shows.
enum class TCheckRule {
  None,
  MenuBar,
  Files,
  Messages,
  Output,
  StatusBar,
  MainBar,
  EditBar,
  RunBar,
  FullScreen,
  IconStyle,      ///< the current icon style equals the action's number
  TextStyle,      ///< the current text style equals the action's number
  FlatMenuStyle,  ///< the current flat menu style equals the action's number
  Stretch,
  MergeStatusbar,
  SymbolsPanel,
  CallStackPanel,
  VariablesPanel,
  WatchPanel,
};

enum TIconSet : int { isXP = 0, isGnome = 1, isOld = 2 };
constexpr int IconSetCount = 3;
/// Icon style 3: no image set at all.
constexpr int NoIcons = 3;

struct TActionRow {
  const char* Name;         ///< "actNew"
  const char* Group;        ///< "File" (the template's group block)
  const char* Key;          ///< "New" (the template's "Action:New" block)
  int Image[IconSetCount];  ///< index in the XP, Gnome and Old image lists; -1 none
  int Tag;                  ///< bookmark digit, options page, icon style, ...
  TUpdateRule Enable;
  TCheckRule Check;
  bool Hidden;       ///< never shown in a menu
  bool SubmenuHead;  ///< only opens a submenu; executing it does nothing
  TCommand Run;      ///< what the command does; nullptr while it has no handler yet
};

/// Every action of the main window, in the template's order.
std::span<const TActionRow> ActionTable();
/// The row of an action by name, or nullptr.
const TActionRow* FindActionRow(std::string_view name);

/// Names of the images of one icon set, in image-index order (file names without extension).
std::span<const char* const> IconSetImages(int set);
/// "xp", "gnome", "old": the folder of the set's pictures.
const char* IconSetFolder(int set);

/// The facts the update rules look at, gathered once per update pass.
struct TActionState {
  bool ActiveEditor = false;
  bool AnyEditor = false;
  bool ActiveModifiedOrUntitled = false;
  bool HistoryNotEmpty = false;
  bool CanUndo = false, CanRedo = false, HasSelection = false, CanPaste = false;
  bool HasSearchText = false;
  bool Running = false;
  bool MessagesNotEmpty = false;
  bool OutputNotEmpty = false;
  bool PanelHasCopy = false;        ///< see TUpdateRule::PanelCopy
  bool CompiledFileExists = false;  ///< the active editor's program file exists
  bool AnalyzerFound = false, CompilerFound = false, DebuggerFound = false;
  bool DebugActive = false, DebugStopped = false, DebugRunning = false;
  int IconStyle = 0;
  bool SymbolsReady = false;  ///< see TUpdateRule::Symbols
  bool CanJumpBack = false, CanJumpForward = false;
};
bool IsEnabled(TUpdateRule rule, const TActionState& state);

/// One entry of a menu: an action name, "-" for a separator, or "cbxTheme" for the theme list.
/// An action that heads a submenu lists the submenu's entries in SubmenuOf.
struct TMenuSpec {
  const char* Key;  ///< "File" (template block "Menu:File"); object name "mnuFile"
  std::vector<std::string> Items;
};
/// The menu bar's menus, left to right.
const std::vector<TMenuSpec>& MainMenus();
/// The entries of the submenu headed by the action; empty for an action without one, and for
/// actReopen, whose entries are built from the history.
const std::vector<std::string>& SubmenuOf(std::string_view headAction);

}  // namespace vortan
