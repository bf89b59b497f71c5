// The Edit menu's commands.
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/reindentcommand.h"
#include "editor/ui/searchcommands.h"
#include "editor/ui/streaksynedit.h"
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"

namespace vortan::cmd {

namespace {
template <typename F>
void OnActive(const TCommandCall& c, F f) {
  if (TfrmEditor* e = c.Main.Documents().Active()) f(*e);
}
}  // namespace

void Undo(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.Undo(); });
}
void Redo(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.Redo(); });
}
void Cut(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.Cut(); });
}
void Copy(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.Copy(); });
}
void Paste(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.Paste(); });
}
void Clear(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.Clear(); });
}
void SelectAll(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { e.SelectAll(); });
}

void ToggleBookmark(const TCommandCall& c) {
  const int n = c.Row.Tag;
  OnActive(c, [n](TfrmEditor& e) {
    int line = 0;
    if (e.IsBookmarkSet(n, &line) && line == e.CaretLine())
      e.ClearBookmark(n);
    else
      e.SetBookmark(n, e.CaretLine(), e.CaretColumn());
  });
}

void GotoBookmark(const TCommandCall& c) {
  const int n = c.Row.Tag;
  OnActive(c, [n](TfrmEditor& e) { e.GotoBookmark(n); });
}

void Insert(const TCommandCall& c) {
  c.Main.SearchCommands().Insert(c.Main.Documents().Active(), c.Row.Tag);
}
void Convert(const TCommandCall& c) {
  c.Main.SearchCommands().Convert(c.Main.Documents().Active(), c.Row.Tag);
}
void FoldAll(const TCommandCall& c) {
  const bool fold = c.Row.Tag == 1;
  OnActive(c, [fold](TfrmEditor& e) { e.SynEdit()->Blocks().FoldAll(fold); });
}
void Reindent(const TCommandCall& c) {
  OnActive(c, [](TfrmEditor& e) { ReindentSource(*e.SynEdit()); });
}
void Find(const TCommandCall& c) { c.Main.SearchCommands().Find(c.Main.Documents().Active()); }
void SearchAgain(const TCommandCall& c) {
  c.Main.SearchCommands().SearchAgain(c.Main.Documents().Active());
}
void Replace(const TCommandCall& c) {
  c.Main.SearchCommands().Replace(c.Main.Documents().Active());
}
void GoToLine(const TCommandCall& c) { c.Main.SearchCommands().GoTo(c.Main.Documents().Active()); }
void NextFinding(const TCommandCall& c) {
  if (TfrmEditor* editor = c.Main.Documents().Active()) editor->SynEdit()->LiveMarks().Step(true);
}
void PreviousFinding(const TCommandCall& c) {
  if (TfrmEditor* editor = c.Main.Documents().Active()) editor->SynEdit()->LiveMarks().Step(false);
}

}  // namespace vortan::cmd
