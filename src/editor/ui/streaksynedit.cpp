#include "editor/ui/streaksynedit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include "editor/codetemplates.h"
#include "editor/textconversion.h"
#include "editor/ui/charactercount.h"
#include "editor/ui/controldocument.h"
#include "editor/ui/editoraccessible.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/fortranlexer.h"
#include "editor/ui/scicall.h"
#include "editor/ui/scrollarrowstyle.h"

namespace vortan {

using namespace marks;
static_assert(TStreakSynEdit::BookmarkCount == kBookmarkCount);

TStreakSynEdit::TStreakSynEdit(QWidget* parent)
    : QsciScintilla(parent), text_(*this), keys_(*this), painter_(*this) {
  InstallEditorAccessibleFactory();
  UseIndexedCharacterCount();
  std::fill(std::begin(bookmarkHandle_), std::end(bookmarkHandle_), -1);
  std::fill(std::begin(bookmarkColumn_), std::end(bookmarkColumn_), 1);
  setUtf8(true);
  Sci(this, SCI_SETEOLMODE, SC_EOL_LF);
  Sci(this, SCI_SETPASTECONVERTENDINGS, 1);
  // The control's own bindings are the only ones: Scintilla's defaults would add others.
  Sci(this, SCI_CLEARALLCMDKEYS);
  setEdgeMode(EdgeNone);
  Sci(this, SCI_SETEDGECOLUMN, 0);
  Sci(this, SCI_SETCARETSTYLE, CARETSTYLE_INVISIBLE);
  Sci(this, SCI_SETMARGINLEFT, 0, 2);
  for (int m = 0; m < 5; ++m) {
    Sci(this, SCI_SETMARGINWIDTHN, m, 0);
    Sci(this, SCI_SETMARGINMASKN, m, 0);
    Sci(this, SCI_SETMARGINSENSITIVEN, m, 0);
  }
  Sci(this, SCI_SETMARGINTYPEN, 0, SC_MARGIN_COLOUR);
  for (int n = 0; n < kBookmarkCount; ++n) Sci(this, SCI_MARKERDEFINE, n, SC_MARK_EMPTY);
  Sci(this, SCI_MARKERDEFINE, kErrorMarker, SC_MARK_BACKGROUND);
  Sci(this, SCI_MARKERDEFINE, kEditedMarker, SC_MARK_EMPTY);
  Sci(this, SCI_MARKERDEFINE, kBreakpointMarker, SC_MARK_EMPTY);
  Sci(this, SCI_MARKERDEFINE, kDebugLineMarker, SC_MARK_BACKGROUND);
  SendScintilla(SCI_MARKERSETBACK, static_cast<unsigned long>(kDebugLineMarker),
                QColor(255, 238, 150));
  Sci(this, SCI_INDICSETSTYLE, kErrorIndicator, INDIC_TEXTFORE);
  Sci(this, SCI_SETVIRTUALSPACEOPTIONS, SCVS_RECTANGULARSELECTION | SCVS_USERACCESSIBLE);
  setWrapMode(WrapNone);
  blockMarks_.Install();

  connect(this,
          qOverload<int, int, const char*, int, int, int, int, int, int, int>(
              &QsciScintillaBase::SCN_MODIFIED),
          this,
          [this](int position, int type, const char*, int length, int linesAdded, int, int, int,
                 int, int) { Modified(position, type, length, linesAdded); });
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &TStreakSynEdit::UpdateUi);
  connect(this, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, [this] {
    if (!forcedModified_) emit StatusChanged(scModified);
  });
  connect(this, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] {
    if (!forcedModified_) emit StatusChanged(scModified);
  });
  connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, &TStreakSynEdit::ShowScrollHint);
  // Hover tips over the text: each tip source is asked in turn, the first text is shown.
  liveMarks_ = new TLiveMarks(this);
  Sci(this, SCI_SETMOUSEDWELLTIME, 500);
  connect(this, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
    const QString tip = liveMarks_->TipAt(position);
    if (!tip.isEmpty()) QToolTip::showText(viewport()->mapToGlobal(QPoint(x, y)), tip, viewport());
  });
  connect(this, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });
  SetOptions(options_);
}

TStreakSynEdit::~TStreakSynEdit() {
  // The lexer is a child; detach it first so Scintilla never calls into a dead object.
  if (fortranLexer_) setLexer(nullptr);
}

// ---- bytes ----

void TStreakSynEdit::SetBytes(std::string_view lfText, bool undoable) {
  const std::string utf8 = text_.Utf8(lfText);
  if (undoable) {
    // Text given by a program is no edit of the user's: its trailing blanks stay.
    const bool wasTrimming = std::exchange(trimming_, true);
    Sci(this, SCI_BEGINUNDOACTION);
    Sci(this, SCI_SETTARGETRANGE, 0, Sci(this, SCI_GETLENGTH));
    SciPtr(this, SCI_REPLACETARGET, static_cast<long>(utf8.size()), utf8.data());
    Sci(this, SCI_ENDUNDOACTION);
    trimming_ = wasTrimming;
    Sci(this, SCI_GOTOPOS, 0);
    CaretMoved();
    return;
  }
  loading_ = true;
  Sci(this, SCI_CLEARALL);
  SciPtr(this, SCI_APPENDTEXT, static_cast<long>(utf8.size()), utf8.data());
  Sci(this, SCI_EMPTYUNDOBUFFER);
  Sci(this, SCI_MARKERDELETEALL, -1);
  std::fill(std::begin(bookmarkHandle_), std::end(bookmarkHandle_), -1);
  undoDepth_ = redoDepth_ = 0;
  loading_ = false;
  Sci(this, SCI_GOTOPOS, 0);
  painter_.ApplyGutter();
  painter_.ApplyErrorColors();
  CaretMoved();
  if (fortranLexer_) fortranLexer_->ColourInBackground();
  blockMarks_.TextChanged();
}

