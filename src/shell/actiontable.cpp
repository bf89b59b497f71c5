#include "shell/actiontable.h"

#include <map>

namespace vortan {

namespace {

using R = TUpdateRule;
using C = TCheckRule;

// name, group, key, {XP, Gnome, Old}, number, enabled, checked, hidden, submenu head
constexpr TActionRow Rows[] = {
    {"actNew", "File", "New", {0, 0, 0}, 0, R::Always, C::None, false, false},
    {"actOpen", "File", "Open", {1, 1, 1}, 0, R::Always, C::None, false, false},
    {"actReopen", "File", "Reopen", {2, 2, -1}, 0, R::Always, C::None, false, true},
    {"actSave", "File", "Save", {3, 3, 2}, 0, R::Save, C::None, false, false},
    {"actSaveAs", "File", "SaveAs", {4, 4, 3}, 0, R::AnyEditor, C::None, false, false},
    {"actSaveAll", "File", "SaveAll", {5, 5, 4}, 0, R::AnyEditor, C::None, false, false},
    {"actClose", "File", "Close", {6, 6, 5}, 0, R::ActiveEditor, C::None, false, false},
    {"actCloseAll", "File", "CloseAll", {7, 7, -1}, 0, R::AnyEditor, C::None, false, false},
    {"actExport", "File", "Export", {8, 8, -1}, 0, R::Always, C::None, false, true},
    {"actPrint", "File", "Print", {9, 9, 6}, 0, R::ActiveEditor, C::None, false, false},
    {"actPrintPreview", "File", "PrintPreview", {10, 10, 7}, 0, R::ActiveEditor, C::None, false, false},
    {"actPrintOptions", "File", "PrintOptions", {12, -1, -1}, 3, R::Always, C::None, false, false},
    {"actPageSetup", "File", "PageSetup", {11, 11, -1}, 0, R::Always, C::None, false, false},
    {"actExit", "File", "Exit", {13, 12, 8}, 0, R::Always, C::None, false, false},
    {"actToHTML", "File", "ToHTML", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false},
    {"actToRTF", "File", "ToRTF", {-1, -1, -1}, 1, R::ActiveEditor, C::None, false, false},
    {"actUndo", "Edit", "Undo", {14, 13, 9}, 0, R::Undo, C::None, false, false},
    {"actRedo", "Edit", "Redo", {15, 14, 10}, 0, R::Redo, C::None, false, false},
    {"actCut", "Edit", "Cut", {16, 15, 11}, 0, R::Selection, C::None, false, false},
    {"actCopy", "Edit", "Copy", {17, 16, 12}, 0, R::Selection, C::None, false, false},
    {"actPaste", "Edit", "Paste", {18, 17, 13}, 0, R::Paste, C::None, false, false},
    {"actClear", "Edit", "Clear", {19, 18, 14}, 0, R::ActiveEditor, C::None, false, false},
    {"actSelectAll", "Edit", "SelectAll", {20, 19, -1}, 0, R::ActiveEditor, C::None, false, false},
    {"actInsert", "Edit", "Insert", {21, 20, -1}, 0, R::Always, C::None, false, true},
    {"actToggleBookmarks", "Edit", "ToggleBookmarks", {22, 21, 15}, 0, R::Always, C::None, false, true},
    {"actGotoBookmarks", "Edit", "GotoBookmarks", {23, 22, 16}, 0, R::Always, C::None, false, true},
    {"actToggle0", "Edit", "Toggle0", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false},
    {"actToggle1", "Edit", "Toggle1", {-1, -1, -1}, 1, R::ActiveEditor, C::None, false, false},
    {"actToggle2", "Edit", "Toggle2", {-1, -1, -1}, 2, R::ActiveEditor, C::None, false, false},
    {"actToggle3", "Edit", "Toggle3", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false},
    {"actToggle4", "Edit", "Toggle4", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false},
    {"actToggle5", "Edit", "Toggle5", {-1, -1, -1}, 5, R::ActiveEditor, C::None, false, false},
    {"actToggle6", "Edit", "Toggle6", {-1, -1, -1}, 6, R::ActiveEditor, C::None, false, false},
    {"actToggle7", "Edit", "Toggle7", {-1, -1, -1}, 7, R::ActiveEditor, C::None, false, false},
    {"actToggle8", "Edit", "Toggle8", {-1, -1, -1}, 8, R::ActiveEditor, C::None, false, false},
    {"actToggle9", "Edit", "Toggle9", {-1, -1, -1}, 9, R::ActiveEditor, C::None, false, false},
    {"actGoto0", "Edit", "Goto0", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false},
    {"actGoto1", "Edit", "Goto1", {-1, -1, -1}, 1, R::ActiveEditor, C::None, false, false},
    {"actGoto2", "Edit", "Goto2", {-1, -1, -1}, 2, R::ActiveEditor, C::None, false, false},
    {"actGoto3", "Edit", "Goto3", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false},
    {"actGoto4", "Edit", "Goto4", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false},
    {"actGoto5", "Edit", "Goto5", {-1, -1, -1}, 5, R::ActiveEditor, C::None, false, false},
    {"actGoto6", "Edit", "Goto6", {-1, -1, -1}, 6, R::ActiveEditor, C::None, false, false},
    {"actGoto7", "Edit", "Goto7", {-1, -1, -1}, 7, R::ActiveEditor, C::None, false, false},
    {"actGoto8", "Edit", "Goto8", {-1, -1, -1}, 8, R::ActiveEditor, C::None, false, false},
    {"actGoto9", "Edit", "Goto9", {-1, -1, -1}, 9, R::ActiveEditor, C::None, false, false},
    {"actHeader", "Edit", "Header", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false},
    {"actDateTime", "Edit", "DateTime", {26, 25, -1}, 1, R::ActiveEditor, C::None, false, false},
    {"actIF_THEN", "Edit", "IF_THEN", {-1, -1, -1}, 2, R::ActiveEditor, C::None, false, false},
    {"actDO_WHILE", "Edit", "DO_WHILE", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false},
    {"actDO_CONTINUE", "Edit", "DO_CONTINUE", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false},
    {"actSTOP_END", "Edit", "STOP_END", {-1, -1, -1}, 5, R::ActiveEditor, C::None, false, false},
    {"actToUpperCase", "Edit", "ToUpperCase", {24, 23, -1}, 1, R::ActiveEditor, C::None, false, false},
    {"actToLowerCase", "Edit", "ToLowerCase", {25, 24, -1}, 2, R::ActiveEditor, C::None, false, false},
    {"actToANSI", "Edit", "ToANSI", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false},
    {"actToOEM", "Edit", "ToOEM", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false},
    {"actConvert", "Edit", "Convert", {-1, -1, -1}, 0, R::Always, C::None, false, true},
    {"actEditorOptions", "Edit", "EditorOptions", {38, 36, 26}, 1, R::Always, C::None, false, false},
    {"actFind", "Search", "Find", {27, 26, 17}, 0, R::ActiveEditor, C::None, false, false},
    {"actSearchAgain", "Search", "SearchAgain", {-1, -1, 18}, 0, R::SearchAgain, C::None, false, false},
    {"actReplace", "Search", "Replace", {28, 27, 19}, 0, R::ActiveEditor, C::None, false, false},
    {"actGoTo", "Search", "GoTo", {29, 28, 20}, 0, R::ActiveEditor, C::None, false, false},
    {"actMenuBar", "View", "MenuBar", {-1, -1, -1}, 0, R::Always, C::MenuBar, false, false},
    {"actFiles", "View", "Files", {-1, -1, -1}, 0, R::Always, C::Files, false, false},
    {"actMessages", "View", "Messages", {-1, -1, -1}, 0, R::Always, C::Messages, false, false},
    {"actStatusBar", "View", "StatusBar", {-1, -1, -1}, 0, R::Always, C::StatusBar, false, false},
    {"actToolbars", "View", "Toolbars", {30, 29, -1}, 0, R::Always, C::None, false, true},
    {"actMainBar", "View", "MainBar", {-1, -1, -1}, 0, R::Always, C::MainBar, false, false},
    {"actEditBar", "View", "EditBar", {-1, -1, -1}, 0, R::Always, C::EditBar, false, false},
    {"actRunBar", "View", "RunBar", {-1, -1, -1}, 0, R::Always, C::RunBar, false, false},
    {"actOutput", "View", "Output", {-1, -1, -1}, 0, R::Always, C::Output, false, false},
    {"actCompile", "Run", "Compile", {31, 30, 21}, 0, R::Compile, C::None, false, false},
    {"actRun", "Run", "Run", {32, 31, 22}, 1, R::Execute, C::None, false, false},
    {"actAnalyze", "Run", "Analyze", {33, -1, -1}, 2, R::Analyze, C::None, false, false},
    {"actCompileandRun", "Run", "CompileandRun", {34, 32, 23}, 3, R::Compile, C::None, false, false},
    {"actCompileAll", "Run", "CompileAll", {35, 33, -1}, 4, R::CompileAll, C::None, false, false},
    {"actAnalyzeAll", "Run", "AnalyzeAll", {-1, -1, -1}, 5, R::AnalyzeAll, C::None, false, false},
    {"actDebug", "Run", "Debug", {36, 34, 24}, 6, R::Debug, C::None, false, false},
    {"actStop", "Run", "Stop", {37, 35, 25}, 7, R::Stop, C::None, false, false},
    {"actCompilationOptions", "Run", "CompilationOptions", {39, 37, -1}, 2, R::Always, C::None, false, false},
    {"actEnvironmentOptions", "Options", "EnvironmentOptions", {40, 38, 27}, 0, R::Always, C::None, false, false},
    {"actVisual", "Options", "Visual", {-1, -1, -1}, 0, R::Always, C::None, false, true},
    {"actTheme", "Options", "Theme", {-1, -1, -1}, 0, R::Always, C::None, false, true},
    {"actMergeStatusbar", "Options", "MergeStatusbar", {-1, -1, -1}, 0, R::Always, C::MergeStatusbar, false, false},
    {"actIconStyle", "Options", "IconStyle", {-1, -1, -1}, 0, R::Always, C::None, false, true},
    {"actXP", "Options", "XP", {-1, -1, -1}, 0, R::Always, C::IconStyle, false, false},
    {"actGnome", "Options", "Gnome", {-1, -1, -1}, 1, R::Always, C::IconStyle, false, false},
    {"actOld", "Options", "Old", {-1, -1, -1}, 2, R::Always, C::IconStyle, false, false},
    {"actTextStyle", "Options", "TextStyle", {-1, -1, -1}, 0, R::Always, C::None, false, true},
    {"actRight", "Options", "Right", {-1, -1, -1}, 1, R::TextStyle, C::TextStyle, false, false},
    {"actBottom", "Options", "Bottom", {-1, -1, -1}, 2, R::TextStyle, C::TextStyle, false, false},
    {"actFlatMenuStyle", "Options", "FlatMenuStyle", {-1, -1, -1}, 0, R::Always, C::None, false, true},
    {"actAuto", "Options", "Auto", {-1, -1, -1}, 0, R::Always, C::FlatMenuStyle, false, false},
    {"actEnable", "Options", "Enable", {-1, -1, -1}, 1, R::Always, C::FlatMenuStyle, false, false},
    {"actStretch", "Options", "Stretch", {-1, -1, -1}, 0, R::Always, C::Stretch, false, false},
    {"actToolsOptions", "Tools", "ToolsOptions", {41, -1, -1}, 0, R::Never, C::None, true, false},
    {"actMSDOSPrompt", "Tools", "MSDOSPrompt", {42, 39, 28}, 0, R::Always, C::None, false, false},
    {"actWindowsExplorer", "Tools", "WindowsExplorer", {43, 40, 29}, 0, R::Always, C::None, false, false},
    {"actCalculator", "Tools", "Calculator", {44, 41, 30}, 0, R::Always, C::None, false, false},
    {"actTranslate", "Tools", "Translate", {45, -1, -1}, 0, R::Always, C::None, false, false},
    {"actVerticalTile", "Windows", "VerticalTile", {46, 42, 31}, 0, R::AnyEditor, C::None, false, false},
    {"actHorizontalTile", "Windows", "HorizontalTile", {47, 43, 32}, 0, R::AnyEditor, C::None, false, false},
    {"actCascade", "Windows", "Cascade", {48, 44, 33}, 0, R::AnyEditor, C::None, false, false},
    {"actArrangeIcons", "Windows", "ArrangeIcons", {-1, -1, -1}, 0, R::AnyEditor, C::None, false, false},
    {"actCloseAll2", "Windows", "CloseAll2", {7, 7, -1}, 0, R::AnyEditor, C::None, false, false},
    {"actMinimizeAll", "Windows", "MinimizeAll", {-1, -1, -1}, 0, R::AnyEditor, C::None, false, false},
    {"actFullScreen", "Windows", "FullScreen", {49, 45, -1}, 0, R::Always, C::FullScreen, false, false},
    {"actNext", "Windows", "Next", {50, 46, 34}, 0, R::AnyEditor, C::None, false, false},
    {"actPrevious", "Windows", "Previous", {51, 47, 35}, 0, R::AnyEditor, C::None, false, false},
    {"actHelp", "Help", "Help", {52, 48, 36}, 0, R::Always, C::None, false, false},
    {"actContents", "Help", "Contents", {53, -1, -1}, 0, R::Always, C::None, false, false},
    {"actTutorial", "Help", "Tutorial", {54, 49, -1}, 0, R::Always, C::None, false, false},
    {"actProgramLanguage", "Help", "ProgramLanguage", {55, 50, -1}, 0, R::Always, C::None, false, false},
    {"actG77Manual", "Help", "G77Manual", {-1, -1, -1}, 0, R::Always, C::None, false, false},
    {"actFtnchekManual", "Help", "FtnchekManual", {-1, -1, -1}, 0, R::Always, C::None, false, false},
    {"actGDBManual", "Help", "GDBManual", {-1, -1, -1}, 0, R::Always, C::None, false, false},
    {"actDonations", "Help", "Donations", {-1, -1, -1}, 0, R::Always, C::None, false, false},
    {"actVortanProjectWebsite", "Help", "VortanProjectWebsite", {-1, -1, -1}, 0, R::Always, C::None, false, false},
    {"actAbout", "Help", "About", {-1, 51, -1}, 0, R::Always, C::None, false, false},
    {"actClearHistory", "Misc", "ClearHistory", {56, 52, -1}, 0, R::History, C::None, false, false},
    {"actClearMessages", "Misc", "ClearMessages", {-1, -1, -1}, 0, R::Messages, C::None, false, false},
    {"actClearOutput", "Misc", "ClearOutput", {-1, -1, -1}, 0, R::Output, C::None, false, false},
    {"actCopyToClipboard", "Misc", "CopyToClipboard", {-1, -1, -1}, 0, R::Output, C::None, false, false},
    {"actSelectFont", "Misc", "SelectFont", {-1, -1, -1}, 0, R::Always, C::None, false, false},
};

constexpr const char* XPImages[] = {
    "new", "open", "reopen", "save", "saveas", "saveall", "close", "closeall", "export", "print",
    "printpreview", "pagesetup", "printoptions", "exit", "undo", "redo", "cut", "copy", "paste",
    "clear", "selectall", "insert", "togglebookmark", "gotobookmark", "uppercase", "lowercase",
    "datetime", "find", "replace", "goto", "toolbars", "compile", "execute", "analyze",
    "compileandrun", "compileall", "debug", "stop", "editoroptions", "compilationoptions",
    "environmentoptions", "toolsoptions", "terminal", "filemanager", "calculator", "translate",
    "tilevertical", "tilehorizontal", "cascade", "fullscreen", "next", "previous", "help",
    "contents", "tutorial", "language", "clearhistory",
};

constexpr const char* GnomeImages[] = {
    "new", "open", "reopen", "save", "saveas", "saveall", "close", "closeall", "export", "print",
    "printpreview", "pagesetup", "exit", "undo", "redo", "cut", "copy", "paste", "clear",
    "selectall", "insert", "togglebookmark", "gotobookmark", "uppercase", "lowercase",
    "datetime", "find", "replace", "goto", "toolbars", "compile", "execute", "compileandrun",
    "compileall", "debug", "stop", "editoroptions", "compilationoptions", "environmentoptions",
    "terminal", "filemanager", "calculator", "tilevertical", "tilehorizontal", "cascade",
    "fullscreen", "next", "previous", "help", "tutorial", "language", "about", "clearhistory",
};

constexpr const char* OldImages[] = {
    "new", "open", "save", "saveas", "saveall", "close", "print", "printpreview", "exit", "undo",
    "redo", "cut", "copy", "paste", "clear", "togglebookmark", "gotobookmark", "find",
    "searchagain", "replace", "goto", "compile", "execute", "compileandrun", "debug", "stop",
    "editoroptions", "environmentoptions", "terminal", "filemanager", "calculator",
    "tilevertical", "tilehorizontal", "cascade", "next", "previous", "help",
};

}  // namespace

std::span<const TActionRow> ActionTable() { return Rows; }

const TActionRow* FindActionRow(std::string_view name) {
  for (const TActionRow& r : Rows)
    if (name == r.Name) return &r;
  return nullptr;
}

std::span<const char* const> IconSetImages(int set) {
  switch (set) {
    case isXP: return XPImages;
    case isGnome: return GnomeImages;
    case isOld: return OldImages;
    default: return {};
  }
}

const char* IconSetFolder(int set) {
  switch (set) {
    case isXP: return "xp";
    case isGnome: return "gnome";
    case isOld: return "old";
    default: return "";
  }
}

bool IsEnabled(TUpdateRule rule, const TActionState& s) {
  switch (rule) {
    case R::Always: return true;
    case R::Never: return false;
    case R::ActiveEditor: return s.ActiveEditor;
    case R::AnyEditor: return s.AnyEditor;
    case R::Save: return s.ActiveEditor && s.ActiveModifiedOrUntitled;
    case R::History: return s.HistoryNotEmpty;
    case R::Undo: return s.ActiveEditor && s.CanUndo;
    case R::Redo: return s.ActiveEditor && s.CanRedo;
    case R::Selection: return s.ActiveEditor && s.HasSelection;
    case R::Paste: return s.ActiveEditor && s.CanPaste;
    case R::SearchAgain: return s.ActiveEditor && s.HasSearchText;
    case R::Stop: return s.ActiveEditor && s.Running;
    case R::Messages: return s.MessagesNotEmpty;
    case R::Output: return s.OutputNotEmpty;
    case R::TextStyle: return s.IconStyle != NoIcons;
    case R::Compile: return s.ActiveEditor && !s.Running && s.CompilerFound;
    case R::Analyze: return s.ActiveEditor && s.AnalyzerFound;
    case R::CompileAll: return s.AnyEditor && s.CompilerFound;
    case R::AnalyzeAll: return s.AnyEditor && s.AnalyzerFound;
    case R::Execute: return s.ActiveEditor && !s.Running && s.CompiledFileExists;
    case R::Debug: return !s.DebuggerFound || (s.ActiveEditor && !s.Running);
  }
  return false;
}

const std::vector<TMenuSpec>& MainMenus() {
  static const std::vector<TMenuSpec> menus = {
      {"File",
       {"actNew", "actOpen", "actReopen", "-", "actSave", "actSaveAs", "actSaveAll", "actClose",
        "actCloseAll", "-", "actExport", "-", "actPageSetup", "actPrintOptions", "actPrint",
        "actPrintPreview", "-", "actExit"}},
      {"Edit",
       {"actUndo", "actRedo", "-", "actCut", "actCopy", "actPaste", "actClear", "actSelectAll", "-",
        "actConvert", "actInsert", "actToggleBookmarks", "actGotoBookmarks", "-",
        "actEditorOptions"}},
      {"Search", {"actFind", "actSearchAgain", "actReplace", "-", "actGoTo"}},
      {"View",
       {"actMenuBar", "actFiles", "actMessages", "actOutput", "actStatusBar", "actToolbars", "-"}},
      {"Run",
       {"actCompile", "actRun", "actAnalyze", "-", "actCompileandRun", "actCompileAll",
        "actAnalyzeAll", "-", "actDebug", "actStop", "-", "actCompilationOptions"}},
      {"Options", {"actEnvironmentOptions", "-", "actVisual"}},
      {"Tools",
       {"actToolsOptions", "-", "actMSDOSPrompt", "actWindowsExplorer", "actCalculator",
        "actTranslate"}},
      {"Window",
       {"actCascade", "actVerticalTile", "actHorizontalTile", "actArrangeIcons", "actMinimizeAll",
        "-", "actCloseAll2", "-", "actFullScreen", "-", "actNext", "actPrevious"}},
      {"Help",
       {"actHelp", "actContents", "actTutorial", "-", "actProgramLanguage", "-", "actG77Manual",
        "actFtnchekManual", "actGDBManual", "-", "actDonations", "-", "actVortanProjectWebsite",
        "-", "actAbout"}},
  };
  return menus;
}

const std::vector<std::string>& SubmenuOf(std::string_view headAction) {
  static const std::map<std::string, std::vector<std::string>, std::less<>> submenus = [] {
    std::map<std::string, std::vector<std::string>, std::less<>> m;
    m["actExport"] = {"actToHTML", "actToRTF"};
    m["actConvert"] = {"actToUpperCase", "actToLowerCase", "-", "actToANSI", "actToOEM"};
    m["actInsert"] = {"actHeader", "actDateTime", "-", "actIF_THEN", "actDO_WHILE",
                      "actDO_CONTINUE", "actSTOP_END"};
    // Bookmark entries run 1 to 9, then 0, as on the keyboard.
    for (const char* head : {"actToggleBookmarks", "actGotoBookmarks"}) {
      const std::string prefix = head == std::string_view("actToggleBookmarks") ? "actToggle"
                                                                                : "actGoto";
      std::vector<std::string>& items = m[head];
      for (int i = 1; i <= 10; ++i) items.push_back(prefix + std::to_string(i % 10));
    }
    m["actToolbars"] = {"actMainBar", "actEditBar", "actRunBar"};
    m["actVisual"] = {"actIconStyle", "actTextStyle", "actFlatMenuStyle", "actStretch", "-",
                      "cbxTheme", "actMergeStatusbar"};
    m["actIconStyle"] = {"actXP", "actGnome", "actOld"};
    m["actTextStyle"] = {"actRight", "actBottom"};
    m["actFlatMenuStyle"] = {"actAuto", "actEnable"};
    return m;
  }();
  static const std::vector<std::string> none;
  auto it = submenus.find(headAction);
  return it == submenus.end() ? none : it->second;
}

}  // namespace vortan
