#include "editor/ui/streaksynedit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QImage>
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
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "editor/codetemplates.h"
#include "editor/textconversion.h"
#include "editor/textfinder.h"
#include "editor/ui/editoraccessible.h"
#include "editor/ui/fortranlexer.h"
#include "editor/ui/scicall.h"
#include "editor/ui/scrollarrowstyle.h"

namespace vortan {

namespace {

using B = QsciScintillaBase;

// Marker numbers: 0..9 bookmarks (drawn by the control itself), then the error-line
// background and an invisible tag on lines edited since the last trim.
constexpr int kErrorMarker = 10;
constexpr int kEditedMarker = 11;
constexpr long kLineMarks = (1L << (kEditedMarker + 1)) - 1;
constexpr int kBookmarkMask = (1 << TStreakSynEdit::BookmarkCount) - 1;
// The first indicator free for containers paints the error lines' text colour.
constexpr int kErrorIndicator = 8;
// Width of the bookmark digits' column at the left of the gutter.
constexpr int kBookmarkArea = 14;
// Blanks a block indent adds or removes.
constexpr int kBlockIndent = 2;

QImage BookmarkImage(int n) {
  QImage img(11, 14, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(96, 64, 0));
  p.setBrush(QColor(255, 220, 96));
  p.drawRect(0, 0, 10, 13);
  QFont f;
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, 11, 14), Qt::AlignCenter, QString::number(n));
  return img;
}

int Digits(long n) {
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

}  // namespace

enum class TStreakSynEdit::TCmd {
  Left, Right, Up, Down, WordLeft, WordRight, PageUp, PageDown, PageTop, PageBottom,
  Home, End, DocStart, DocEnd, ScrollUp, ScrollDown, ToggleMode, Copy, Paste, Cut,
  DeleteChar, DeleteLastChar, DeleteLastWord, Undo, Redo, LineBreak, SelectAll,
  BlockIndent, BlockUnindent, DeleteWord, DeleteLine, DeleteEol, GotoBookmark,
  NormalSelect, ColumnSelect, LineSelect, Tab, ShiftTab, MatchBracket,
};

struct TStreakSynEdit::TKeyBinding {
  int Key;
  Qt::KeyboardModifiers Modifiers;
  TCmd Cmd;
  bool Extend = false;
  int Param = 0;
};

const std::vector<TStreakSynEdit::TKeyBinding>& TStreakSynEdit::KeyBindings() {
  static const std::vector<TKeyBinding> table = [] {
    using C = TCmd;
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    std::vector<TKeyBinding> t;
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
    for (int n = 0; n < BookmarkCount; ++n)
      t.push_back({Qt::Key_0 + n, ctrl, C::GotoBookmark, false, n});
    t.push_back({Qt::Key_N, shift | ctrl, C::NormalSelect});
    t.push_back({Qt::Key_C, shift | ctrl, C::ColumnSelect});
    t.push_back({Qt::Key_L, shift | ctrl, C::LineSelect});
    t.push_back({Qt::Key_Tab, none, C::Tab});
    t.push_back({Qt::Key_Tab, shift, C::ShiftTab});
    t.push_back({Qt::Key_Backtab, shift, C::ShiftTab});
    t.push_back({Qt::Key_Backtab, none, C::ShiftTab});
    t.push_back({Qt::Key_B, shift | ctrl, C::MatchBracket});
    return t;
  }();
  return table;
}

TStreakSynEdit::TStreakSynEdit(QWidget* parent)
    : QsciScintilla(parent), streaks_([this](int column) { RepaintStreakStrip(column); }) {
  InstallEditorAccessibleFactory();
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
  for (int n = 0; n < BookmarkCount; ++n) Sci(this, SCI_MARKERDEFINE, n, SC_MARK_EMPTY);
  Sci(this, SCI_MARKERDEFINE, kErrorMarker, SC_MARK_BACKGROUND);
  Sci(this, SCI_MARKERDEFINE, kEditedMarker, SC_MARK_EMPTY);
  Sci(this, SCI_INDICSETSTYLE, kErrorIndicator, INDIC_TEXTFORE);
  Sci(this, SCI_SETVIRTUALSPACEOPTIONS, SCVS_RECTANGULARSELECTION | SCVS_USERACCESSIBLE);
  setWrapMode(WrapNone);


  connect(this, qOverload<int, int, const char*, int, int, int, int, int, int, int>(&QsciScintillaBase::SCN_MODIFIED),
          this, [this](int position, int type, const char*, int length, int linesAdded, int, int, int, int, int) {
            Modified(position, type, length, linesAdded);
          });
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &TStreakSynEdit::UpdateUi);
  connect(this, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, [this] {
    if (!forcedModified_) emit StatusChanged(scModified);
  });
  connect(this, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] {
    if (!forcedModified_) emit StatusChanged(scModified);
  });
  connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, &TStreakSynEdit::ShowScrollHint);
  const int flash = QApplication::cursorFlashTime();
  caretTimer_.setInterval(flash > 0 ? flash / 2 : 500);
  connect(&caretTimer_, &QTimer::timeout, this, [this] {
    caretVisible_ = !caretVisible_;
    RepaintCaret();
  });
  SetOptions(options_);
}

TStreakSynEdit::~TStreakSynEdit() {
  // The lexer is a child; detach it first so Scintilla never calls into a dead object.
  if (fortranLexer_) setLexer(nullptr);
}

// ---- guide lines ----

void TStreakSynEdit::SetStreaksColor(const QColor& color) {
  if (color == streaksColor_) return;
  streaksColor_ = color;
  for (int i = 0; i < streaks_.Count(); ++i) RepaintStreakStrip(streaks_.Item(i)->Column());
}

double TStreakSynEdit::ColumnWidth() const {
  // Characters may advance by a fraction of a pixel; a long run gives the exact advance.
  static const std::string run(100, 'X');
  const long w = SciPtr(this, SCI_TEXTWIDTH, 0, run.c_str());
  return w > 0 ? static_cast<double>(w) / 100.0 : 1.0;
}

int TStreakSynEdit::CharWidth() const { return std::max(1, static_cast<int>(std::lround(ColumnWidth()))); }

int TStreakSynEdit::TextAreaLeft() const {
  int left = 0;
  for (int m = 0; m < 5; ++m) left += static_cast<int>(Sci(this, SCI_GETMARGINWIDTHN, m));
  return left + static_cast<int>(Sci(this, SCI_GETMARGINLEFT));
}

int TStreakSynEdit::StreakX(int column) const {
  return TextAreaLeft() - static_cast<int>(Sci(this, SCI_GETXOFFSET)) +
         static_cast<int>(std::lround(column * ColumnWidth()));
}

void TStreakSynEdit::RepaintStreakStrip(int column) {
  if (column <= 0 || !testAttribute(Qt::WA_WState_Created)) return;
  const int x = StreakX(column);
  viewport()->update(QRect(x - 1, 0, 2, viewport()->height()));
}