void TStreakSynEdit::InsertBytes(std::string_view bytes) {
  const std::string utf8 = text_.Utf8(bytes);
  const bool wasTrimming = std::exchange(trimming_, true);
  Sci(this, SCI_BEGINUNDOACTION);
  SciPtr(this, SCI_REPLACESEL, 0, utf8.c_str());
  Sci(this, SCI_ENDUNDOACTION);
  trimming_ = wasTrimming;
  CaretMoved();
}

void TStreakSynEdit::SetCodePage(platform::TCodePage page) {
  if (page == text_.CodePage()) return;
  const bool modified = IsModified();
  const int caretLine = CaretLine(), caretColumn = CaretColumn();
  const long firstVisible = Sci(this, SCI_GETFIRSTVISIBLELINE);
  if (fortranLexer_) fortranLexer_->SetCodePage(page);
  loading_ = true;
  Sci(this, SCI_SETUNDOCOLLECTION, 0);
  text_.ShowThrough(page);
  Sci(this, SCI_SETUNDOCOLLECTION, options_.Settings.UndoLimit > 0 ? 1 : 0);
  Sci(this, SCI_EMPTYUNDOBUFFER);
  undoDepth_ = redoDepth_ = 0;
  loading_ = false;
  if (modified)
    SetModifiedFlag(true);
  else
    SetModifiedFlag(false);
  Sci(this, SCI_SETFIRSTVISIBLELINE, firstVisible);
  SetCaret(caretLine, caretColumn);
  painter_.ApplyErrorColors();
  // Everything is styled again: what comes into view at once, the rest in idle time.
  Sci(this, SCI_STARTSTYLING, 0, 0x1f);
  if (fortranLexer_) fortranLexer_->ColourInBackground();
}

bool TStreakSynEdit::IsModified() const { return forcedModified_ || Sci(this, SCI_GETMODIFY) != 0; }

void TStreakSynEdit::SetModifiedFlag(bool modified) {
  const bool was = IsModified();
  if (modified) {
    forcedModified_ = true;
  } else {
    forcedModified_ = false;
    Sci(this, SCI_SETSAVEPOINT);
  }
  if (was != IsModified()) emit StatusChanged(scModified);
}

// ---- caret and selection ----

int TStreakSynEdit::CaretLine() const {
  return static_cast<int>(Sci(this, SCI_LINEFROMPOSITION, Sci(this, SCI_GETCURRENTPOS))) + 1;
}

int TStreakSynEdit::CaretColumn() const {
  const long pos = Sci(this, SCI_GETCURRENTPOS);
  const long main = Sci(this, SCI_GETMAINSELECTION);
  return static_cast<int>(Sci(this, SCI_GETCOLUMN, pos) +
                          Sci(this, SCI_GETSELECTIONNCARETVIRTUALSPACE, main)) +
         1;
}

long TStreakSynEdit::PositionOf(int line, int column, int* virtualSpace) const {
  const long lines = Sci(this, SCI_GETLINECOUNT);
  line = std::clamp(line, 1, static_cast<int>(lines));
  column = std::max(column, 1);
  const long pos = Sci(this, SCI_FINDCOLUMN, line - 1, column - 1);
  const long reached = Sci(this, SCI_GETCOLUMN, pos);
  *virtualSpace = options_.Settings.ScrollPastEndOfLine
                      ? std::max(0, column - 1 - static_cast<int>(reached))
                      : 0;
  return pos;
}

void TStreakSynEdit::SetCaret(int line, int column) {
  int vs = 0;
  const long pos = PositionOf(line, column, &vs);
  Sci(this, SCI_SETEMPTYSELECTION, pos);
  if (vs > 0) {
    Sci(this, SCI_SETSELECTIONNCARETVIRTUALSPACE, 0, vs);
    Sci(this, SCI_SETSELECTIONNANCHORVIRTUALSPACE, 0, vs);
  }
  Sci(this, SCI_CHOOSECARETX);
  TrimEditedLines(false);
  CaretMoved();
}

bool TStreakSynEdit::HasSelection() const { return Sci(this, SCI_GETSELECTIONEMPTY) == 0; }

// ---- edit commands ----

bool TStreakSynEdit::CanUndo() const { return undoDepth_ > 0 && Sci(this, SCI_CANUNDO) != 0; }
bool TStreakSynEdit::CanRedo() const { return redoDepth_ > 0 && Sci(this, SCI_CANREDO) != 0; }

bool TStreakSynEdit::CanPaste() const {
  if (isReadOnly()) return false;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && canInsertFromMimeData(data);
}

void TStreakSynEdit::undo() {
  if (!CanUndo()) return;
  inUndoRedo_ = true;
  Sci(this, SCI_UNDO);
  inUndoRedo_ = false;
  --undoDepth_;
  ++redoDepth_;
  CaretMoved();
}

