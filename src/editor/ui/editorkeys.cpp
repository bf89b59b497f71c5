#include "editor/ui/editorkeys.h"

#include <algorithm>
#include <string>

#include "editor/ui/editormarks.h"
#include "editor/ui/scicall.h"
#include "editor/ui/streaksynedit.h"

namespace vortan {

namespace {

using B = QsciScintillaBase;

// Blanks a block indent adds or removes.
constexpr int kBlockIndent = 2;

}  // namespace

enum class TEditorKeys::TCmd {
  Left,
  Right,
  Up,
  Down,
  WordLeft,
  WordRight,
  PageUp,
  PageDown,
  PageTop,
  PageBottom,
  Home,
  End,
  DocStart,
  DocEnd,
  ScrollUp,
  ScrollDown,
  ToggleMode,
  Copy,
  Paste,
  Cut,
  DeleteChar,
  DeleteLastChar,
  DeleteLastWord,
  Undo,
  Redo,
  LineBreak,
  SelectAll,
  BlockIndent,
  BlockUnindent,
  DeleteWord,
  DeleteLine,
  DeleteEol,
  GotoBookmark,
  NormalSelect,
  ColumnSelect,
  LineSelect,
  Tab,
  ShiftTab,
  MatchBracket,
  ContinuationBreak,
};

struct TEditorKeys::TBinding {
  int Key;
  Qt::KeyboardModifiers Modifiers;
  TCmd Cmd;
  bool Extend = false;
  int Param = 0;
};

const std::vector<TEditorKeys::TBinding>& TEditorKeys::Bindings() {
  static const std::vector<TBinding> table = [] {
    using C = TCmd;
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    std::vector<TBinding> t;
    auto both = [&](int key, Qt::KeyboardModifiers mods, C cmd) {
      t.push_back({key, mods, cmd, false});
      t.push_back({key, mods | shift, cmd, true});
    };
    both(Qt::Key_Up, none, C::Up);
    both(Qt::Key_Down, none, C::Down);
    both(Qt::Key_Left, none, C::Left);
    both(Qt::Key_Right, none, C::Right);
    t.push_back({Qt::Key_Up, ctrl, C::ScrollUp});
    t.push_back({Qt::Key_Down, ctrl, C::ScrollDown});
    both(Qt::Key_Left, ctrl, C::WordLeft);
    both(Qt::Key_Right, ctrl, C::WordRight);
    both(Qt::Key_PageUp, none, C::PageUp);
    both(Qt::Key_PageDown, none, C::PageDown);
    both(Qt::Key_PageUp, ctrl, C::PageTop);
    both(Qt::Key_PageDown, ctrl, C::PageBottom);
    both(Qt::Key_Home, none, C::Home);
    both(Qt::Key_End, none, C::End);
    both(Qt::Key_Home, ctrl, C::DocStart);
    both(Qt::Key_End, ctrl, C::DocEnd);
    t.push_back({Qt::Key_Insert, none, C::ToggleMode});
    t.push_back({Qt::Key_Insert, ctrl, C::Copy});
    t.push_back({Qt::Key_C, ctrl, C::Copy});
    t.push_back({Qt::Key_Insert, shift, C::Paste});
    t.push_back({Qt::Key_V, ctrl, C::Paste});
    t.push_back({Qt::Key_Delete, shift, C::Cut});
    t.push_back({Qt::Key_X, ctrl, C::Cut});
    t.push_back({Qt::Key_Delete, none, C::DeleteChar});
    t.push_back({Qt::Key_Backspace, none, C::DeleteLastChar});
    t.push_back({Qt::Key_Backspace, shift, C::DeleteLastChar});
    t.push_back({Qt::Key_Backspace, ctrl, C::DeleteLastWord});
    t.push_back({Qt::Key_Backspace, alt, C::Undo});
    t.push_back({Qt::Key_Z, ctrl, C::Undo});
    t.push_back({Qt::Key_Backspace, shift | alt, C::Redo});
    t.push_back({Qt::Key_Z, shift | ctrl, C::Redo});
    t.push_back({Qt::Key_Return, none, C::LineBreak});
    t.push_back({Qt::Key_Enter, none, C::LineBreak});
    t.push_back({Qt::Key_A, ctrl, C::SelectAll});
    t.push_back({Qt::Key_I, shift | ctrl, C::BlockIndent});
    t.push_back({Qt::Key_U, shift | ctrl, C::BlockUnindent});
    t.push_back({Qt::Key_T, ctrl, C::DeleteWord});
    t.push_back({Qt::Key_Y, ctrl, C::DeleteLine});
    t.push_back({Qt::Key_Y, shift | ctrl, C::DeleteEol});
    for (int n = 0; n < marks::kBookmarkCount; ++n)
      t.push_back({Qt::Key_0 + n, ctrl, C::GotoBookmark, false, n});
    t.push_back({Qt::Key_N, shift | ctrl, C::NormalSelect});
    t.push_back({Qt::Key_C, shift | ctrl, C::ColumnSelect});
    t.push_back({Qt::Key_L, shift | ctrl, C::LineSelect});
    t.push_back({Qt::Key_Tab, none, C::Tab});
    t.push_back({Qt::Key_Tab, shift, C::ShiftTab});
    t.push_back({Qt::Key_Backtab, shift, C::ShiftTab});
    t.push_back({Qt::Key_Backtab, none, C::ShiftTab});
    t.push_back({Qt::Key_B, shift | ctrl, C::MatchBracket});
    t.push_back({Qt::Key_Return, shift | ctrl, C::ContinuationBreak});
    t.push_back({Qt::Key_Enter, shift | ctrl, C::ContinuationBreak});
    return t;
  }();
  return table;
}

bool TEditorKeys::Run(int key, Qt::KeyboardModifiers modifiers) {
  modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  for (const TBinding& b : Bindings()) {
    if (b.Key != key || b.Modifiers != modifiers) continue;
    if (!edit_.Options().Settings.GroupUndo) Sci(&edit_, B::SCI_BEGINUNDOACTION);
    RunCommand(b.Cmd, b.Extend, b.Param);
    if (!edit_.Options().Settings.GroupUndo) Sci(&edit_, B::SCI_ENDUNDOACTION);
    return true;
  }
  return false;
}

void TEditorKeys::MouseSelectionDone() {
  if (selectionMode_ != TSelectionMode::Line || !edit_.HasSelection()) return;
  lineSelection_.AnchorLine = Sci(&edit_, B::SCI_LINEFROMPOSITION, Sci(&edit_, B::SCI_GETANCHOR));
  lineSelection_.LogicalCaret = Sci(&edit_, B::SCI_GETCURRENTPOS);
  SelectLines(lineSelection_.AnchorLine,
              Sci(&edit_, B::SCI_LINEFROMPOSITION, lineSelection_.LogicalCaret));
}

void TEditorKeys::Move(int plain, int extend, int rectExtend, bool doExtend) {
  if (!doExtend || edit_.Options().Settings.NoSelection) {
    Sci(&edit_, static_cast<unsigned>(plain));
    return;
  }
  if (selectionMode_ == TSelectionMode::Column && rectExtend) {
    Sci(&edit_, static_cast<unsigned>(rectExtend));
    return;
  }
  if (selectionMode_ != TSelectionMode::Line) {
    Sci(&edit_, static_cast<unsigned>(extend));
    return;
  }
  // Whole lines: a caret of its own moves with the plain command, and the selection covers
  // every line from the anchor's to that caret's, line breaks included.
  if (!(lineSelection_.Active && Sci(&edit_, B::SCI_GETANCHOR) == lineSelection_.Anchor &&
        Sci(&edit_, B::SCI_GETCURRENTPOS) == lineSelection_.Caret)) {
    lineSelection_.AnchorLine = Sci(&edit_, B::SCI_LINEFROMPOSITION, Sci(&edit_, B::SCI_GETANCHOR));
    lineSelection_.LogicalCaret = Sci(&edit_, B::SCI_GETCURRENTPOS);
  }
  Sci(&edit_, B::SCI_SETEMPTYSELECTION, lineSelection_.LogicalCaret);
  Sci(&edit_, static_cast<unsigned>(plain));
  lineSelection_.LogicalCaret = Sci(&edit_, B::SCI_GETCURRENTPOS);
  SelectLines(lineSelection_.AnchorLine,
              Sci(&edit_, B::SCI_LINEFROMPOSITION, lineSelection_.LogicalCaret));
}

void TEditorKeys::SelectLines(long anchorLine, long caretLine) {
  const long lines = Sci(&edit_, B::SCI_GETLINECOUNT);
  const long first = std::min(anchorLine, caretLine), last = std::max(anchorLine, caretLine);
  const long start = Sci(&edit_, B::SCI_POSITIONFROMLINE, first);
  const long end = last + 1 < lines ? Sci(&edit_, B::SCI_POSITIONFROMLINE, last + 1)
                                    : Sci(&edit_, B::SCI_GETLENGTH);
  if (caretLine >= anchorLine)
    Sci(&edit_, B::SCI_SETSEL, start, end);
  else
    Sci(&edit_, B::SCI_SETSEL, end, start);
  lineSelection_.Active = true;
  lineSelection_.Anchor = Sci(&edit_, B::SCI_GETANCHOR);
  lineSelection_.Caret = Sci(&edit_, B::SCI_GETCURRENTPOS);
}

void TEditorKeys::PageMove(int direction, bool extend) {
  int page = static_cast<int>(Sci(&edit_, B::SCI_LINESONSCREEN));
  if (edit_.Options().Settings.HalfPageScroll)
    page /= 2;
  else if (edit_.Options().Settings.ScrollByOneLess)
    page -= 1;
  page = std::max(page, 1);
  Sci(&edit_, B::SCI_LINESCROLL, 0, direction * page);
  for (int i = 0; i < page; ++i) {
    if (direction < 0)
      Move(B::SCI_LINEUP, B::SCI_LINEUPEXTEND, B::SCI_LINEUPRECTEXTEND, extend);
    else
      Move(B::SCI_LINEDOWN, B::SCI_LINEDOWNEXTEND, B::SCI_LINEDOWNRECTEXTEND, extend);
  }
}

void TEditorKeys::PageEdge(bool bottom, bool extend) {
  const long first = Sci(&edit_, B::SCI_GETFIRSTVISIBLELINE);
  const long lastLine = Sci(&edit_, B::SCI_GETLINECOUNT) - 1;
  const long target =
      bottom ? std::min(first + Sci(&edit_, B::SCI_LINESONSCREEN) - 1, lastLine) : first;
  long steps = target - (edit_.CaretLine() - 1);
  for (; steps > 0; --steps)
    Move(B::SCI_LINEDOWN, B::SCI_LINEDOWNEXTEND, B::SCI_LINEDOWNRECTEXTEND, extend);
  for (; steps < 0; ++steps)
    Move(B::SCI_LINEUP, B::SCI_LINEUPEXTEND, B::SCI_LINEUPRECTEXTEND, extend);
}

void TEditorKeys::SmartTab() {
  const long line = edit_.CaretLine() - 1;
  if (edit_.HasSelection() &&
      Sci(&edit_, B::SCI_LINEFROMPOSITION, Sci(&edit_, B::SCI_GETSELECTIONSTART)) !=
          Sci(&edit_, B::SCI_LINEFROMPOSITION, Sci(&edit_, B::SCI_GETSELECTIONEND))) {
    Sci(&edit_, B::SCI_TAB);
    return;
  }
  const int column = edit_.CaretColumn() - 1;
  const int tab = std::max(1, edit_.Options().Settings.TabStops);
  for (long above = line - 1; above >= 0; --above) {
    const std::string text = edit_.LineBytes(static_cast<int>(above) + 1);
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    // Columns of the line above with tabs expanded; the next word starts after the rest of
    // the word at the caret's column and the blanks behind it.
    int col = 0;
    std::size_t i = 0;
    auto advance = [&] {
      col = text[i] == '\t' ? (col / tab + 1) * tab : col + 1;
      ++i;
    };
    while (i < text.size() && col < column) advance();
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') advance();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) advance();
    if (i < text.size() && col > column) {
      const long lineEnd = Sci(&edit_, B::SCI_GETLINEENDPOSITION, line);
      if (Sci(&edit_, B::SCI_GETCURRENTPOS) >= lineEnd && !edit_.HasSelection()) {
        edit_.SetCaret(static_cast<int>(line) + 1, col + 1);  // beyond the text: move only
      } else {
        const std::string blanks(static_cast<std::size_t>(col - column), ' ');
        SciPtr(&edit_, B::SCI_REPLACESEL, 0, blanks.c_str());
      }
      return;
    }
    break;
  }
  Sci(&edit_, B::SCI_TAB);
}

bool TEditorKeys::SmartBackspace() {
  if (edit_.HasSelection()) return false;
  const int column = edit_.CaretColumn() - 1;
  if (column == 0) return false;
  const long line = edit_.CaretLine() - 1;
  const long pos = Sci(&edit_, B::SCI_GETCURRENTPOS);
  const long start = Sci(&edit_, B::SCI_POSITIONFROMLINE, line);
  for (long p = start; p < pos; ++p) {
    const int ch = static_cast<int>(Sci(&edit_, B::SCI_GETCHARAT, p));
    if (ch != ' ' && ch != '\t') return false;
  }
  int target = 0;
  for (long above = line - 1; above >= 0; --above) {
    const long s = Sci(&edit_, B::SCI_POSITIONFROMLINE, above);
    const long e = Sci(&edit_, B::SCI_GETLINEENDPOSITION, above);
    const long indentPos = Sci(&edit_, B::SCI_GETLINEINDENTPOSITION, above);
    if (indentPos >= e || e == s) continue;  // blank line
    const int indent = static_cast<int>(Sci(&edit_, B::SCI_GETCOLUMN, indentPos));
    if (indent < column) {
      target = indent;
      break;
    }
  }
  const int real = static_cast<int>(Sci(&edit_, B::SCI_GETCOLUMN, pos));
  if (target >= real) {
    edit_.SetCaret(static_cast<int>(line) + 1, target + 1);  // still beyond the text
    return true;
  }
  const long from = Sci(&edit_, B::SCI_FINDCOLUMN, line, target);
  Sci(&edit_, B::SCI_SETEMPTYSELECTION, pos);
  Sci(&edit_, B::SCI_DELETERANGE, from, pos - from);
  Sci(&edit_, B::SCI_SETEMPTYSELECTION, from);
  return true;
}

void TEditorKeys::BlockIndent(bool indent) {
  long first = Sci(&edit_, B::SCI_LINEFROMPOSITION, Sci(&edit_, B::SCI_GETSELECTIONSTART));
  const long selEnd = Sci(&edit_, B::SCI_GETSELECTIONEND);
  long last = Sci(&edit_, B::SCI_LINEFROMPOSITION, selEnd);
  if (last > first && Sci(&edit_, B::SCI_POSITIONFROMLINE, last) == selEnd) --last;
  Sci(&edit_, B::SCI_BEGINUNDOACTION);
  for (long line = first; line <= last; ++line) {
    const long start = Sci(&edit_, B::SCI_POSITIONFROMLINE, line);
    const long end = Sci(&edit_, B::SCI_GETLINEENDPOSITION, line);
    if (indent) {
      if (end > start)
        SciPtr(&edit_, B::SCI_INSERTTEXT, start, std::string(kBlockIndent, ' ').c_str());
      continue;
    }
    long cut = start;
    while (cut < end && cut - start < kBlockIndent && Sci(&edit_, B::SCI_GETCHARAT, cut) == ' ')
      ++cut;
    if (cut == start && cut < end && Sci(&edit_, B::SCI_GETCHARAT, cut) == '\t') ++cut;
    if (cut > start) Sci(&edit_, B::SCI_DELETERANGE, start, cut - start);
  }
  Sci(&edit_, B::SCI_ENDUNDOACTION);
}

void TEditorKeys::MatchBracket() {
  const long pos = Sci(&edit_, B::SCI_GETCURRENTPOS);
  long match = Sci(&edit_, B::SCI_BRACEMATCH, pos, 0);
  if (match < 0 && pos > 0) match = Sci(&edit_, B::SCI_BRACEMATCH, pos - 1, 0);
  if (match >= 0) Sci(&edit_, B::SCI_GOTOPOS, match);
}

void TEditorKeys::RunCommand(TCmd cmd, bool extend, int param) {
  const bool home = edit_.Options().Settings.EnhanceHomeKey;
  auto vertical = [this] {
    // Without both options Scintilla's remembered column would still carry the caret back
    // out to a long line; forget it after each vertical move.
    if (!edit_.Options().Settings.MaintainCaretColumn &&
        !edit_.Options().Settings.ScrollPastEndOfLine)
      Sci(&edit_, B::SCI_CHOOSECARETX);
  };
  switch (cmd) {
    case TCmd::Left:
      Move(B::SCI_CHARLEFT, B::SCI_CHARLEFTEXTEND, B::SCI_CHARLEFTRECTEXTEND, extend);
      break;
    case TCmd::Right:
      Move(B::SCI_CHARRIGHT, B::SCI_CHARRIGHTEXTEND, B::SCI_CHARRIGHTRECTEXTEND, extend);
      break;
    case TCmd::Up:
      Move(B::SCI_LINEUP, B::SCI_LINEUPEXTEND, B::SCI_LINEUPRECTEXTEND, extend);
      vertical();
      break;
    case TCmd::Down:
      Move(B::SCI_LINEDOWN, B::SCI_LINEDOWNEXTEND, B::SCI_LINEDOWNRECTEXTEND, extend);
      vertical();
      break;
    case TCmd::WordLeft:
      Move(B::SCI_WORDLEFT, B::SCI_WORDLEFTEXTEND, 0, extend);
      break;
    case TCmd::WordRight:
      Move(B::SCI_WORDRIGHT, B::SCI_WORDRIGHTEXTEND, 0, extend);
      break;
    case TCmd::PageUp:
      PageMove(-1, extend);
      vertical();
      break;
    case TCmd::PageDown:
      PageMove(1, extend);
      vertical();
      break;
    case TCmd::PageTop:
      PageEdge(false, extend);
      break;
    case TCmd::PageBottom:
      PageEdge(true, extend);
      break;
    case TCmd::Home:
      if (home)
        Move(B::SCI_VCHOME, B::SCI_VCHOMEEXTEND, B::SCI_VCHOMERECTEXTEND, extend);
      else
        Move(B::SCI_HOME, B::SCI_HOMEEXTEND, B::SCI_HOMERECTEXTEND, extend);
      break;
    case TCmd::End:
      Move(B::SCI_LINEEND, B::SCI_LINEENDEXTEND, B::SCI_LINEENDRECTEXTEND, extend);
      break;
    case TCmd::DocStart:
      Move(B::SCI_DOCUMENTSTART, B::SCI_DOCUMENTSTARTEXTEND, 0, extend);
      break;
    case TCmd::DocEnd:
      Move(B::SCI_DOCUMENTEND, B::SCI_DOCUMENTENDEXTEND, 0, extend);
      break;
    case TCmd::ScrollUp:
      Sci(&edit_, B::SCI_LINESCROLL, 0, -1);
      break;
    case TCmd::ScrollDown:
      Sci(&edit_, B::SCI_LINESCROLL, 0, 1);
      break;
    case TCmd::ToggleMode:
      edit_.SetInsertMode(!edit_.InsertMode());
      break;
    case TCmd::Copy:
      edit_.copy();
      break;
    case TCmd::Paste:
      edit_.paste();
      break;
    case TCmd::Cut:
      edit_.cut();
      break;
    case TCmd::DeleteChar:
      edit_.DeleteForward();
      break;
    case TCmd::DeleteLastChar:
      if (!edit_.Options().Settings.SmartTabDelete || !SmartBackspace())
        Sci(&edit_, B::SCI_DELETEBACK);
      break;
    case TCmd::DeleteLastWord:
      Sci(&edit_, B::SCI_DELWORDLEFT);
      break;
    case TCmd::Undo:
      edit_.undo();
      break;
    case TCmd::Redo:
      edit_.redo();
      break;
    case TCmd::LineBreak:
      if (!edit_.Options().Settings.SmartReturn || !edit_.FixedForm().Return())
        Sci(&edit_, B::SCI_NEWLINE);
      break;
    case TCmd::ContinuationBreak:
      edit_.FixedForm().BreakLine();
      break;
    case TCmd::SelectAll:
      edit_.selectAll();
      break;
    case TCmd::BlockIndent:
      BlockIndent(true);
      break;
    case TCmd::BlockUnindent:
      BlockIndent(false);
      break;
    case TCmd::DeleteWord:
      Sci(&edit_, B::SCI_DELWORDRIGHTEND);
      break;
    case TCmd::DeleteLine:
      Sci(&edit_, B::SCI_LINEDELETE);
      break;
    case TCmd::DeleteEol:
      Sci(&edit_, B::SCI_DELLINERIGHT);
      break;
    case TCmd::GotoBookmark:
      edit_.GotoBookmark(param);
      break;
    case TCmd::NormalSelect:
      SetSelectionMode(TSelectionMode::Normal);
      break;
    case TCmd::ColumnSelect:
      SetSelectionMode(TSelectionMode::Column);
      break;
    case TCmd::LineSelect:
      SetSelectionMode(TSelectionMode::Line);
      break;
    case TCmd::Tab:
      if (edit_.Options().Settings.LabelField && edit_.FixedForm().Tab()) break;
      if (edit_.Options().Settings.SmartTabs)
        SmartTab();
      else
        Sci(&edit_, B::SCI_TAB);
      break;
    case TCmd::ShiftTab:
      Sci(&edit_, B::SCI_BACKTAB);
      break;
    case TCmd::MatchBracket:
      MatchBracket();
      break;
  }
}

}  // namespace vortan