void TStreakSynEdit::PaintStreaks(QPainter& p, const QRect& area) {
  const int left = TextAreaLeft();
  p.setPen(QPen(streaksColor_, 1));
  for (int i = 0; i < streaks_.Count(); ++i) {
    const int column = streaks_.Item(i)->Column();
    if (column <= 0) continue;
    const int x = StreakX(column);
    if (x < left || x < area.left() || x > area.right()) continue;
    p.drawLine(x, area.top(), x, area.bottom());
  }
}

// ---- bytes ----

std::string TStreakSynEdit::Bytes() const {
  const long length = Sci(this, SCI_GETLENGTH);
  const char* text = reinterpret_cast<const char*>(Sci(this, SCI_GETCHARACTERPOINTER));
  if (!text || length <= 0) return {};
  return platform::Utf8ToBytes(codePage_, std::string_view(text, static_cast<std::size_t>(length)));
}

void TStreakSynEdit::SetBytes(std::string_view lfText, bool undoable) {
  const std::string utf8 = platform::BytesToUtf8(codePage_, lfText);
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
  ApplyGutter();
  ApplyErrorColors();
  CaretMoved();
  if (fortranLexer_) fortranLexer_->ColourInBackground();
}

std::string TStreakSynEdit::LineBytes(int line) const {
  if (line < 1 || line > Sci(this, SCI_GETLINECOUNT)) return {};
  const long start = Sci(this, SCI_POSITIONFROMLINE, line - 1);
  const long end = Sci(this, SCI_GETLINEENDPOSITION, line - 1);
  if (end <= start) return {};
  const char* text = reinterpret_cast<const char*>(Sci(this, SCI_GETRANGEPOINTER, start, end - start));
  return platform::Utf8ToBytes(codePage_, std::string_view(text, static_cast<std::size_t>(end - start)));
}

void TStreakSynEdit::InsertBytes(std::string_view bytes) {
  const std::string utf8 = platform::BytesToUtf8(codePage_, bytes);
  const bool wasTrimming = std::exchange(trimming_, true);
  Sci(this, SCI_BEGINUNDOACTION);
  SciPtr(this, SCI_REPLACESEL, 0, utf8.c_str());
  Sci(this, SCI_ENDUNDOACTION);
  trimming_ = wasTrimming;
  CaretMoved();
}

std::string TStreakSynEdit::SelectedBytes() const {
  // Scintilla joins the lines of a column block with line breaks here.
  const long size = SciPtr(this, SCI_GETSELTEXT, 0, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  SciPtr(this, SCI_GETSELTEXT, 0, utf8.data());
  while (!utf8.empty() && utf8.back() == '\0') utf8.pop_back();
  return platform::Utf8ToBytes(codePage_, utf8);
}

void TStreakSynEdit::SetCodePage(platform::TCodePage page) {
  if (page == codePage_) return;
  const platform::TCodePage old = codePage_;
  const bool modified = IsModified();
  const int caretLine = CaretLine(), caretColumn = CaretColumn();
  const long firstVisible = Sci(this, SCI_GETFIRSTVISIBLELINE);
  codePage_ = page;
  if (fortranLexer_) fortranLexer_->SetCodePage(page);
  // Only lines with characters beyond ASCII show differently; replacing just those keeps
  // every line, and with it the bookmarks and marks.
  loading_ = true;
  Sci(this, SCI_SETUNDOCOLLECTION, 0);
  const long lines = Sci(this, SCI_GETLINECOUNT);
  for (long line = 0; line < lines; ++line) {
    const long start = Sci(this, SCI_POSITIONFROMLINE, line);
    const long end = Sci(this, SCI_GETLINEENDPOSITION, line);
    if (end <= start) continue;
    const char* text = reinterpret_cast<const char*>(Sci(this, SCI_GETRANGEPOINTER, start, end - start));
    const std::string_view utf8(text, static_cast<std::size_t>(end - start));
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      continue;
    const std::string shown = platform::BytesToUtf8(page, platform::Utf8ToBytes(old, utf8));
    Sci(this, SCI_SETTARGETRANGE, start, end);
    SciPtr(this, SCI_REPLACETARGET, static_cast<long>(shown.size()), shown.data());
  }
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
  ApplyErrorColors();
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
  return static_cast<int>(Sci(this, SCI_GETCOLUMN, pos) + Sci(this, SCI_GETSELECTIONNCARETVIRTUALSPACE, main)) + 1;
}

long TStreakSynEdit::PositionOf(int line, int column, int* virtualSpace) const {
  const long lines = Sci(this, SCI_GETLINECOUNT);
  line = std::clamp(line, 1, static_cast<int>(lines));
  column = std::max(column, 1);
  const long pos = Sci(this, SCI_FINDCOLUMN, line - 1, column - 1);
  const long reached = Sci(this, SCI_GETCOLUMN, pos);
  *virtualSpace = options_.Settings.ScrollPastEndOfLine ? std::max(0, column - 1 - static_cast<int>(reached)) : 0;
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

void TStreakSynEdit::SetSelectionMode(TSelectionMode mode) { selectionMode_ = mode; }

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
  return FilterThroughPage(QString::fromUtf8(text)).toUtf8();
}

QString TStreakSynEdit::FilterThroughPage(const QString& text) const {
  // What is inserted is what a save and a reload would give: characters the page lacks
  // become '?', and a NUL is a line break like in a loaded file.
  std::string bytes = platform::Utf8ToBytes(codePage_, text.toStdString());
  std::replace(bytes.begin(), bytes.end(), '\0', '\n');
  return QString::fromStdString(platform::BytesToUtf8(codePage_, bytes));
}

bool TStreakSynEdit::AcceptsText(const QString& text) const {
  for (char32_t ch : text.toUcs4())
    if (!platform::FromUnicode(codePage_, ch)) return false;
  return true;
}

// ---- search, templates and conversions ----

namespace {

// The document as the search sees it: the control's lines as bytes. Replacements inside an
// undo step are gathered per line and reach the control at the end of the step as one
// ReplaceLines: replacing in the control one occurrence at a time costs time in proportion
// to the document for each, and as much again to undo.
class TControlDocument : public TSearchDocument {
 public:
  explicit TControlDocument(TStreakSynEdit* edit) : edit_(edit) {}
  ~TControlDocument() override { Flush(); }

  int LineCount() const override { return static_cast<int>(Sci(edit_, B::SCI_GETLINECOUNT)); }
  std::string LineBytes(int line) const override {
    const auto it = pending_.find(line);
    if (it != pending_.end()) return it->second;
    // The line last read is kept: a match found in it is replaced without reading it again.
    if (line != cachedLine_) {
      cachedLine_ = line;
      cached_ = edit_->LineBytes(line + 1);
    }
    return cached_;
  }
  void Select(int line, int start, int end, bool caretAtStart) override {
    Flush();
    edit_->SelectBytes(line, start, end, caretAtStart);
  }
  void ReplaceBytes(int line, int start, int end, std::string_view with) override {
    auto [it, added] = pending_.try_emplace(line);
    if (added) it->second = line == cachedLine_ ? std::move(cached_) : edit_->LineBytes(line + 1);
    if (line == cachedLine_) cachedLine_ = -1;
    std::string& bytes = it->second;
    const std::size_t from = std::min(static_cast<std::size_t>(std::max(start, 0)), bytes.size());
    const std::size_t to = std::clamp(static_cast<std::size_t>(std::max(end, 0)), from, bytes.size());
    bytes.replace(from, to - from, with);
    if (depth_ == 0) Flush();
  }
  void BeginUndoStep() override { ++depth_; }
  void EndUndoStep() override {
    if (depth_ > 0 && --depth_ == 0) Flush();
  }
  // Looks in the control's own text: reading every line as bytes costs more than the search.
  // Lines with replacements pending are behind the search, so the text ahead is current.
  int NextLineWith(int line, std::string_view search, bool matchCase, bool backwards) override {
    if (!TTextFinder::Handles(search)) return line;
    if (!finder_ || finder_->Search() != search || finder_->MatchCase() != matchCase) finder_.emplace(search, matchCase);
    const long length = Sci(edit_, B::SCI_GETLENGTH);
    const std::string_view text(reinterpret_cast<const char*>(Sci(edit_, B::SCI_GETCHARACTERPOINTER)),
                                static_cast<std::size_t>(length));
    const long lines = Sci(edit_, B::SCI_GETLINECOUNT);
    std::size_t at;
    if (backwards) {
      const long end = line + 1 < lines ? Sci(edit_, B::SCI_POSITIONFROMLINE, line + 1) : length;
      at = finder_->Previous(text, static_cast<std::size_t>(end));
    } else {
      at = finder_->Next(text, static_cast<std::size_t>(Sci(edit_, B::SCI_POSITIONFROMLINE, line)));
    }
    return at == std::string_view::npos ? -1 : static_cast<int>(Sci(edit_, B::SCI_LINEFROMPOSITION, at));
  }

 private:
  void Flush() {
    if (pending_.empty()) return;
    const int first = pending_.begin()->first, last = pending_.rbegin()->first;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(last - first + 1));
    for (int line = first; line <= last; ++line) {
      const auto it = pending_.find(line);
      lines.push_back(it != pending_.end() ? std::move(it->second) : edit_->LineBytes(line + 1));
    }
    pending_.clear();
    cachedLine_ = -1;
    edit_->ReplaceLines(first, lines);
  }

  TStreakSynEdit* edit_;
  int depth_ = 0;
  std::map<int, std::string> pending_;  // line -> its new bytes
  mutable int cachedLine_ = -1;
  mutable std::string cached_;
  std::optional<TTextFinder> finder_;
};

}  // namespace

