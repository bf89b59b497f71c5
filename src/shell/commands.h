#pragma once
// The handlers of the main window's commands. Every row of the action table names its
// handler (actiontable.cpp), so the table shows at a glance what each command does; the
// handlers live with the other commands of their menu (filecommands.cpp, editcommands.cpp,
// viewcommands.cpp, runcommands.cpp, toolcommands.cpp, helpcommands.cpp).

class QAction;

namespace vortan {

class TfrmMain;
struct TActionRow;

/// What a handler is given: the main window, the command's row (its number is Row.Tag) and
/// its action (its checked state is already toggled when the action is checkable).
struct TCommandCall {
  TfrmMain& Main;
  const TActionRow& Row;
  QAction& Action;
};
using TCommand = void (*)(const TCommandCall&);

namespace cmd {

// File
void New(const TCommandCall&);
void Open(const TCommandCall&);
void Save(const TCommandCall&);
void SaveAs(const TCommandCall&);
void SaveAll(const TCommandCall&);
void Close(const TCommandCall&);
void CloseAll(const TCommandCall&);
void Exit(const TCommandCall&);
void ClearHistory(const TCommandCall&);

void Print(const TCommandCall&);
void PrintPreview(const TCommandCall&);
void PageSetup(const TCommandCall&);
void Export(const TCommandCall&);  ///< Row.Tag 0: HTML, 1: RTF

// Edit
void Undo(const TCommandCall&);
void Redo(const TCommandCall&);
void Cut(const TCommandCall&);
void Copy(const TCommandCall&);
void Paste(const TCommandCall&);
void Clear(const TCommandCall&);
void SelectAll(const TCommandCall&);
void ToggleBookmark(const TCommandCall&);  ///< bookmark Row.Tag
void GotoBookmark(const TCommandCall&);    ///< bookmark Row.Tag
void Insert(const TCommandCall&);          ///< the template of Row.Tag
void Convert(const TCommandCall&);         ///< the conversion of Row.Tag
void FoldAll(const TCommandCall&);         ///< folds (Row.Tag 1) or unfolds every block
void Reindent(const TCommandCall&);        ///< re-indents the selection or the file (findent)

// Search
void Find(const TCommandCall&);
void SearchAgain(const TCommandCall&);
void Replace(const TCommandCall&);
void GoToLine(const TCommandCall&);
// Search: knowing the code (symbolcommandcalls.cpp)
void GoToDefinition(const TCommandCall&);
void FindReferences(const TCommandCall&);
void GoBack(const TCommandCall&);
void GoForward(const TCommandCall&);
void CallTree(const TCommandCall&);  ///< Row.Tag 0: calls, 1: called by
void Complete(const TCommandCall&);
void NextFinding(const TCommandCall&);
void PreviousFinding(const TCommandCall&);

// View and appearance
void MenuBar(const TCommandCall&);
void TogglePanel(const TCommandCall&);  ///< the bar or panel the row's check rule names
void StatusBar(const TCommandCall&);
void IconStyle(const TCommandCall&);
void TextStyle(const TCommandCall&);
void FlatMenuStyle(const TCommandCall&);
void Stretch(const TCommandCall&);
void MergeStatusbar(const TCommandCall&);
/// The Options dialog on page Row.Tag (0 General, 1 Editor, 2 Run, 3 Print).
void Options(const TCommandCall&);
void SelectFont(const TCommandCall&);
void ClearOutput(const TCommandCall&);
void CopyToClipboard(const TCommandCall&);
void ClearMessages(const TCommandCall&);

// Run
void Build(const TCommandCall&);  ///< the steps of Row.Tag: Compile, Execute, Analyze, ...
void Stop(const TCommandCall&);
void CompileAll(const TCommandCall&);  ///< every open source compiled and linked into one program
void AnalyzeAll(const TCommandCall&);  ///< every open source in one analyzer run
/// The debugger inside the IDE: the row's number is the TDebugController command.
void DebugCommand(const TCommandCall&);

// Tools and Window
void Terminal(const TCommandCall&);
void FileManager(const TCommandCall&);
void Calculator(const TCommandCall&);
void Translate(const TCommandCall&);
void ProgramLanguage(const TCommandCall&);
void Cascade(const TCommandCall&);
void TileVertically(const TCommandCall&);
void TileHorizontally(const TCommandCall&);
void ArrangeIcons(const TCommandCall&);
void MinimizeAll(const TCommandCall&);
void FullScreen(const TCommandCall&);
void NextWindow(const TCommandCall&);
void PreviousWindow(const TCommandCall&);

// Help
void Help(const TCommandCall&);
void Tutorial(const TCommandCall&);
void CompilerManual(const TCommandCall&);
void AnalyzerManual(const TCommandCall&);
void DebuggerManual(const TCommandCall&);
void Donations(const TCommandCall&);
void ProjectWebsite(const TCommandCall&);
void About(const TCommandCall&);

}  // namespace cmd
}  // namespace vortan