void TStreakSynEdit::redo() {
  if (!CanRedo()) return;
  inUndoRedo_ = true;
  Sci(this, SCI_REDO);
  inUndoRedo_ = false;
  --redoDepth_;
  undoDepth_ = std::min(undoDepth_ + 1, std::max(options_.Settings.UndoLimit, 0));
  CaretMoved();
}

void TStreakSynEdit::cut() {
  Sci(this, SCI_CUT);
  CaretMoved();
}

void TStreakSynEdit::copy() { Sci(this, SCI_COPY); }

void TStreakSynEdit::paste() {
  Sci(this, SCI_PASTE);
  CaretMoved();
}

void TStreakSynEdit::DeleteForward() {
  Sci(this, SCI_CLEAR);
  CaretMoved();
}

void TStreakSynEdit::selectAll(bool select) {
  if (!select)
    Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
  else if (!options_.Settings.NoSelection)
    Sci(this, SCI_SELECTALL);
  CaretMoved();
}

QByteArray TStreakSynEdit::fromMimeData(const QMimeData* source, bool& rectangular) const {
  const QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
  return text_.ThroughPage(QString::fromUtf8(text)).toUtf8();
}

// ---- search, templates and conversions ----

bool TStreakSynEdit::LineOnScreen(int line) const {
  const long first = Sci(this, SCI_GETFIRSTVISIBLELINE);
  return line >= first && line < first + std::max(1L, Sci(this, SCI_LINESONSCREEN));
}

void TStreakSynEdit::ShowLine(int line, bool wasOnScreen) {
  // Moving the caret has already scrolled the line in at an edge, so whether it was off
  // screen is asked before the move.
  const long onScreen = std::max(1L, Sci(this, SCI_LINESONSCREEN));
  if (!wasOnScreen) Sci(this, SCI_SETFIRSTVISIBLELINE, std::max(0L, line - onScreen / 2));
  Sci(this, SCI_SCROLLCARET);
}

void TStreakSynEdit::SelectBytes(int line, int start, int end, bool caretAtStart) {
  const std::string bytes = LineBytes(line + 1);
  const long from = text_.BytePosition(line, bytes, start),
             to = text_.BytePosition(line, bytes, end);
  const bool wasOnScreen = LineOnScreen(line);
  if (caretAtStart)
    Sci(this, SCI_SETSEL, to, from);
  else
    Sci(this, SCI_SETSEL, from, to);
  ShowLine(line, wasOnScreen);
  CaretMoved();
}

int TStreakSynEdit::SearchReplace(std::string_view search, std::string_view replacement,
                                  const TSearchOptions& options, const TReplacePrompt& prompt) {
  const TSearchRegion region = vortan::SearchRegion(
      options, static_cast<int>(Sci(this, SCI_GETLINECOUNT)), CaretPoint(), SelectionInfo());
  int found = 0;
  {
    TControlDocument document(this);
    found =
        vortan::SearchReplace(document, region, search, replacement, options, CodePage(), prompt);
  }
  CaretMoved();
  return found;
}

void TStreakSynEdit::InsertTemplate(std::string_view crlfText) {
  if (!HasSelection()) {
    Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_POSITIONFROMLINE, CaretLine() - 1));
  } else if (Sci(this, SCI_SELECTIONISRECTANGLE)) {
    // A block gives way to the text, which starts where the block's first line did.
    const long start = Sci(this, SCI_GETSELECTIONNSTART, 0);
    Sci(this, SCI_BEGINUNDOACTION);
    Sci(this, SCI_CLEAR);
    Sci(this, SCI_SETEMPTYSELECTION, std::min(start, Sci(this, SCI_GETCURRENTPOS)));
    InsertBytes(ToControlBreaks(crlfText));
    Sci(this, SCI_ENDUNDOACTION);
    return;
  }
  InsertBytes(ToControlBreaks(crlfText));
}

void TStreakSynEdit::ConvertSegments(const std::vector<std::array<int, 3>>& segments, int tag) {
  if (segments.empty()) return;
  const int first = segments.front()[0];
  std::vector<std::string> lines;
  for (const auto& [line, start, end] : segments) {
    // A line without a segment between two others stays as it is.
    for (int next = first + static_cast<int>(lines.size()); next <= line; ++next)
      lines.push_back(LineBytes(next + 1));
    std::string& bytes = lines[static_cast<std::size_t>(line - first)];
    const int size = static_cast<int>(bytes.size());
    const int from = std::clamp(start, 0, size), to = std::clamp(end, from, size);
    const std::size_t at = static_cast<std::size_t>(from),
                      count = static_cast<std::size_t>(to - from);
    bytes.replace(at, count,
                  ConvertBytes(tag, CodePage(), std::string_view(bytes).substr(at, count)));
  }
  ReplaceLines(first, lines);
}

void TStreakSynEdit::ReplaceLines(int first, const std::vector<std::string>& lines) {
  const std::optional<TEditorText::TReplacement> change = text_.LinesReplacement(first, lines);
  if (!change) return;
  // The program's text, not the user's typing: its blanks stay.
  const bool wasTrimming = std::exchange(trimming_, true);
  const bool wasKeeping = std::exchange(keepLineMarks_, true);
  Sci(this, SCI_BEGINUNDOACTION);
  Sci(this, SCI_SETTARGETRANGE, change->Start, change->End);
  SciPtr(this, SCI_REPLACETARGET, static_cast<long>(change->Utf8.size()), change->Utf8.data());
  Sci(this, SCI_ENDUNDOACTION);
  keepLineMarks_ = wasKeeping;
  trimming_ = wasTrimming;
  deletedMarks_.Set = false;
}