long TStreakSynEdit::BytePosition(int line, std::string_view lineBytes, int byte) const {
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(byte, 0)), lineBytes.size());
  return Sci(this, SCI_POSITIONFROMLINE, line) +
         static_cast<long>(platform::Utf8Length(codePage_, lineBytes.substr(0, n)));
}

TTextPoint TStreakSynEdit::PointOf(long position) const {
  const long line = Sci(this, SCI_LINEFROMPOSITION, position);
  const long offset = position - Sci(this, SCI_POSITIONFROMLINE, line);
  const std::string bytes = LineBytes(static_cast<int>(line) + 1);
  return {static_cast<int>(line),
          static_cast<int>(platform::ByteOffsetOfUtf8(codePage_, bytes, static_cast<std::size_t>(offset)))};
}

TTextPoint TStreakSynEdit::CaretPoint() const { return PointOf(Sci(this, SCI_GETCURRENTPOS)); }

TSelectionInfo TStreakSynEdit::SelectionInfo() const {
  TSelectionInfo info;
  if (!HasSelection()) return info;
  info.Present = true;
  if (Sci(this, SCI_SELECTIONISRECTANGLE)) {
    info.Kind = TSelectionKind::Column;
    std::vector<std::pair<int, std::pair<int, int>>> rows;
    const long count = Sci(this, SCI_GETSELECTIONS);
    for (long i = 0; i < count; ++i) {
      const TTextPoint a = PointOf(Sci(this, SCI_GETSELECTIONNSTART, i));
      const TTextPoint b = PointOf(Sci(this, SCI_GETSELECTIONNEND, i));
      rows.push_back({a.Line, {a.Byte, b.Byte}});
    }
    std::sort(rows.begin(), rows.end());
    info.Start = {rows.front().first, rows.front().second.first};
    info.End = {rows.back().first, rows.back().second.second};
    // One range per line from the first to the last, so that index i is line Start.Line + i.
    for (int line = info.Start.Line, k = 0; line <= info.End.Line; ++line) {
      if (k < static_cast<int>(rows.size()) && rows[k].first == line)
        info.Columns.push_back(rows[k++].second);
      else
        info.Columns.push_back({0, 0});
    }
    return info;
  }
  info.Kind = selectionMode_ == TSelectionMode::Line ? TSelectionKind::Lines : TSelectionKind::Stream;
  info.Start = PointOf(Sci(this, SCI_GETSELECTIONSTART));
  info.End = PointOf(Sci(this, SCI_GETSELECTIONEND));
  return info;
}

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
  const long from = BytePosition(line, bytes, start), to = BytePosition(line, bytes, end);
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
  const TSearchRegion region =
      vortan::SearchRegion(options, static_cast<int>(Sci(this, SCI_GETLINECOUNT)), CaretPoint(), SelectionInfo());
  int found = 0;
  {
    TControlDocument document(this);
    found = vortan::SearchReplace(document, region, search, replacement, options, codePage_, prompt);
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
    for (int next = first + static_cast<int>(lines.size()); next <= line; ++next) lines.push_back(LineBytes(next + 1));
    std::string& bytes = lines[static_cast<std::size_t>(line - first)];
    const int size = static_cast<int>(bytes.size());
    const int from = std::clamp(start, 0, size), to = std::clamp(end, from, size);
    const std::size_t at = static_cast<std::size_t>(from), count = static_cast<std::size_t>(to - from);
    bytes.replace(at, count, ConvertBytes(tag, codePage_, std::string_view(bytes).substr(at, count)));
  }
  ReplaceLines(first, lines);
}

