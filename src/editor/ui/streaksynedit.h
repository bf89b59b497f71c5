#pragma once
// The text control of an editor window: QScintilla extended by column guide lines, a gutter
// it draws itself, its own four caret shapes, the editor's key bindings, selection modes, an
// undo limit and trimming of trailing blanks on edited lines. The widget keeps the edit state
// and the events; three parts of its own hold the rest: the document as bytes of a code page
// (TEditorText), the key table and its commands (TEditorKeys) and what it paints over
// Scintilla (TEditorPainter).

#include <Qsci/qsciscintilla.h>
#include <functional>

#include <QColor>
#include <QPointer>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "editor/streaks.h"
#include "editor/textsearch.h"
#include "editor/ui/blockmarks.h"
#include "editor/ui/editorkeys.h"
#include "editor/ui/editorpainter.h"
#include "editor/ui/editortext.h"
#include "editor/ui/fixedformkeys.h"
#include "editor/ui/livemarks.h"
#include "editor/ui/synoptions.h"
#include "platform/codepage.h"

#include <QMenu>

namespace vortan {

class TFortranLexer;
class TSynFortranSyn;

class TStreakSynEdit : public QsciScintilla {
  Q_OBJECT
 public:
  /// What a StatusChanged signal reports.
  enum TStatusChange { scCaret = 1, scModified = 2, scInsertMode = 4 };
  using TSelectionMode = TEditorKeys::TSelectionMode;
  static constexpr int BookmarkCount = 10;  // the same as marks::kBookmarkCount

  explicit TStreakSynEdit(QWidget* parent = nullptr);
  ~TStreakSynEdit() override;

  // Column guide lines
  TStreaks& Streaks() { return painter_.Streaks(); }
  const TStreaks& Streaks() const { return painter_.Streaks(); }
  QColor StreaksColor() const { return painter_.StreaksColor(); }
  /// A different colour repaints the guides' strips only.
  void SetStreaksColor(const QColor& color) { painter_.SetStreaksColor(color); }
  /// Viewport x of the guide drawn after `column` in the current view.
  int StreakX(int column) const { return painter_.StreakX(column); }
  /// First viewport x of the text area: the gutter plus the text margin.
  int TextAreaLeft() const { return painter_.TextAreaLeft(); }
  /// Width of one character column of the text font, rounded to pixels.
  int CharWidth() const { return painter_.CharWidth(); }

  // The document as bytes
  platform::TCodePage CodePage() const { return text_.CodePage(); }
  /// Shows the same bytes through another page. The undo history holds the old characters,
  /// so it is dropped; the modified flag and the caret stay.
  void SetCodePage(platform::TCodePage page);
  /// Lines separated by LF.
  std::string Bytes() const { return text_.Bytes(); }
  /// The control's UTF-8 text as it stands.
  std::string ControlText() const { return text_.ControlText(); }
  /// Replaces the text; `undoable` keeps it as one step of the undo history, otherwise the
  /// history is emptied (loading).
  void SetBytes(std::string_view lfText, bool undoable);
  /// 1-based; without the break.
  std::string LineBytes(int line) const { return text_.LineBytes(line); }
  /// Inserts bytes at the caret as one undo step, replacing the selection.
  void InsertBytes(std::string_view bytes);
  /// The selected text; each line of a column block is followed by LF.
  std::string SelectedBytes() const { return text_.SelectedBytes(); }

  bool IsModified() const;
  /// Cleared: the save point is here. Set: the document counts as modified until the next
  /// save point (Scintilla itself can only clear the flag).
  void SetModifiedFlag(bool modified);

  // Caret, 1-based; the column counts characters with tabs expanded and may lie beyond the
  // end of the line when scrolling past the end of lines is on.
  int CaretLine() const;
  int CaretColumn() const;
  void SetCaret(int line, int column);

  TSelectionMode SelectionMode() const { return keys_.SelectionMode(); }
  void SetSelectionMode(TSelectionMode mode) { keys_.SetSelectionMode(mode); }
  bool HasSelection() const;

  // Edit commands with the window's enabling rules
  bool CanUndo() const;
  bool CanRedo() const;
  bool CanPaste() const;
  void undo() override;
  void redo() override;
  void cut() override;
  void copy() override;
  void paste() override;
  /// What the Delete key does: the selection, or the character after the caret.
  void DeleteForward();
  void selectAll(bool select = true) override;

  // Bookmarks 0..9: a line and a column, moving with their line
  bool GetBookmark(int n, int* line, int* column) const;
  void SetBookmark(int n, int line, int column);
  void ClearBookmark(int n);
  void GotoBookmark(int n);