void TStreakSynEdit::NoteMarksBeforeDelete(long position, long length) {
  deletedMarks_.Set = false;
  deletedMarks_.Marks.clear();
  const long first = Sci(this, SCI_LINEFROMPOSITION, position);
  const long last = Sci(this, SCI_LINEFROMPOSITION, position + length);
  if (last == first) return;
  deletedMarks_.Set = true;
  deletedMarks_.Position = position;
  deletedMarks_.FirstLine = first;
  deletedMarks_.Lines = last - first;
  for (long line = Sci(this, SCI_MARKERNEXT, first, kKeptMarks); line >= 0 && line <= last;
       line = Sci(this, SCI_MARKERNEXT, line + 1, kKeptMarks))
    deletedMarks_.Marks.push_back(
        {line, static_cast<int>(Sci(this, SCI_MARKERGET, line) & kKeptMarks)});
}

void TStreakSynEdit::RestoreMarksAfterInsert(long position, long linesAdded) {
  if (!deletedMarks_.Set) return;
  deletedMarks_.Set = false;
  if (position != deletedMarks_.Position || linesAdded != deletedMarks_.Lines) return;
  const long first = deletedMarks_.FirstLine;
  // The deletion gathered the marks of its lines on the first one.
  for (int m = 0; m < 32; ++m)
    for (int guard = 0; guard < 64 && (Sci(this, SCI_MARKERGET, first) & kKeptMarks & (1L << m));
         ++guard)
      Sci(this, SCI_MARKERDELETE, first, m);
  // The error lines may have ended with this very change (an editor ends them at any change):
  // their background comes back only while they are still shown, never without its text colour.
  const bool errorLinesShown = painter_.HasSpecialLines();
  for (const auto& [line, mask] : deletedMarks_.Marks)
    for (int m = 0; m < 32; ++m) {
      if (!(mask & (1L << m)) || (m == kErrorMarker && !errorLinesShown)) continue;
      const long handle = Sci(this, SCI_MARKERADD, line, m);
      if (m < kBookmarkCount) bookmarkHandle_[m] = static_cast<int>(handle);
    }
  // The error lines' text colour went with the deleted text.
  if (!errorLinesShown) return;
  const long lines = Sci(this, SCI_GETLINECOUNT);
  auto lineEnd = [&](long line) {
    return line + 1 < lines ? Sci(this, SCI_POSITIONFROMLINE, line + 1) : Sci(this, SCI_GETLENGTH);
  };
  const long from = Sci(this, SCI_POSITIONFROMLINE, first),
             to = lineEnd(first + deletedMarks_.Lines);
  Sci(this, SCI_SETINDICATORCURRENT, kErrorIndicator);
  Sci(this, SCI_INDICATORCLEARRANGE, from, to - from);
  for (const auto& [line, mask] : deletedMarks_.Marks)
    if (mask & (1 << kErrorMarker)) {
      const long a = Sci(this, SCI_POSITIONFROMLINE, line), b = lineEnd(line);
      if (b > a) Sci(this, SCI_INDICATORFILLRANGE, a, b - a);
    }
}

void TStreakSynEdit::ConvertSelection(int tag) {
  BeginUpdate();
  const TSelectionInfo sel = SelectionInfo();
  std::vector<std::array<int, 3>> segments;
  if (!sel.Present) {
    // The whole text; the caret stays where it was.
    const int line = CaretLine(), column = CaretColumn();
    const int lines = static_cast<int>(Sci(this, SCI_GETLINECOUNT));
    for (int l = 0; l < lines; ++l) segments.push_back({l, 0, INT_MAX});
    ConvertSegments(segments, tag);
    SetCaret(line, column);
  } else if (sel.Kind == TSelectionKind::Column) {
    // The block keeps its place: every byte stays one column wide.
    const long anchor = Sci(this, SCI_GETRECTANGULARSELECTIONANCHOR);
    const long caret = Sci(this, SCI_GETRECTANGULARSELECTIONCARET);
    const long anchorLine = Sci(this, SCI_LINEFROMPOSITION, anchor),
               caretLine = Sci(this, SCI_LINEFROMPOSITION, caret);
    const long anchorColumn = Sci(this, SCI_GETCOLUMN, anchor),
               caretColumn = Sci(this, SCI_GETCOLUMN, caret);
    const long anchorVs = Sci(this, SCI_GETRECTANGULARSELECTIONANCHORVIRTUALSPACE);
    const long caretVs = Sci(this, SCI_GETRECTANGULARSELECTIONCARETVIRTUALSPACE);
    for (std::size_t k = 0; k < sel.Columns.size(); ++k)
      segments.push_back(
          {sel.Start.Line + static_cast<int>(k), sel.Columns[k].first, sel.Columns[k].second});
    ConvertSegments(segments, tag);
    Sci(this, SCI_SETRECTANGULARSELECTIONANCHOR,
        Sci(this, SCI_FINDCOLUMN, anchorLine, anchorColumn));
    Sci(this, SCI_SETRECTANGULARSELECTIONCARET, Sci(this, SCI_FINDCOLUMN, caretLine, caretColumn));
    Sci(this, SCI_SETRECTANGULARSELECTIONANCHORVIRTUALSPACE, anchorVs);
    Sci(this, SCI_SETRECTANGULARSELECTIONCARETVIRTUALSPACE, caretVs);
  } else {
    const bool caretFirst = Sci(this, SCI_GETCURRENTPOS) < Sci(this, SCI_GETANCHOR);
    for (int l = sel.Start.Line; l <= sel.End.Line; ++l)
      segments.push_back({l, l == sel.Start.Line ? sel.Start.Byte : 0,
                          l == sel.End.Line ? sel.End.Byte : INT_MAX});
    ConvertSegments(segments, tag);
    // The same bytes stay selected.
    const long from =
        text_.BytePosition(sel.Start.Line, LineBytes(sel.Start.Line + 1), sel.Start.Byte);
    const long to = text_.BytePosition(sel.End.Line, LineBytes(sel.End.Line + 1), sel.End.Byte);
    if (caretFirst)
      Sci(this, SCI_SETSEL, to, from);
    else
      Sci(this, SCI_SETSEL, from, to);
  }
  SetModifiedFlag(true);
  CaretMoved();
  EndUpdate();
  // No typing to wait for: colour what the conversion changed at once.
  if (fortranLexer_) fortranLexer_->ColourInBackground();
}