void TStreakSynEdit::ReplaceLines(int first, const std::vector<std::string>& lines) {
  const long count = static_cast<long>(lines.size());
  if (count == 0 || first < 0 || first + count > Sci(this, SCI_GETLINECOUNT)) return;
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
  }
  const std::string utf8 = platform::BytesToUtf8(codePage_, joined);
  const long start = Sci(this, SCI_POSITIONFROMLINE, first);
  const long end = Sci(this, SCI_GETLINEENDPOSITION, first + count - 1);
  const std::string_view old(reinterpret_cast<const char*>(Sci(this, SCI_GETRANGEPOINTER, start, end - start)),
                             static_cast<std::size_t>(end - start));
  // Only the span between the first and the last byte that differ, cut at whole characters.
  auto inside = [](std::string_view s, std::size_t i) {
    return i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80;
  };
  const std::size_t shorter = std::min(old.size(), utf8.size());
  std::size_t prefix = 0;
  while (prefix < shorter && old[prefix] == utf8[prefix]) ++prefix;
  while (prefix > 0 && (inside(old, prefix) || inside(utf8, prefix))) --prefix;
  if (prefix == old.size() && prefix == utf8.size()) return;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == utf8[utf8.size() - 1 - suffix]) ++suffix;
  while (suffix > 0 && (inside(old, old.size() - suffix) || inside(utf8, utf8.size() - suffix))) --suffix;

  // The program's text, not the user's typing: its blanks stay.
  const bool wasTrimming = std::exchange(trimming_, true);
  const bool wasKeeping = std::exchange(keepLineMarks_, true);
  Sci(this, SCI_BEGINUNDOACTION);
  Sci(this, SCI_SETTARGETRANGE, start + static_cast<long>(prefix), end - static_cast<long>(suffix));
  SciPtr(this, SCI_REPLACETARGET, static_cast<long>(utf8.size() - prefix - suffix), utf8.data() + prefix);
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
  for (long line = Sci(this, SCI_MARKERNEXT, first, kLineMarks); line >= 0 && line <= last;
       line = Sci(this, SCI_MARKERNEXT, line + 1, kLineMarks))
    deletedMarks_.Marks.push_back({line, static_cast<int>(Sci(this, SCI_MARKERGET, line) & kLineMarks)});
}

void TStreakSynEdit::RestoreMarksAfterInsert(long position, long linesAdded) {
  if (!deletedMarks_.Set) return;
  deletedMarks_.Set = false;
  if (position != deletedMarks_.Position || linesAdded != deletedMarks_.Lines) return;
  const long first = deletedMarks_.FirstLine;
  // The deletion gathered the marks of its lines on the first one.
  for (int m = 0; m <= kEditedMarker; ++m)
    for (int guard = 0; guard < 64 && (Sci(this, SCI_MARKERGET, first) & (1L << m)); ++guard)
      Sci(this, SCI_MARKERDELETE, first, m);
  for (const auto& [line, mask] : deletedMarks_.Marks)
    for (int m = 0; m <= kEditedMarker; ++m) {
      if (!(mask & (1 << m))) continue;
      const long handle = Sci(this, SCI_MARKERADD, line, m);
      if (m < BookmarkCount) bookmarkHandle_[m] = static_cast<int>(handle);
    }
  // The error lines' text colour went with the deleted text.
  if (specialLines_.empty()) return;
  const long lines = Sci(this, SCI_GETLINECOUNT);
  auto lineEnd = [&](long line) {
    return line + 1 < lines ? Sci(this, SCI_POSITIONFROMLINE, line + 1) : Sci(this, SCI_GETLENGTH);
  };
  const long from = Sci(this, SCI_POSITIONFROMLINE, first), to = lineEnd(first + deletedMarks_.Lines);
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
    const long anchorLine = Sci(this, SCI_LINEFROMPOSITION, anchor), caretLine = Sci(this, SCI_LINEFROMPOSITION, caret);
    const long anchorColumn = Sci(this, SCI_GETCOLUMN, anchor), caretColumn = Sci(this, SCI_GETCOLUMN, caret);
    const long anchorVs = Sci(this, SCI_GETRECTANGULARSELECTIONANCHORVIRTUALSPACE);
    const long caretVs = Sci(this, SCI_GETRECTANGULARSELECTIONCARETVIRTUALSPACE);
    for (std::size_t k = 0; k < sel.Columns.size(); ++k)
      segments.push_back({sel.Start.Line + static_cast<int>(k), sel.Columns[k].first, sel.Columns[k].second});
    ConvertSegments(segments, tag);
    Sci(this, SCI_SETRECTANGULARSELECTIONANCHOR, Sci(this, SCI_FINDCOLUMN, anchorLine, anchorColumn));
    Sci(this, SCI_SETRECTANGULARSELECTIONCARET, Sci(this, SCI_FINDCOLUMN, caretLine, caretColumn));
    Sci(this, SCI_SETRECTANGULARSELECTIONANCHORVIRTUALSPACE, anchorVs);
    Sci(this, SCI_SETRECTANGULARSELECTIONCARETVIRTUALSPACE, caretVs);
  } else {
    const bool caretFirst = Sci(this, SCI_GETCURRENTPOS) < Sci(this, SCI_GETANCHOR);
    for (int l = sel.Start.Line; l <= sel.End.Line; ++l)
      segments.push_back({l, l == sel.Start.Line ? sel.Start.Byte : 0, l == sel.End.Line ? sel.End.Byte : INT_MAX});
    ConvertSegments(segments, tag);
    // The same bytes stay selected.
    const long from = BytePosition(sel.Start.Line, LineBytes(sel.Start.Line + 1), sel.Start.Byte);
    const long to = BytePosition(sel.End.Line, LineBytes(sel.End.Line + 1), sel.End.Byte);
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
  if (n < 0 || n >= BookmarkCount || bookmarkHandle_[n] < 0) return false;
  const long l = Sci(this, SCI_MARKERLINEFROMHANDLE, bookmarkHandle_[n]);
  if (l < 0) return false;
  if (line) *line = static_cast<int>(l) + 1;
  if (column) *column = bookmarkColumn_[n];
  return true;
}

void TStreakSynEdit::SetBookmark(int n, int line, int column) {
  if (n < 0 || n >= BookmarkCount) return;
  ClearBookmark(n);
  const long lines = Sci(this, SCI_GETLINECOUNT);
  line = std::clamp(line, 1, static_cast<int>(lines));
  bookmarkHandle_[n] = static_cast<int>(Sci(this, SCI_MARKERADD, line - 1, n));
  bookmarkColumn_[n] = std::max(column, 1);
  viewport()->update(QRect(0, 0, GutterWidth(), viewport()->height()));
}

void TStreakSynEdit::ClearBookmark(int n) {
  if (n < 0 || n >= BookmarkCount || bookmarkHandle_[n] < 0) return;
  Sci(this, SCI_MARKERDELETEHANDLE, bookmarkHandle_[n]);
  bookmarkHandle_[n] = -1;
  viewport()->update(QRect(0, 0, GutterWidth(), viewport()->height()));
}

void TStreakSynEdit::GotoBookmark(int n) {
  int line = 0, column = 0;
  if (!GetBookmark(n, &line, &column)) return;
  SetCaret(line, column);
  Sci(this, SCI_SCROLLCARET);
}

// ---- special lines ----

void TStreakSynEdit::SetSpecialLines(const std::vector<int>& lines, const QColor& fore, const QColor& back) {
  if (lines.empty() && specialLines_.empty()) return;
  specialLines_ = lines;
  specialFore_ = fore;
  specialBack_ = back;
  ApplyErrorColors();
}

