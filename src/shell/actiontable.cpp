#include "shell/actiontable.h"

#include <map>

#include "shell/commands.h"

namespace vortan {

namespace {

using R = TUpdateRule;
using C = TCheckRule;

// name, group, key, {XP, Gnome, Old}, number, enabled, checked, hidden, submenu head, handler
// (nullptr: not available yet; the command stays disabled)
constexpr TActionRow Rows[] = {
    {"actNew", "File", "New", {0, 0, 0}, 0, R::Always, C::None, false, false, cmd::New},
    {"actOpen", "File", "Open", {1, 1, 1}, 0, R::Always, C::None, false, false, cmd::Open},
    {"actReopen", "File", "Reopen", {2, 2, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actSave", "File", "Save", {3, 3, 2}, 0, R::Save, C::None, false, false, cmd::Save},
    {"actSaveAs", "File", "SaveAs", {4, 4, 3}, 0, R::AnyEditor, C::None, false, false, cmd::SaveAs},
    {"actSaveAll", "File", "SaveAll", {5, 5, 4}, 0, R::AnyEditor, C::None, false, false, cmd::SaveAll},
    {"actClose", "File", "Close", {6, 6, 5}, 0, R::ActiveEditor, C::None, false, false, cmd::Close},
    {"actCloseAll", "File", "CloseAll", {7, 7, -1}, 0, R::AnyEditor, C::None, false, false, cmd::CloseAll},
    {"actExport", "File", "Export", {8, 8, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actPrint", "File", "Print", {9, 9, 6}, 0, R::ActiveEditor, C::None, false, false, cmd::Print},
    {"actPrintPreview", "File", "PrintPreview", {10, 10, 7}, 0, R::ActiveEditor, C::None, false, false, cmd::PrintPreview},
    {"actPrintOptions", "File", "PrintOptions", {12, -1, -1}, 3, R::Always, C::None, false, false, cmd::Options},
    {"actPageSetup", "File", "PageSetup", {11, 11, -1}, 0, R::Always, C::None, false, false, cmd::PageSetup},
    {"actExit", "File", "Exit", {13, 12, 8}, 0, R::Always, C::None, false, false, cmd::Exit},
    {"actToHTML", "File", "ToHTML", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false, cmd::Export},
    {"actToRTF", "File", "ToRTF", {-1, -1, -1}, 1, R::ActiveEditor, C::None, false, false, cmd::Export},
    {"actUndo", "Edit", "Undo", {14, 13, 9}, 0, R::Undo, C::None, false, false, cmd::Undo},
    {"actRedo", "Edit", "Redo", {15, 14, 10}, 0, R::Redo, C::None, false, false, cmd::Redo},
    {"actCut", "Edit", "Cut", {16, 15, 11}, 0, R::Selection, C::None, false, false, cmd::Cut},
    {"actCopy", "Edit", "Copy", {17, 16, 12}, 0, R::Selection, C::None, false, false, cmd::Copy},
    {"actPaste", "Edit", "Paste", {18, 17, 13}, 0, R::Paste, C::None, false, false, cmd::Paste},
    {"actClear", "Edit", "Clear", {19, 18, 14}, 0, R::ActiveEditor, C::None, false, false, cmd::Clear},
    {"actSelectAll", "Edit", "SelectAll", {20, 19, -1}, 0, R::ActiveEditor, C::None, false, false, cmd::SelectAll},
    {"actInsert", "Edit", "Insert", {21, 20, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actToggleBookmarks", "Edit", "ToggleBookmarks", {22, 21, 15}, 0, R::Always, C::None, false, true, nullptr},
    {"actGotoBookmarks", "Edit", "GotoBookmarks", {23, 22, 16}, 0, R::Always, C::None, false, true, nullptr},
    {"actToggle0", "Edit", "Toggle0", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle1", "Edit", "Toggle1", {-1, -1, -1}, 1, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle2", "Edit", "Toggle2", {-1, -1, -1}, 2, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle3", "Edit", "Toggle3", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle4", "Edit", "Toggle4", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle5", "Edit", "Toggle5", {-1, -1, -1}, 5, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle6", "Edit", "Toggle6", {-1, -1, -1}, 6, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle7", "Edit", "Toggle7", {-1, -1, -1}, 7, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle8", "Edit", "Toggle8", {-1, -1, -1}, 8, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actToggle9", "Edit", "Toggle9", {-1, -1, -1}, 9, R::ActiveEditor, C::None, false, false, cmd::ToggleBookmark},
    {"actGoto0", "Edit", "Goto0", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto1", "Edit", "Goto1", {-1, -1, -1}, 1, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto2", "Edit", "Goto2", {-1, -1, -1}, 2, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto3", "Edit", "Goto3", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto4", "Edit", "Goto4", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto5", "Edit", "Goto5", {-1, -1, -1}, 5, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto6", "Edit", "Goto6", {-1, -1, -1}, 6, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto7", "Edit", "Goto7", {-1, -1, -1}, 7, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto8", "Edit", "Goto8", {-1, -1, -1}, 8, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actGoto9", "Edit", "Goto9", {-1, -1, -1}, 9, R::ActiveEditor, C::None, false, false, cmd::GotoBookmark},
    {"actHeader", "Edit", "Header", {-1, -1, -1}, 0, R::ActiveEditor, C::None, false, false, cmd::Insert},
    {"actDateTime", "Edit", "DateTime", {26, 25, -1}, 1, R::ActiveEditor, C::None, false, false, cmd::Insert},
    {"actIF_THEN", "Edit", "IF_THEN", {-1, -1, -1}, 2, R::ActiveEditor, C::None, false, false, cmd::Insert},
    {"actDO_WHILE", "Edit", "DO_WHILE", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false, cmd::Insert},
    {"actDO_CONTINUE", "Edit", "DO_CONTINUE", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false, cmd::Insert},
    {"actSTOP_END", "Edit", "STOP_END", {-1, -1, -1}, 5, R::ActiveEditor, C::None, false, false, cmd::Insert},
    {"actToUpperCase", "Edit", "ToUpperCase", {24, 23, -1}, 1, R::ActiveEditor, C::None, false, false, cmd::Convert},
    {"actToLowerCase", "Edit", "ToLowerCase", {25, 24, -1}, 2, R::ActiveEditor, C::None, false, false, cmd::Convert},
    {"actToANSI", "Edit", "ToANSI", {-1, -1, -1}, 3, R::ActiveEditor, C::None, false, false, cmd::Convert},
    {"actToOEM", "Edit", "ToOEM", {-1, -1, -1}, 4, R::ActiveEditor, C::None, false, false, cmd::Convert},
    {"actConvert", "Edit", "Convert", {-1, -1, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actEditorOptions", "Edit", "EditorOptions", {38, 36, 26}, 1, R::Always, C::None, false, false, cmd::Options},
    {"actFind", "Search", "Find", {27, 26, 17}, 0, R::ActiveEditor, C::None, false, false, cmd::Find},
    {"actSearchAgain", "Search", "SearchAgain", {-1, -1, 18}, 0, R::SearchAgain, C::None, false, false, cmd::SearchAgain},
    {"actReplace", "Search", "Replace", {28, 27, 19}, 0, R::ActiveEditor, C::None, false, false, cmd::Replace},
    {"actGoTo", "Search", "GoTo", {29, 28, 20}, 0, R::ActiveEditor, C::None, false, false, cmd::GoToLine},
    {"actMenuBar", "View", "MenuBar", {-1, -1, -1}, 0, R::Always, C::MenuBar, false, false, cmd::MenuBar},
    {"actFiles", "View", "Files", {-1, -1, -1}, 0, R::Always, C::Files, false, false, cmd::TogglePanel},
    {"actMessages", "View", "Messages", {-1, -1, -1}, 0, R::Always, C::Messages, false, false, cmd::TogglePanel},
    {"actStatusBar", "View", "StatusBar", {-1, -1, -1}, 0, R::Always, C::StatusBar, false, false, cmd::StatusBar},
    {"actToolbars", "View", "Toolbars", {30, 29, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actMainBar", "View", "MainBar", {-1, -1, -1}, 0, R::Always, C::MainBar, false, false, cmd::TogglePanel},
    {"actEditBar", "View", "EditBar", {-1, -1, -1}, 0, R::Always, C::EditBar, false, false, cmd::TogglePanel},
    {"actRunBar", "View", "RunBar", {-1, -1, -1}, 0, R::Always, C::RunBar, false, false, cmd::TogglePanel},
    {"actOutput", "View", "Output", {-1, -1, -1}, 0, R::Always, C::Output, false, false, cmd::TogglePanel},
    {"actCompile", "Run", "Compile", {31, 30, 21}, 0, R::Compile, C::None, false, false, cmd::Build},
    {"actRun", "Run", "Run", {32, 31, 22}, 1, R::Execute, C::None, false, false, cmd::Build},
    {"actAnalyze", "Run", "Analyze", {33, -1, -1}, 2, R::Analyze, C::None, false, false, cmd::Build},
    {"actCompileandRun", "Run", "CompileandRun", {34, 32, 23}, 3, R::Compile, C::None, false, false, cmd::Build},
    {"actCompileAll", "Run", "CompileAll", {35, 33, -1}, 4, R::CompileAll, C::None, false, false, cmd::CompileAll},
    {"actAnalyzeAll", "Run", "AnalyzeAll", {-1, -1, -1}, 5, R::AnalyzeAll, C::None, false, false, cmd::AnalyzeAll},
    {"actDebug", "Run", "Debug", {36, 34, 24}, 6, R::Debug, C::None, false, false, cmd::Build},
    {"actStop", "Run", "Stop", {37, 35, 25}, 7, R::Stop, C::None, false, false, cmd::Stop},
    {"actCompilationOptions", "Run", "CompilationOptions", {39, 37, -1}, 2, R::Always, C::None, false, false, cmd::Options},
    {"actEnvironmentOptions", "Options", "EnvironmentOptions", {40, 38, 27}, 0, R::Always, C::None, false, false, cmd::Options},
    {"actVisual", "Options", "Visual", {-1, -1, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actTheme", "Options", "Theme", {-1, -1, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actMergeStatusbar", "Options", "MergeStatusbar", {-1, -1, -1}, 0, R::Always, C::MergeStatusbar, false, false, cmd::MergeStatusbar},
    {"actIconStyle", "Options", "IconStyle", {-1, -1, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actXP", "Options", "XP", {-1, -1, -1}, 0, R::Always, C::IconStyle, false, false, cmd::IconStyle},
    {"actGnome", "Options", "Gnome", {-1, -1, -1}, 1, R::Always, C::IconStyle, false, false, cmd::IconStyle},
    {"actOld", "Options", "Old", {-1, -1, -1}, 2, R::Always, C::IconStyle, false, false, cmd::IconStyle},
    {"actTextStyle", "Options", "TextStyle", {-1, -1, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actRight", "Options", "Right", {-1, -1, -1}, 1, R::TextStyle, C::TextStyle, false, false, cmd::TextStyle},
    {"actBottom", "Options", "Bottom", {-1, -1, -1}, 2, R::TextStyle, C::TextStyle, false, false, cmd::TextStyle},
    {"actFlatMenuStyle", "Options", "FlatMenuStyle", {-1, -1, -1}, 0, R::Always, C::None, false, true, nullptr},
    {"actAuto", "Options", "Auto", {-1, -1, -1}, 0, R::Always, C::FlatMenuStyle, false, false, cmd::FlatMenuStyle},
    {"actEnable", "Options", "Enable", {-1, -1, -1}, 1, R::Always, C::FlatMenuStyle, false, false, cmd::FlatMenuStyle},
    {"actStretch", "Options", "Stretch", {-1, -1, -1}, 0, R::Always, C::Stretch, false, false, cmd::Stretch},
    {"actToolsOptions", "Tools", "ToolsOptions", {41, -1, -1}, 0, R::Never, C::None, true, false, nullptr},
    {"actMSDOSPrompt", "Tools", "MSDOSPrompt", {42, 39, 28}, 0, R::Always, C::None, false, false, cmd::Terminal},
    {"actWindowsExplorer", "Tools", "WindowsExplorer", {43, 40, 29}, 0, R::Always, C::None, false, false, cmd::FileManager},
    {"actCalculator", "Tools", "Calculator", {44, 41, 30}, 0, R::Always, C::None, false, false, cmd::Calculator},
    {"actTranslate", "Tools", "Translate", {45, -1, -1}, 0, R::Always, C::None, false, false, cmd::Translate},
    {"actVerticalTile", "Windows", "VerticalTile", {46, 42, 31}, 0, R::AnyEditor, C::None, false, false, cmd::TileVertically},
    {"actHorizontalTile", "Windows", "HorizontalTile", {47, 43, 32}, 0, R::AnyEditor, C::None, false, false, cmd::TileHorizontally},
    {"actCascade", "Windows", "Cascade", {48, 44, 33}, 0, R::AnyEditor, C::None, false, false, cmd::Cascade},
    {"actArrangeIcons", "Windows", "ArrangeIcons", {-1, -1, -1}, 0, R::AnyEditor, C::None, false, false, cmd::ArrangeIcons},
    {"actCloseAll2", "Windows", "CloseAll2", {7, 7, -1}, 0, R::AnyEditor, C::None, false, false, cmd::CloseAll},
    {"actMinimizeAll", "Windows", "MinimizeAll", {-1, -1, -1}, 0, R::AnyEditor, C::None, false, false, cmd::MinimizeAll},
    {"actFullScreen", "Windows", "FullScreen", {49, 45, -1}, 0, R::Always, C::FullScreen, false, false, cmd::FullScreen},
    {"actNext", "Windows", "Next", {50, 46, 34}, 0, R::AnyEditor, C::None, false, false, cmd::NextWindow},
    {"actPrevious", "Windows", "Previous", {51, 47, 35}, 0, R::AnyEditor, C::None, false, false, cmd::PreviousWindow},
    {"actHelp", "Help", "Help", {52, 48, 36}, 0, R::Always, C::None, false, false, cmd::Help},
    {"actContents", "Help", "Contents", {53, -1, -1}, 0, R::Always, C::None, false, false, cmd::Help},
    {"actTutorial", "Help", "Tutorial", {54, 49, -1}, 0, R::Always, C::None, false, false, cmd::Tutorial},
    {"actProgramLanguage", "Help", "ProgramLanguage", {55, 50, -1}, 0, R::Always, C::None, false, false, cmd::ProgramLanguage},
    {"actG77Manual", "Help", "G77Manual", {-1, -1, -1}, 0, R::Always, C::None, false, false, cmd::CompilerManual},
    {"actFtnchekManual", "Help", "FtnchekManual", {-1, -1, -1}, 0, R::Always, C::None, false, false, cmd::AnalyzerManual},
    {"actGDBManual", "Help", "GDBManual", {-1, -1, -1}, 0, R::Always, C::None, false, false, cmd::DebuggerManual},
    {"actDonations", "Help", "Donations", {-1, -1, -1}, 0, R::Always, C::None, false, false, cmd::Donations},
    {"actVortanProjectWebsite", "Help", "VortanProjectWebsite", {-1, -1, -1}, 0, R::Always, C::None, false, false, cmd::ProjectWebsite},
    {"actAbout", "Help", "About", {-1, 51, -1}, 0, R::Always, C::None, false, false, cmd::About},
    {"actClearHistory", "Misc", "ClearHistory", {56, 52, -1}, 0, R::History, C::None, false, false, cmd::ClearHistory},
    {"actClearMessages", "Misc", "ClearMessages", {-1, -1, -1}, 0, R::Messages, C::None, false, false, cmd::ClearMessages},
    {"actClearOutput", "Misc", "ClearOutput", {-1, -1, -1}, 0, R::Output, C::None, false, false, cmd::ClearOutput},
    {"actCopyToClipboard", "Misc", "CopyToClipboard", {-1, -1, -1}, 0, R::PanelCopy, C::None, false, false, cmd::CopyToClipboard},
    {"actSelectFont", "Misc", "SelectFont", {-1, -1, -1}, 0, R::Always, C::None, false, false, cmd::SelectFont},
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
    case R::PanelCopy: return s.PanelHasCopy;
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