bool TStreakSynEdit::GotoLine(int line) {
  if (line < 1 || line > Sci(this, SCI_GETLINECOUNT)) return false;
  const bool wasOnScreen = LineOnScreen(line - 1);
  SetCaret(line, CaretColumn());
  ShowLine(line - 1, wasOnScreen);
  return true;
}

// ---- bookmarks ----

bool TStreakSynEdit::GetBookmark(int n, int* line, int* column) const {
  if (n < 0 || n >= kBookmarkCount || bookmarkHandle_[n] < 0) return false;
  const long l = Sci(this, SCI_MARKERLINEFROMHANDLE, bookmarkHandle_[n]);
  if (l < 0) return false;
  if (line) *line = static_cast<int>(l) + 1;
  if (column) *column = bookmarkColumn_[n];
  return true;
}

void TStreakSynEdit::SetBookmark(int n, int line, int column) {
  if (n < 0 || n >= kBookmarkCount) return;
  ClearBookmark(n);
  const long lines = Sci(this, SCI_GETLINECOUNT);
  line = std::clamp(line, 1, static_cast<int>(lines));
  bookmarkHandle_[n] = static_cast<int>(Sci(this, SCI_MARKERADD, line - 1, n));
  bookmarkColumn_[n] = std::max(column, 1);
  painter_.RepaintGutter();
}

void TStreakSynEdit::ClearBookmark(int n) {
  if (n < 0 || n >= kBookmarkCount || bookmarkHandle_[n] < 0) return;
  Sci(this, SCI_MARKERDELETEHANDLE, bookmarkHandle_[n]);
  bookmarkHandle_[n] = -1;
  painter_.RepaintGutter();
}

void TStreakSynEdit::GotoBookmark(int n) {
  int line = 0, column = 0;
  if (!GetBookmark(n, &line, &column)) return;
  SetCaret(line, column);
  Sci(this, SCI_SCROLLCARET);
}

// ---- options ----

void TStreakSynEdit::BeginUpdate() {
  if (updateCount_++ == 0) viewport()->setUpdatesEnabled(false);
}

void TStreakSynEdit::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) {
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
  }
}

void TStreakSynEdit::SetOptions(const TSynOptions& o) {
  BeginUpdate();
  options_ = o;
  const TEditorSettings& s = o.Settings;
  const QPalette pal = palette();
  const QColor fore = pal.color(QPalette::Text), back = pal.color(QPalette::Base);
  if (fortranLexer_) {
    fortranLexer_->SetBase(o.Font, fore, back);
  } else {
    QsciScintilla::setFont(o.Font);
    setColor(fore);
    setPaper(back);
    Sci(this, SCI_STYLECLEARALL);
  }
  setMarginsBackgroundColor(pal.color(QPalette::Button));
  SendScintilla(SCI_SETMARGINBACKN, 0ul, pal.color(QPalette::Button));
  // The fold margin in the gutter's colour rather than Scintilla's checker pattern.
  SendScintilla(SCI_SETFOLDMARGINCOLOUR, 1ul, pal.color(QPalette::Button));
  SendScintilla(SCI_SETFOLDMARGINHICOLOUR, 1ul, pal.color(QPalette::Button));
  // Alt-drag selects a column block only while the option is on; otherwise a modifier no
  // keyboard sends switches it off.
  Sci(this, SCI_SETRECTANGULARSELECTIONMODIFIER, s.AltSetsColumnMode ? SCMOD_ALT : SCMOD_SUPER);
  Sci(this, SCI_SETUSETABS, s.TabsToSpaces ? 0 : 1);
  setTabWidth(std::max(1, s.TabStops));
  Sci(this, SCI_SETINDENT, 0);
  Sci(this, SCI_SETVIEWWS, s.ShowSpecialChars ? SCWS_VISIBLEALWAYS : SCWS_INVISIBLE);
  Sci(this, SCI_SETVIEWEOL, s.ShowSpecialChars ? 1 : 0);
  setAutoIndent(s.AutoIndent);
  if (s.UndoLimit <= 0) {
    Sci(this, SCI_SETUNDOCOLLECTION, 0);
    Sci(this, SCI_EMPTYUNDOBUFFER);
    undoDepth_ = redoDepth_ = 0;
  } else {
    Sci(this, SCI_SETUNDOCOLLECTION, 1);
    undoDepth_ = std::min(undoDepth_, s.UndoLimit);
    redoDepth_ = std::min(redoDepth_, s.UndoLimit);
  }
  if (!s.TrimTrailingSpaces) Sci(this, SCI_MARKERDELETEALL, kEditedMarker);
  const Qt::ScrollBarPolicy bars =
      s.HideScrollbarsAsNecessary ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
  setVerticalScrollBarPolicy(bars);
  setHorizontalScrollBarPolicy(bars);
  auto* arrows = findChild<TScrollArrowStyle*>(QString(), Qt::FindDirectChildrenOnly);
  if (s.DisableScrollArrows && !arrows) (arrows = new TScrollArrowStyle)->setParent(this);
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
    bar->setStyle(s.DisableScrollArrows ? arrows : nullptr);
  Sci(this, SCI_SETENDATLASTLINE, s.ScrollPastEndOfFile ? 0 : 1);
  Sci(this, SCI_SETVIRTUALSPACEOPTIONS,
      SCVS_RECTANGULARSELECTION | (s.ScrollPastEndOfLine ? SCVS_USERACCESSIBLE : 0));
  Sci(this, SCI_SETSCROLLWIDTH, std::max(1, s.MaxLeftChars) * CharWidth());
  Sci(this, SCI_SETSCROLLWIDTHTRACKING, s.AutoSizeMaxLeftChars ? 1 : 0);
  Sci(this, SCI_HIDESELECTION, s.HideSelection && !hasFocus() ? 1 : 0);
  if (s.NoSelection && HasSelection())
    Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
  blockMarks_.SetEnabled(s.MarkMatching, s.Folding);
  painter_.ApplyGutter();
  painter_.RestartCaret(false);
  EndUpdate();
}