void TStreakSynEdit::ApplyErrorColors() {
  Sci(this, SCI_MARKERDELETEALL, kErrorMarker);
  Sci(this, SCI_SETINDICATORCURRENT, kErrorIndicator);
  Sci(this, SCI_INDICATORCLEARRANGE, 0, Sci(this, SCI_GETLENGTH));
  if (specialLines_.empty()) return;
  SendScintilla(SCI_MARKERSETBACK, static_cast<unsigned long>(kErrorMarker), specialBack_);
  SendScintilla(SCI_INDICSETFORE, static_cast<unsigned long>(kErrorIndicator), specialFore_);
  const long lines = Sci(this, SCI_GETLINECOUNT);
  for (int line : specialLines_) {
    if (line < 1 || line > lines) continue;
    Sci(this, SCI_MARKERADD, line - 1, kErrorMarker);
    const long start = Sci(this, SCI_POSITIONFROMLINE, line - 1);
    const long end = line < lines ? Sci(this, SCI_POSITIONFROMLINE, line) : Sci(this, SCI_GETLENGTH);
    if (end > start) Sci(this, SCI_INDICATORFILLRANGE, start, end - start);
  }
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
  const Qt::ScrollBarPolicy bars = s.HideScrollbarsAsNecessary ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
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
  if (s.NoSelection && HasSelection()) Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
  ApplyGutter();
  ApplyCaretStyle();
  EndUpdate();
}

bool TStreakSynEdit::InsertMode() const { return Sci(this, SCI_GETOVERTYPE) == 0; }