  // Search, templates and conversions
  /// One search (and replace) over the document's bytes with the options; the number of
  /// occurrences found. `prompt` answers the replace question when Prompt is set. The
  /// occurrence found (or the last one replaced) is selected and scrolled into view.
  int SearchReplace(std::string_view search, std::string_view replacement,
                    const TSearchOptions& options, const TReplacePrompt& prompt);
  /// Puts a template (CR LF breaks) in place of the selection, or else at column 1 of the
  /// caret's line, as one undo step; the caret ends right after it.
  void InsertTemplate(std::string_view crlfText);
  /// Converts the selection (a column block as a rectangle), or the whole text when nothing
  /// is selected, with ConvertBytes and the action number; one undo step, and the document
  /// counts as modified even when nothing changed.
  void ConvertSelection(int tag);
  /// Moves the caret to the (1-based) line keeping its column where the line allows, and
  /// shows it; false, and nothing moves, when the document has fewer lines.
  bool GotoLine(int line);
  /// Puts `lines` (bytes, no breaks) in place of the 0-based lines [first, first + size) as
  /// one Scintilla action and one undo step; only the span from the first to the last byte
  /// that differs is replaced. Every line keeps its marks (bookmarks, error line), also when
  /// the step is undone or redone.
  void ReplaceLines(int first, const std::vector<std::string>& lines);
  /// Puts `lines` (bytes) in place of the 0-based line as one undo step and puts the caret at
  /// byte `caretByte` of `lines[caretIndex]`.
  void ReplaceLineWith(int line, const std::vector<std::string>& lines, int caretIndex,
                       int caretByte);
  /// The fixed-form keys (Return, continuation, label field, wrap at column 72).
  TFixedFormKeys& FixedForm() { return fixedForm_; }
  /// Matching statements and folding.
  TBlockMarks& Blocks() { return blockMarks_; }
  /// Caret and selection as line numbers and byte offsets, as the search sees them.
  TTextPoint CaretPoint() const { return text_.CaretPoint(); }
  TSelectionInfo SelectionInfo() const {
    return text_.SelectionInfo(SelectionMode() == TSelectionMode::Line);
  }
  /// Selects bytes [start, end) of the 0-based line and scrolls it into the middle of the
  /// view when it is off screen.
  void SelectBytes(int line, int start, int end, bool caretAtStart);

  /// Lines (1-based) painted in one pair of colours that replaces the syntax colours.
  void SetSpecialLines(const std::vector<int>& lines, const QColor& fore, const QColor& back) {
    painter_.SetSpecialLines(lines, fore, back);
  }

  // Options
  /// Repaints are held back until the matching EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  void SetOptions(const TSynOptions& options);
  const TSynOptions& Options() const { return options_; }
  bool InsertMode() const;
  void SetInsertMode(bool insert);
  /// Pixel width of the gutter as it is now (0 when hidden).
  int GutterWidth() const { return painter_.GutterWidth(); }
  /// The text of the line number shown for a (1-based) line.
  QString GutterText(int line) const { return painter_.GutterText(line); }
  /// The menu shown on a right click; null shows none.
  void SetContextMenu(QMenu* menu) { contextMenu_ = menu; }

  /// The shared highlighter; null shows plain text.
  void SetHighlighter(TSynFortranSyn* highlighter);
  TFortranLexer* FortranLexer() const { return fortranLexer_; }
  /// The findings of the check as you type.
  TLiveMarks& LiveMarks() { return *liveMarks_; }

  /// Removes the blanks at the ends of the lines edited since the last trim; the caret's line
  /// too when `includeCaretLine`. Runs by itself whenever the caret leaves an edited line.
  void TrimEditedLines(bool includeCaretLine);

  /// Runs one of the key bindings as if its keys were pressed; false when none is bound.
  bool RunKey(int key, Qt::KeyboardModifiers modifiers);

  /// The tip over a byte position of the text; empty shows none. Set by a feature that has
  /// something to tell about the text under the mouse (the debugger: a value).
  std::function<std::string(long position)> HoverTip;

 signals:
  /// The caret, the modified flag or the insert mode changed (a TStatusChange set).
  void StatusChanged(int changes);
  /// Any change of the text.
  void TextEdited();
  /// A mouse button was pressed in the text or the gutter.
  void MouseDown();
  /// The left button was pressed in the gutter beside `line` (0-based).
  void GutterClicked(int line);

 protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;

 private:
  void Modified(int position, int type, int length, int linesAdded);
  void UpdateUi(int updated);
  void AfterNavigation();
  void CaretMoved();
  void ShowScrollHint(int value);
  long PositionOf(int line, int column, int* virtualSpace) const;
  /// Whether the 0-based line is in the view.
  bool LineOnScreen(int line) const;
  /// Scrolls the 0-based line into the middle of the view when it was off screen before the
  /// caret moved there, then shows the caret.
  void ShowLine(int line, bool wasOnScreen);
  /// Replaces the bytes of each (line, start, end) segment, in ascending lines, by their
  /// conversion, all in one ReplaceLines.
  void ConvertSegments(const std::vector<std::array<int, 3>>& segments, int tag);

  TEditorText text_;
  TEditorKeys keys_;
  TFixedFormKeys fixedForm_{*this};
  TBlockMarks blockMarks_{*this};
  TEditorPainter painter_;
  TSynOptions options_;
  TFortranLexer* fortranLexer_ = nullptr;
  TLiveMarks* liveMarks_ = nullptr;
  QPointer<QMenu> contextMenu_;

  // Undo limit: how many steps may still be undone or redone.
  int undoDepth_ = 0;
  int redoDepth_ = 0;
  bool inUndoRedo_ = false;
  bool forcedModified_ = false;
  bool trimming_ = false;
  bool editsPending_ = false;  // some line carries the edited mark
  int updateCount_ = 0;

  // A replacement of several lines by as many (a ReplaceLines, or its undo or redo) deletes
  // the lines and inserts new ones, which would gather all their marks on the first line:
  // the marks are noted before the deletion and put back on their lines after the insertion.
  bool keepLineMarks_ = false;
  struct {
    bool Set = false;
    long Position = 0, FirstLine = 0, Lines = 0;
    std::vector<std::pair<long, int>> Marks;  // line, marker mask, for lines that have any
  } deletedMarks_;
  void NoteMarksBeforeDelete(long position, long length);
  void RestoreMarksAfterInsert(long position, long linesAdded);

  // Bookmarks: marker handles (-1 unset) and columns.
  int bookmarkHandle_[BookmarkCount];
  int bookmarkColumn_[BookmarkCount];

  int lastCaretLine_ = 1, lastCaretColumn_ = 1;
  bool loading_ = false;
  long linesOnScreen_ = 0;  // as of the last resize
};

}  // namespace vortan