bool TStreakSynEdit::InsertMode() const { return Sci(this, SCI_GETOVERTYPE) == 0; }

void TStreakSynEdit::SetInsertMode(bool insert) {
  if (insert == InsertMode()) return;
  Sci(this, SCI_SETOVERTYPE, insert ? 0 : 1);
  painter_.RestartCaret(false);
  emit StatusChanged(scInsertMode);
}

void TStreakSynEdit::SetHighlighter(TSynFortranSyn* highlighter) {
  if (fortranLexer_) {
    setLexer(nullptr);
    delete fortranLexer_;
    fortranLexer_ = nullptr;
  }
  if (highlighter) {
    fortranLexer_ = new TFortranLexer(highlighter, this);
    fortranLexer_->SetCodePage(CodePage());
    const QPalette pal = palette();
    fortranLexer_->SetBase(options_.Font, pal.color(QPalette::Text), pal.color(QPalette::Base));
    setLexer(fortranLexer_);
    fortranLexer_->ColourInBackground();
  } else {
    Sci(this, SCI_CLEARDOCUMENTSTYLE);
  }
  // Changing the lexer resets styles and word characters; put the rest back.
  SetOptions(options_);
}

// ---- painting and events ----

void TStreakSynEdit::paintEvent(QPaintEvent* e) {
  QsciScintilla::paintEvent(e);
  QPainter p(viewport());
  p.setClipRegion(e->region());
  painter_.Paint(p, e->rect());
}

void TStreakSynEdit::Modified(int position, int type, int length, int linesAdded) {
  if (type & SC_MOD_CHANGEMARKER)
    painter_.MarkersChanged(Sci(this, SCI_LINEFROMPOSITION, position));
  if ((keepLineMarks_ || inUndoRedo_) && !loading_) {
    if (type & SC_MOD_BEFOREDELETE)
      NoteMarksBeforeDelete(position, length);
    else if (type & SC_MOD_INSERTTEXT)
      RestoreMarksAfterInsert(position, linesAdded);
  }
  if (!(type & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) || loading_) return;
  const bool user = (type & SC_PERFORMED_USER) != 0;
  if (user && !inUndoRedo_) {
    redoDepth_ = 0;
    if (type & SC_STARTACTION)
      undoDepth_ = std::min(undoDepth_ + 1, std::max(options_.Settings.UndoLimit, 0));
  }
  if (user && !trimming_ && options_.Settings.TrimTrailingSpaces) {
    const long line = Sci(this, SCI_LINEFROMPOSITION, position);
    const long last = line + std::max(linesAdded, 0);
    for (long l = line; l <= last; ++l)
      if (!(Sci(this, SCI_MARKERGET, l) & (1 << kEditedMarker)))
        Sci(this, SCI_MARKERADD, l, kEditedMarker);
    editsPending_ = true;
  }
  if (linesAdded != 0) painter_.LineCountChanged();
  blockMarks_.TextChanged();
  emit TextEdited();
}

void TStreakSynEdit::UpdateUi(int updated) {
  if (updated & SC_UPDATE_SELECTION) CaretMoved();
}