void TStreakSynEdit::SetInsertMode(bool insert) {
  if (insert == InsertMode()) return;
  Sci(this, SCI_SETOVERTYPE, insert ? 0 : 1);
  ApplyCaretStyle();
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
    fortranLexer_->SetCodePage(codePage_);
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

// ---- gutter ----

int TStreakSynEdit::GutterWidth() const { return static_cast<int>(Sci(this, SCI_GETMARGINWIDTHN, 0)); }

int TStreakSynEdit::LineHeight() const {
  const int h = static_cast<int>(Sci(this, SCI_TEXTHEIGHT, 0));
  return h > 0 ? h : 1;
}

QString TStreakSynEdit::GutterText(int line) const {
  const long number = options_.Settings.GutterStartAtZero ? line - 1 : line;
  QString text = QString::number(number);
  if (options_.Settings.GutterShowLeadingZeros) {
    const long lines = Sci(this, SCI_GETLINECOUNT);
    const int digits = std::max(4, Digits(options_.Settings.GutterStartAtZero ? lines - 1 : lines));
    text = text.rightJustified(digits, QLatin1Char('0'));
  }
  return text;
}

void TStreakSynEdit::ApplyGutter() {
  const long lines = Sci(this, SCI_GETLINECOUNT);
  gutterDigits_ = Digits(options_.Settings.GutterStartAtZero ? lines - 1 : lines);
  int width = 0;
  if (options_.Settings.GutterVisible) {
    // The numbers are drawn right-aligned, 3 pixels from the gutter's edge; the number of
    // the last line always fits, also beside a fixed width too narrow for it.
    int numbers = 0;
    if (options_.Settings.GutterShowLineNumbers) {
      const QFont font = options_.Settings.UseGutterFont ? options_.GutterFont : options_.Font;
      const int digits = options_.Settings.GutterShowLeadingZeros ? std::max(4, gutterDigits_) : gutterDigits_;
      numbers = QFontMetrics(font).horizontalAdvance(QString(digits, QLatin1Char('0')));
    }
    if (options_.Settings.GutterAutosize)
      width = kBookmarkArea + 4 + numbers;
    else
      width = std::max({0, options_.Settings.GutterWidth, numbers > 0 ? numbers + 5 : 0});
  }
  if (width != GutterWidth()) Sci(this, SCI_SETMARGINWIDTHN, 0, width);
  viewport()->update(QRect(0, 0, std::max(width, 1), viewport()->height()));
}

void TStreakSynEdit::PaintGutter(QPainter& p, const QRect& area) {
  const int width = GutterWidth();
  const QRect gutter = QRect(0, 0, width, viewport()->height()) & area;
  if (width <= 0 || gutter.isEmpty()) return;
  p.save();
  p.setClipRect(gutter, Qt::IntersectClip);
  const QFont font = options_.Settings.UseGutterFont ? options_.GutterFont : options_.Font;
  p.setFont(font);
  p.setPen(options_.Settings.UseGutterFont && options_.GutterFontColor.isValid() ? options_.GutterFontColor
                                                                          : palette().color(QPalette::Text));
  const long first = Sci(this, SCI_GETFIRSTVISIBLELINE);
  const long lines = Sci(this, SCI_GETLINECOUNT);
  const int height = LineHeight();
  static const QImage* images = [] {
    static QImage all[BookmarkCount];
    for (int n = 0; n < BookmarkCount; ++n) all[n] = BookmarkImage(n);
    return all;
  }();
  for (long line = first; line < lines; ++line) {
    const int y = static_cast<int>(Sci(this, SCI_POINTYFROMPOSITION, 0, Sci(this, SCI_POSITIONFROMLINE, line)));
    if (y > gutter.bottom()) break;
    if (y + height < gutter.top()) continue;
    if (options_.Settings.GutterShowLineNumbers)
      p.drawText(QRect(0, y, width - 3, height), Qt::AlignRight | Qt::AlignVCenter,
                 GutterText(static_cast<int>(line) + 1));
    const long marks = Sci(this, SCI_MARKERGET, line) & kBookmarkMask;
    if (marks) {
      int n = 0;
      while (!(marks & (1L << n))) ++n;
      const QImage& img = images[n];
      p.drawImage(QPoint(2, y + (height - img.height()) / 2), img);
    }
  }
  p.restore();
}

// ---- caret ----

void TStreakSynEdit::ApplyCaretStyle() {
  caretVisible_ = true;
  RepaintCaret();
}

QRect TStreakSynEdit::CaretRect() const {
  const long pos = Sci(this, SCI_GETCURRENTPOS);
  const long main = Sci(this, SCI_GETMAINSELECTION);
  const int vs = static_cast<int>(Sci(this, SCI_GETSELECTIONNCARETVIRTUALSPACE, main));
  const int cw = CharWidth();
  const int x = static_cast<int>(Sci(this, SCI_POINTXFROMPOSITION, 0, pos)) + vs * cw;
  const int y = static_cast<int>(Sci(this, SCI_POINTYFROMPOSITION, 0, pos));
  const int h = LineHeight();
  int w = cw;
  if (vs == 0 && pos < Sci(this, SCI_GETLINEENDPOSITION, Sci(this, SCI_LINEFROMPOSITION, pos))) {
    const long next = Sci(this, SCI_POSITIONAFTER, pos);
    w = std::max(1, static_cast<int>(Sci(this, SCI_POINTXFROMPOSITION, 0, next)) - x);
  }
  switch (InsertMode() ? options_.InsertCaret() : options_.OverwriteCaret()) {
    case TCaretShape::VerticalLine: return QRect(x - 1, y, 2, h);
    case TCaretShape::HorizontalLine: return QRect(x, y + h - 2, w, 2);
    case TCaretShape::HalfBlock: return QRect(x, y + h / 2, w, h - h / 2);
    case TCaretShape::Block: break;
  }
  return QRect(x, y, w, h);
}

void TStreakSynEdit::RepaintCaret() {
  if (!testAttribute(Qt::WA_WState_Created)) return;
  const QRect now = CaretRect();
  if (!caretRect_.isNull()) viewport()->update(caretRect_);
  viewport()->update(now);
  caretRect_ = now;
}

void TStreakSynEdit::PaintCaret(QPainter& p) {
  if (options_.Settings.NoCaret || !hasFocus() || !caretVisible_) return;
  QRect r = CaretRect();
  r.setLeft(std::max(r.left(), TextAreaLeft()));
  if (r.isEmpty()) return;
  p.setCompositionMode(QPainter::CompositionMode_Difference);
  p.fillRect(r, Qt::white);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- painting and events ----

void TStreakSynEdit::paintEvent(QPaintEvent* e) {
  QsciScintilla::paintEvent(e);
  QPainter p(viewport());
  p.setClipRegion(e->region());
  const QRect area = e->rect();
  PaintGutter(p, area);
  PaintStreaks(p, area);
  PaintCaret(p);
}

void TStreakSynEdit::Modified(int position, int type, int length, int linesAdded) {
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
    if (type & SC_STARTACTION) undoDepth_ = std::min(undoDepth_ + 1, std::max(options_.Settings.UndoLimit, 0));
  }
  if (user && !trimming_ && options_.Settings.TrimTrailingSpaces) {
    const long line = Sci(this, SCI_LINEFROMPOSITION, position);
    const long last = line + std::max(linesAdded, 0);
    for (long l = line; l <= last; ++l)
      if (!(Sci(this, SCI_MARKERGET, l) & (1 << kEditedMarker))) Sci(this, SCI_MARKERADD, l, kEditedMarker);
    editsPending_ = true;
  }
  if (linesAdded != 0) {
    const long lines = Sci(this, SCI_GETLINECOUNT);
    if (Digits(options_.Settings.GutterStartAtZero ? lines - 1 : lines) != gutterDigits_) ApplyGutter();
  }
  emit TextEdited();
}

void TStreakSynEdit::UpdateUi(int updated) {
  if (updated & SC_UPDATE_SELECTION) CaretMoved();
}

void TStreakSynEdit::CaretMoved() {
  // Scintilla reports caret moves only when it paints; every command of this control also
  // checks, so that hidden windows keep their status current.
  if (options_.Settings.NoSelection && HasSelection()) Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
  const int line = CaretLine(), column = CaretColumn();
  caretVisible_ = true;
  if (hasFocus() && caretTimer_.interval() > 0) caretTimer_.start();
  RepaintCaret();
  if (line != lastCaretLine_ || column != lastCaretColumn_) {
    const bool lineChanged = line != lastCaretLine_;
    lastCaretLine_ = line;
    lastCaretColumn_ = column;
    emit StatusChanged(scCaret);
    if (lineChanged && options_.Settings.TrimTrailingSpaces)
      // Not from inside Scintilla's notification: the trim changes the text.
      QMetaObject::invokeMethod(this, [this] { TrimEditedLines(false); }, Qt::QueuedConnection);
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

bool TStreakSynEdit::RunKey(int key, Qt::KeyboardModifiers modifiers) {
  modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  for (const TKeyBinding& b : KeyBindings()) {
    if (b.Key != key || b.Modifiers != modifiers) continue;
    if (!options_.Settings.GroupUndo) Sci(this, SCI_BEGINUNDOACTION);
    RunCommand(b.Cmd, b.Extend, b.Param);
    if (!options_.Settings.GroupUndo) Sci(this, SCI_ENDUNDOACTION);
    AfterNavigation();
    return true;
  }
  return false;
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
    if (!AcceptsText(text)) {
      // The page has no byte for this character: it cannot be typed.
      QApplication::beep();
      e->accept();
      return;
    }
    if (!options_.Settings.GroupUndo) Sci(this, SCI_BEGINUNDOACTION);
    QsciScintilla::keyPressEvent(e);
    if (!options_.Settings.GroupUndo) Sci(this, SCI_ENDUNDOACTION);
    AfterNavigation();
    return;
  }
  e->ignore();
}

void TStreakSynEdit::inputMethodEvent(QInputMethodEvent* e) {
  if (!e->commitString().isEmpty() && !AcceptsText(e->commitString())) {
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

void TStreakSynEdit::Move(int plain, int extend, int rectExtend, bool doExtend) {
  if (!doExtend || options_.Settings.NoSelection) {
    Sci(this, static_cast<unsigned>(plain));
    return;
  }
  if (selectionMode_ == TSelectionMode::Column && rectExtend) {
    Sci(this, static_cast<unsigned>(rectExtend));
    return;
  }
  if (selectionMode_ != TSelectionMode::Line) {
    Sci(this, static_cast<unsigned>(extend));
    return;
  }
  // Whole lines: a caret of its own moves with the plain command, and the selection covers
  // every line from the anchor's to that caret's, line breaks included.
  if (!(lineSelection_.Active && Sci(this, SCI_GETANCHOR) == lineSelection_.Anchor &&
        Sci(this, SCI_GETCURRENTPOS) == lineSelection_.Caret)) {
    lineSelection_.AnchorLine = Sci(this, SCI_LINEFROMPOSITION, Sci(this, SCI_GETANCHOR));
    lineSelection_.LogicalCaret = Sci(this, SCI_GETCURRENTPOS);
  }
  Sci(this, SCI_SETEMPTYSELECTION, lineSelection_.LogicalCaret);
  Sci(this, static_cast<unsigned>(plain));
  lineSelection_.LogicalCaret = Sci(this, SCI_GETCURRENTPOS);
  SelectLines(lineSelection_.AnchorLine, Sci(this, SCI_LINEFROMPOSITION, lineSelection_.LogicalCaret));
}

void TStreakSynEdit::SelectLines(long anchorLine, long caretLine) {
  const long lines = Sci(this, SCI_GETLINECOUNT);
  const long first = std::min(anchorLine, caretLine), last = std::max(anchorLine, caretLine);
  const long start = Sci(this, SCI_POSITIONFROMLINE, first);
  const long end = last + 1 < lines ? Sci(this, SCI_POSITIONFROMLINE, last + 1) : Sci(this, SCI_GETLENGTH);
  if (caretLine >= anchorLine)
    Sci(this, SCI_SETSEL, start, end);
  else
    Sci(this, SCI_SETSEL, end, start);
  lineSelection_.Active = true;
  lineSelection_.Anchor = Sci(this, SCI_GETANCHOR);
  lineSelection_.Caret = Sci(this, SCI_GETCURRENTPOS);
}

void TStreakSynEdit::PageMove(int direction, bool extend) {
  int page = static_cast<int>(Sci(this, SCI_LINESONSCREEN));
  if (options_.Settings.HalfPageScroll)
    page /= 2;
  else if (options_.Settings.ScrollByOneLess)
    page -= 1;
  page = std::max(page, 1);
  Sci(this, SCI_LINESCROLL, 0, direction * page);
  for (int i = 0; i < page; ++i) {
    if (direction < 0)
      Move(SCI_LINEUP, SCI_LINEUPEXTEND, SCI_LINEUPRECTEXTEND, extend);
    else
      Move(SCI_LINEDOWN, SCI_LINEDOWNEXTEND, SCI_LINEDOWNRECTEXTEND, extend);
  }
}

void TStreakSynEdit::PageEdge(bool bottom, bool extend) {
  const long first = Sci(this, SCI_GETFIRSTVISIBLELINE);
  const long lastLine = Sci(this, SCI_GETLINECOUNT) - 1;
  const long target = bottom ? std::min(first + Sci(this, SCI_LINESONSCREEN) - 1, lastLine) : first;
  long steps = target - (CaretLine() - 1);
  for (; steps > 0; --steps) Move(SCI_LINEDOWN, SCI_LINEDOWNEXTEND, SCI_LINEDOWNRECTEXTEND, extend);
  for (; steps < 0; ++steps) Move(SCI_LINEUP, SCI_LINEUPEXTEND, SCI_LINEUPRECTEXTEND, extend);
}

void TStreakSynEdit::SmartTab() {
  const long line = CaretLine() - 1;
  if (HasSelection() &&
      Sci(this, SCI_LINEFROMPOSITION, Sci(this, SCI_GETSELECTIONSTART)) !=
          Sci(this, SCI_LINEFROMPOSITION, Sci(this, SCI_GETSELECTIONEND))) {
    Sci(this, SCI_TAB);
    return;
  }
  const int column = CaretColumn() - 1;
  const int tab = std::max(1, options_.Settings.TabStops);
  for (long above = line - 1; above >= 0; --above) {
    const std::string text = LineBytes(static_cast<int>(above) + 1);
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    // Columns of the line above with tabs expanded; the next word starts after the rest of
    // the word at the caret's column and the blanks behind it.
    int col = 0;
    std::size_t i = 0;
    auto advance = [&] { col = text[i] == '\t' ? (col / tab + 1) * tab : col + 1; ++i; };
    while (i < text.size() && col < column) advance();
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') advance();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) advance();
    if (i < text.size() && col > column) {
      const long lineEnd = Sci(this, SCI_GETLINEENDPOSITION, line);
      if (Sci(this, SCI_GETCURRENTPOS) >= lineEnd && !HasSelection()) {
        SetCaret(static_cast<int>(line) + 1, col + 1);  // beyond the text: move only
      } else {
        const std::string blanks(static_cast<std::size_t>(col - column), ' ');
        SciPtr(this, SCI_REPLACESEL, 0, blanks.c_str());
      }
      return;
    }
    break;
  }
  Sci(this, SCI_TAB);
}

bool TStreakSynEdit::SmartBackspace() {
  if (HasSelection()) return false;
  const int column = CaretColumn() - 1;
  if (column == 0) return false;
  const long line = CaretLine() - 1;
  const long pos = Sci(this, SCI_GETCURRENTPOS);
  const long start = Sci(this, SCI_POSITIONFROMLINE, line);
  for (long p = start; p < pos; ++p) {
    const int ch = static_cast<int>(Sci(this, SCI_GETCHARAT, p));
    if (ch != ' ' && ch != '\t') return false;
  }
  int target = 0;
  for (long above = line - 1; above >= 0; --above) {
    const long s = Sci(this, SCI_POSITIONFROMLINE, above);
    const long e = Sci(this, SCI_GETLINEENDPOSITION, above);
    const long indentPos = Sci(this, SCI_GETLINEINDENTPOSITION, above);
    if (indentPos >= e || e == s) continue;  // blank line
    const int indent = static_cast<int>(Sci(this, SCI_GETCOLUMN, indentPos));
    if (indent < column) {
      target = indent;
      break;
    }
  }
  const int real = static_cast<int>(Sci(this, SCI_GETCOLUMN, pos));
  if (target >= real) {
    SetCaret(static_cast<int>(line) + 1, target + 1);  // still beyond the text
    return true;
  }
  const long from = Sci(this, SCI_FINDCOLUMN, line, target);
  Sci(this, SCI_SETEMPTYSELECTION, pos);
  Sci(this, SCI_DELETERANGE, from, pos - from);
  Sci(this, SCI_SETEMPTYSELECTION, from);
  return true;
}

void TStreakSynEdit::BlockIndent(bool indent) {
  long first = Sci(this, SCI_LINEFROMPOSITION, Sci(this, SCI_GETSELECTIONSTART));
  const long selEnd = Sci(this, SCI_GETSELECTIONEND);
  long last = Sci(this, SCI_LINEFROMPOSITION, selEnd);
  if (last > first && Sci(this, SCI_POSITIONFROMLINE, last) == selEnd) --last;
  Sci(this, SCI_BEGINUNDOACTION);
  for (long line = first; line <= last; ++line) {
    const long start = Sci(this, SCI_POSITIONFROMLINE, line);
    const long end = Sci(this, SCI_GETLINEENDPOSITION, line);
    if (indent) {
      if (end > start) SciPtr(this, SCI_INSERTTEXT, start, std::string(kBlockIndent, ' ').c_str());
      continue;
    }
    long cut = start;
    while (cut < end && cut - start < kBlockIndent && Sci(this, SCI_GETCHARAT, cut) == ' ') ++cut;
    if (cut == start && cut < end && Sci(this, SCI_GETCHARAT, cut) == '\t') ++cut;
    if (cut > start) Sci(this, SCI_DELETERANGE, start, cut - start);
  }
  Sci(this, SCI_ENDUNDOACTION);
}

void TStreakSynEdit::MatchBracket() {
  const long pos = Sci(this, SCI_GETCURRENTPOS);
  long match = Sci(this, SCI_BRACEMATCH, pos, 0);
  if (match < 0 && pos > 0) match = Sci(this, SCI_BRACEMATCH, pos - 1, 0);
  if (match >= 0) Sci(this, SCI_GOTOPOS, match);
}

void TStreakSynEdit::RunCommand(TCmd cmd, bool extend, int param) {
  const bool home = options_.Settings.EnhanceHomeKey;
  auto vertical = [this] {
    // Without both options Scintilla's remembered column would still carry the caret back
    // out to a long line; forget it after each vertical move.
    if (!options_.Settings.MaintainCaretColumn && !options_.Settings.ScrollPastEndOfLine) Sci(this, SCI_CHOOSECARETX);
  };
  switch (cmd) {
    case TCmd::Left: Move(SCI_CHARLEFT, SCI_CHARLEFTEXTEND, SCI_CHARLEFTRECTEXTEND, extend); break;
    case TCmd::Right: Move(SCI_CHARRIGHT, SCI_CHARRIGHTEXTEND, SCI_CHARRIGHTRECTEXTEND, extend); break;
    case TCmd::Up:
      Move(SCI_LINEUP, SCI_LINEUPEXTEND, SCI_LINEUPRECTEXTEND, extend);
      vertical();
      break;
    case TCmd::Down:
      Move(SCI_LINEDOWN, SCI_LINEDOWNEXTEND, SCI_LINEDOWNRECTEXTEND, extend);
      vertical();
      break;
    case TCmd::WordLeft: Move(SCI_WORDLEFT, SCI_WORDLEFTEXTEND, 0, extend); break;
    case TCmd::WordRight: Move(SCI_WORDRIGHT, SCI_WORDRIGHTEXTEND, 0, extend); break;
    case TCmd::PageUp: PageMove(-1, extend); vertical(); break;
    case TCmd::PageDown: PageMove(1, extend); vertical(); break;
    case TCmd::PageTop: PageEdge(false, extend); break;
    case TCmd::PageBottom: PageEdge(true, extend); break;
    case TCmd::Home:
      if (home)
        Move(SCI_VCHOME, SCI_VCHOMEEXTEND, SCI_VCHOMERECTEXTEND, extend);
      else
        Move(SCI_HOME, SCI_HOMEEXTEND, SCI_HOMERECTEXTEND, extend);
      break;
    case TCmd::End: Move(SCI_LINEEND, SCI_LINEENDEXTEND, SCI_LINEENDRECTEXTEND, extend); break;
    case TCmd::DocStart: Move(SCI_DOCUMENTSTART, SCI_DOCUMENTSTARTEXTEND, 0, extend); break;
    case TCmd::DocEnd: Move(SCI_DOCUMENTEND, SCI_DOCUMENTENDEXTEND, 0, extend); break;
    case TCmd::ScrollUp: Sci(this, SCI_LINESCROLL, 0, -1); break;
    case TCmd::ScrollDown: Sci(this, SCI_LINESCROLL, 0, 1); break;
    case TCmd::ToggleMode: SetInsertMode(!InsertMode()); break;
    case TCmd::Copy: copy(); break;
    case TCmd::Paste: paste(); break;
    case TCmd::Cut: cut(); break;
    case TCmd::DeleteChar: DeleteForward(); break;
    case TCmd::DeleteLastChar:
      if (!options_.Settings.SmartTabDelete || !SmartBackspace()) Sci(this, SCI_DELETEBACK);
      break;
    case TCmd::DeleteLastWord: Sci(this, SCI_DELWORDLEFT); break;
    case TCmd::Undo: undo(); break;
    case TCmd::Redo: redo(); break;
    case TCmd::LineBreak: Sci(this, SCI_NEWLINE); break;
    case TCmd::SelectAll: selectAll(); break;
    case TCmd::BlockIndent: BlockIndent(true); break;
    case TCmd::BlockUnindent: BlockIndent(false); break;
    case TCmd::DeleteWord: Sci(this, SCI_DELWORDRIGHTEND); break;
    case TCmd::DeleteLine: Sci(this, SCI_LINEDELETE); break;
    case TCmd::DeleteEol: Sci(this, SCI_DELLINERIGHT); break;
    case TCmd::GotoBookmark: GotoBookmark(param); break;
    case TCmd::NormalSelect: SetSelectionMode(TSelectionMode::Normal); break;
    case TCmd::ColumnSelect: SetSelectionMode(TSelectionMode::Column); break;
    case TCmd::LineSelect: SetSelectionMode(TSelectionMode::Line); break;
    case TCmd::Tab:
      if (options_.Settings.SmartTabs)
        SmartTab();
      else
        Sci(this, SCI_TAB);
      break;
    case TCmd::ShiftTab: Sci(this, SCI_BACKTAB); break;
    case TCmd::MatchBracket: MatchBracket(); break;
  }
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
  if (e->button() == Qt::LeftButton && !(e->modifiers() & Qt::ShiftModifier)) {
    const QPoint pt = e->position().toPoint();
    if (!options_.Settings.DragAndDropEditing && HasSelection() && pt.x() >= TextAreaLeft()) {
      // Without drag and drop a click in the selection places the caret like anywhere else.
      const long pos = Sci(this, SCI_POSITIONFROMPOINT, pt.x(), pt.y());
      Sci(this, SCI_SETEMPTYSELECTION, pos);
    }
    if (selectionMode_ == TSelectionMode::Column && pt.x() >= TextAreaLeft()) {
      Sci(this, SCI_SETRECTANGULARSELECTIONMODIFIER, SCMOD_ALT);
      QMouseEvent rect(e->type(), e->position(), e->scenePosition(), e->globalPosition(), e->button(),
                       e->buttons(), e->modifiers() | Qt::AltModifier);
      QsciScintilla::mousePressEvent(&rect);
      Sci(this, SCI_SETRECTANGULARSELECTIONMODIFIER, options_.Settings.AltSetsColumnMode ? SCMOD_ALT : SCMOD_SUPER);
      return;
    }
  }
  QsciScintilla::mousePressEvent(e);
}

void TStreakSynEdit::mouseMoveEvent(QMouseEvent* e) {
  QsciScintilla::mouseMoveEvent(e);
  if (options_.Settings.NoSelection && HasSelection()) Sci(this, SCI_SETEMPTYSELECTION, Sci(this, SCI_GETCURRENTPOS));
}

void TStreakSynEdit::mouseReleaseEvent(QMouseEvent* e) {
  QsciScintilla::mouseReleaseEvent(e);
  if (selectionMode_ == TSelectionMode::Line && HasSelection()) {
    lineSelection_.AnchorLine = Sci(this, SCI_LINEFROMPOSITION, Sci(this, SCI_GETANCHOR));
    lineSelection_.LogicalCaret = Sci(this, SCI_GETCURRENTPOS);
    SelectLines(lineSelection_.AnchorLine, Sci(this, SCI_LINEFROMPOSITION, lineSelection_.LogicalCaret));
  }
  AfterNavigation();
}

void TStreakSynEdit::contextMenuEvent(QContextMenuEvent* e) {
  if (contextMenu_) contextMenu_->exec(e->globalPos());
  e->accept();
}

void TStreakSynEdit::focusInEvent(QFocusEvent* e) {
  QsciScintilla::focusInEvent(e);
  if (options_.Settings.HideSelection) Sci(this, SCI_HIDESELECTION, 0);
  caretVisible_ = true;
  if (caretTimer_.interval() > 0) caretTimer_.start();
  RepaintCaret();
}

void TStreakSynEdit::focusOutEvent(QFocusEvent* e) {
  QsciScintilla::focusOutEvent(e);
  if (options_.Settings.HideSelection) Sci(this, SCI_HIDESELECTION, 1);
  caretTimer_.stop();
  RepaintCaret();
}

void TStreakSynEdit::resizeEvent(QResizeEvent* e) {
  QsciScintilla::resizeEvent(e);
  caretRect_ = QRect();
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