void TStreakSynEdit::CaretMoved() {
  // Scintilla reports caret moves only when it paints; every command of this control also
  // checks, so that hidden windows keep their status current.
  if (options_.Settings.NoSelection && HasSelection())
    Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
  const int line = CaretLine(), column = CaretColumn();
  painter_.RestartCaret(hasFocus());
  blockMarks_.CaretMoved();
  if (line != lastCaretLine_ || column != lastCaretColumn_) {
    const bool lineChanged = line != lastCaretLine_;
    lastCaretLine_ = line;
    lastCaretColumn_ = column;
    emit StatusChanged(scCaret);
    if (lineChanged && options_.Settings.TrimTrailingSpaces)
      // Not from inside Scintilla's notification: the trim changes the text.
      QMetaObject::invokeMethod(
          this, [this] { TrimEditedLines(false); }, Qt::QueuedConnection);
  }
}

void TStreakSynEdit::TrimEditedLines(bool includeCaretLine) {
  if (trimming_ || !editsPending_ || !options_.Settings.TrimTrailingSpaces) return;
  const long mask = 1L << kEditedMarker;
  const long caretLine = CaretLine() - 1;
  trimming_ = true;
  long line = Sci(this, SCI_MARKERNEXT, 0, mask);
  while (line >= 0) {
    const long next = Sci(this, SCI_MARKERNEXT, line + 1, mask);
    if (line == caretLine && !includeCaretLine) {
      line = next;
      continue;
    }
    Sci(this, SCI_MARKERDELETE, line, kEditedMarker);
    const long start = Sci(this, SCI_POSITIONFROMLINE, line);
    const long end = Sci(this, SCI_GETLINEENDPOSITION, line);
    long cut = end;
    while (cut > start) {
      const int ch = static_cast<int>(Sci(this, SCI_GETCHARAT, cut - 1));
      if (ch != ' ' && ch != '\t') break;
      --cut;
    }
    if (cut < end) {
      const bool onCaretLine = line == caretLine;
      const int column = onCaretLine ? CaretColumn() : 0;
      Sci(this, SCI_DELETERANGE, cut, end - cut);
      if (onCaretLine) {
        int vs = 0;
        const long pos = PositionOf(static_cast<int>(line) + 1, column, &vs);
        Sci(this, SCI_SETEMPTYSELECTION, pos);
        if (vs > 0) {
          Sci(this, SCI_SETSELECTIONNCARETVIRTUALSPACE, 0, vs);
          Sci(this, SCI_SETSELECTIONNANCHORVIRTUALSPACE, 0, vs);
        }
      }
    }
    line = next;
  }
  editsPending_ = !includeCaretLine && (Sci(this, SCI_MARKERGET, caretLine) & mask);
  trimming_ = false;
}

bool TStreakSynEdit::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    // A key that is also a window action's shortcut runs the action: never claim it here.
    e->ignore();
    return true;
  }
  return QsciScintilla::event(e);
}

bool TStreakSynEdit::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::ToolTip && HoverTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const long pos = Sci(this, SCI_POSITIONFROMPOINTCLOSE, help->pos().x(), help->pos().y());
    const std::string tip = pos >= 0 ? HoverTip(pos) : std::string();
    // Without a value the tip shown at the dwell (a finding, a unit) stays; moving the mouse
    // ends the dwell, and that hides it.
    if (!tip.empty()) QToolTip::showText(help->globalPos(), QString::fromStdString(tip), this);
    return true;
  }
  return QsciScintilla::viewportEvent(e);
}

bool TStreakSynEdit::RunKey(int key, Qt::KeyboardModifiers modifiers) {
  if (!keys_.Run(key, modifiers)) return false;
  AfterNavigation();
  return true;
}

void TStreakSynEdit::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !options_.Settings.WantTabs) {
    QWidget::focusNextPrevChild(key == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
    e->accept();
    return;
  }
  if (RunKey(key, e->modifiers())) {
    e->accept();
    return;
  }
  const QString text = e->text();
  const bool command = (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) ||
                       (e->modifiers() & Qt::AltModifier);
  if (!command && !text.isEmpty() && text.at(0).isPrint()) {
    if (!text_.Accepts(text)) {
      // The page has no byte for this character: it cannot be typed.
      QApplication::beep();
      e->accept();
      return;
    }
    const char typed = text.size() == 1 ? static_cast<char>(text.at(0).unicode()) : 0;
    if (options_.Settings.LabelField && typed >= '0' && typed <= '9' &&
        fixedForm_.TypeDigit(typed)) {
      e->accept();
      AfterNavigation();
      return;
    }
    if (!options_.Settings.GroupUndo) Sci(this, SCI_BEGINUNDOACTION);
    QsciScintilla::keyPressEvent(e);
    if (!options_.Settings.GroupUndo) Sci(this, SCI_ENDUNDOACTION);
    if (options_.Settings.WrapAt72) fixedForm_.AfterTyping();
    AfterNavigation();
    return;
  }
  e->ignore();
}

void TStreakSynEdit::ReplaceLineWith(int line, const std::vector<std::string>& lines,
                                     int caretIndex, int caretByte) {
  if (lines.empty() || line < 0 || line >= Sci(this, SCI_GETLINECOUNT)) return;
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) joined += '\n';
    joined += lines[i];
  }
  const std::string utf8 = text_.Utf8(joined);
  Sci(this, SCI_BEGINUNDOACTION);
  Sci(this, SCI_SETTARGETRANGE, Sci(this, SCI_POSITIONFROMLINE, line),
      Sci(this, SCI_GETLINEENDPOSITION, line));
  SciPtr(this, SCI_REPLACETARGET, static_cast<long>(utf8.size()), utf8.c_str());
  Sci(this, SCI_ENDUNDOACTION);
  const int index = std::clamp(caretIndex, 0, static_cast<int>(lines.size()) - 1);
  const auto& target = lines[static_cast<std::size_t>(index)];
  Sci(this, SCI_GOTOPOS, text_.BytePosition(line + index, target, caretByte));
  Sci(this, SCI_CHOOSECARETX);
}

void TStreakSynEdit::inputMethodEvent(QInputMethodEvent* e) {
  if (!e->commitString().isEmpty() && !text_.Accepts(e->commitString())) {
    QApplication::beep();
    e->accept();
    return;
  }
  QsciScintilla::inputMethodEvent(e);
}

void TStreakSynEdit::AfterNavigation() {
  TrimEditedLines(false);
  CaretMoved();
}

void TStreakSynEdit::mousePressEvent(QMouseEvent* e) {
  emit MouseDown();
  if (e->button() == Qt::RightButton) {
    if (options_.Settings.RightMouseMovesCursor) {
      const QPoint pt = e->position().toPoint();
      const long pos = Sci(this, SCI_POSITIONFROMPOINT, pt.x(), pt.y());
      const long s = Sci(this, SCI_GETSELECTIONSTART), en = Sci(this, SCI_GETSELECTIONEND);
      if (!HasSelection() || pos < s || pos > en) Sci(this, SCI_SETEMPTYSELECTION, pos);
    }
    e->accept();
    return;
  }
  if (e->button() == Qt::LeftButton && e->position().x() < TextAreaLeft()) {
    const QPoint pt = e->position().toPoint();
    const long pos = Sci(this, SCI_POSITIONFROMPOINT, TextAreaLeft(), pt.y());
    emit GutterClicked(static_cast<int>(Sci(this, SCI_LINEFROMPOSITION, pos)));
  }
  if (e->button() == Qt::LeftButton && !(e->modifiers() & Qt::ShiftModifier)) {
    const QPoint pt = e->position().toPoint();
    if (!options_.Settings.DragAndDropEditing && HasSelection() && pt.x() >= TextAreaLeft()) {
      // Without drag and drop a click in the selection places the caret like anywhere else.
      const long pos = Sci(this, SCI_POSITIONFROMPOINT, pt.x(), pt.y());
      Sci(this, SCI_SETEMPTYSELECTION, pos);
    }
    if (keys_.SelectionMode() == TSelectionMode::Column && pt.x() >= TextAreaLeft()) {
      Sci(this, SCI_SETRECTANGULARSELECTIONMODIFIER, SCMOD_ALT);
      QMouseEvent rect(e->type(), e->position(), e->scenePosition(), e->globalPosition(),
                       e->button(), e->buttons(), e->modifiers() | Qt::AltModifier);
      QsciScintilla::mousePressEvent(&rect);
      Sci(this, SCI_SETRECTANGULARSELECTIONMODIFIER,
          options_.Settings.AltSetsColumnMode ? SCMOD_ALT : SCMOD_SUPER);
      return;
    }
  }
  QsciScintilla::mousePressEvent(e);
}

void TStreakSynEdit::mouseMoveEvent(QMouseEvent* e) {
  QsciScintilla::mouseMoveEvent(e);
  if (options_.Settings.NoSelection && HasSelection())
    Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
}

void TStreakSynEdit::mouseReleaseEvent(QMouseEvent* e) {
  QsciScintilla::mouseReleaseEvent(e);
  keys_.MouseSelectionDone();
  AfterNavigation();
}

void TStreakSynEdit::contextMenuEvent(QContextMenuEvent* e) {
  if (contextMenu_) contextMenu_->exec(e->globalPos());
  e->accept();
}

void TStreakSynEdit::focusInEvent(QFocusEvent* e) {
  QsciScintilla::focusInEvent(e);
  if (options_.Settings.HideSelection) Sci(this, SCI_HIDESELECTION, 0);
  painter_.RestartCaret(true);
}

void TStreakSynEdit::focusOutEvent(QFocusEvent* e) {
  QsciScintilla::focusOutEvent(e);
  if (options_.Settings.HideSelection) Sci(this, SCI_HIDESELECTION, 1);
  painter_.StopCaret();
}

void TStreakSynEdit::resizeEvent(QResizeEvent* e) {
  QsciScintilla::resizeEvent(e);
  painter_.ForgetCaretRect();
  // Scintilla, asked to show the caret while the view has no room for a line (an editor
  // created before its window is laid out, a file loaded into it), scrolls one line past the
  // caret. Once the view can show lines, show the caret's line as meant.
  const long lines = Sci(this, SCI_LINESONSCREEN);
  if (linesOnScreen_ == 0 && lines > 0) Sci(this, SCI_SCROLLCARET);
  linesOnScreen_ = lines;
}

void TStreakSynEdit::ShowScrollHint(int value) {
  if (!options_.Settings.ShowScrollHint) return;
  QPoint at;
  if (options_.Settings.ScrollHintFollowsMouse) {
    at = QCursor::pos() + QPoint(-40, 0);
  } else {
    const QScrollBar* bar = verticalScrollBar();
    const int range = std::max(1, bar->maximum() - bar->minimum());
    const int y = bar->height() * (value - bar->minimum()) / range;
    at = bar->mapToGlobal(QPoint(-40, y));
  }
  QToolTip::showText(at, QString::number(value + 1), this);
}

}  // namespace vortan
