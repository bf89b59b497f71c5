#include "editor/ui/streaksynedit.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QPaintEvent>
#include <QScrollBar>

#include "editor/ui/editormarks.h"
#include "editor/ui/fortranlexer.h"
#include "editorfixture.h"

namespace vortan::test {
namespace {

using B = QsciScintillaBase;

long Sci(TStreakSynEdit* s, unsigned msg, long w = 0, long l = 0) {
  return s->SendScintilla(msg, static_cast<unsigned long>(w), l);
}

class TTextControl : public EditorFixture {
 protected:
  QImage Grab(TStreakSynEdit* s) {
    QApplication::processEvents();
    return s->viewport()->grab().toImage();
  }
  // A row below the last line of text, where only the background and the guides are.
  int EmptyRow(TStreakSynEdit* s) { return s->viewport()->height() - 5; }
};

// ---- guide lines ----

TEST_F(TTextControl, GuidesAfterColumns6And72FromTheDefaults) {
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  e->SetText(std::string(80, 'X') + "\r\n");
  ASSERT_EQ(s->Streaks().Columns(), (std::vector<int>{6, 72}));
  // Each line lies where the next column starts: the 72nd character sits left of the second.
  EXPECT_EQ(s->StreakX(6), Sci(s, B::SCI_POINTXFROMPOSITION, 0, 6));
  EXPECT_EQ(s->StreakX(72), Sci(s, B::SCI_POINTXFROMPOSITION, 0, 72));
  // The fold margin lies between the gutter and the text.
  EXPECT_EQ(s->TextAreaLeft(), s->GutterWidth() + Sci(s, B::SCI_GETMARGINWIDTHN, 1) + 2);
  const QImage img = Grab(s);
  const QColor silver(192, 192, 192);
  for (int column : {6, 72}) {
    EXPECT_EQ(QColor(img.pixel(s->StreakX(column), EmptyRow(s))), silver) << column;
    EXPECT_EQ(QColor(img.pixel(s->StreakX(column), 3)), silver) << "drawn over the text too";
    EXPECT_NE(QColor(img.pixel(s->StreakX(column) + 1, EmptyRow(s))), silver);
  }
}

TEST_F(TTextControl, GuidesFollowTheSettings) {
  struct TCase {
    bool show;
    const char* columns;
    std::vector<int> expected;
  };
  const std::vector<TCase> cases = {
      {true, "6,72,80", {6, 72, 80}},
      {true, "6,,x,72", {6, 72}},
      {true, "0,-3,10", {0, -3, 10}},
      {false, "6,72", {}},
  };
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.columns);
    WriteBool(sidShowVerticalLine, c.show);
    WriteString(sidVerticalLineColumn, c.columns);
    e->ApplyEditorSettings();
    EXPECT_EQ(s->Streaks().Columns(), c.expected);
    const QImage img = Grab(s);
    int drawn = 0;
    for (int x = s->TextAreaLeft(); x < img.width(); ++x)
      drawn += QColor(img.pixel(x, EmptyRow(s))) == QColor(192, 192, 192);
    int visible = 0;
    for (int col : c.expected) visible += col > 0 && s->StreakX(col) < s->viewport()->width();
    EXPECT_EQ(drawn, visible);
  }
}

TEST_F(TTextControl, GuidesMoveWithHorizontalScrollingAndStayOutOfTheGutter) {
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  e->SetText(std::string(300, 'X') + "\r\n");
  const int cw = s->CharWidth();
  const int before = s->StreakX(72);
  Sci(s, B::SCI_SETXOFFSET, 10 * cw);
  EXPECT_EQ(s->StreakX(72), before - 10 * cw);
  EXPECT_LT(s->StreakX(6), s->TextAreaLeft());
  const QImage img = Grab(s);
  const QColor silver(192, 192, 192);
  EXPECT_EQ(QColor(img.pixel(s->StreakX(72), EmptyRow(s))), silver);
  for (int x = 0; x < s->TextAreaLeft(); ++x)
    EXPECT_NE(QColor(img.pixel(x, EmptyRow(s))), silver) << x;
}

class TPaintSpy : public QObject {
 public:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::Paint) return false;
    const QRegion region = static_cast<QPaintEvent*>(e)->region();
    painted += region;
    if (auto* w = qobject_cast<QWidget*>(o); w && region.contains(w->rect())) ++full;
    return false;
  }
  QRegion painted;
  int full = 0;  // paints of the whole widget
};

TEST_F(TTextControl, ChangingTheColourRepaintsOnlyTheStrips) {
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  Grab(s);
  TPaintSpy spy;
  s->viewport()->installEventFilter(&spy);
  s->SetStreaksColor(QColor(255, 0, 0));
  QApplication::processEvents();
  const int h = s->viewport()->height();
  const QRegion strips = QRegion(s->StreakX(6) - 1, 0, 2, h) + QRegion(s->StreakX(72) - 1, 0, 2, h);
  EXPECT_FALSE(spy.painted.isEmpty());
  EXPECT_EQ(spy.painted - strips, QRegion());
  s->viewport()->removeEventFilter(&spy);
  EXPECT_EQ(QColor(Grab(s).pixel(s->StreakX(72), EmptyRow(s))), QColor(255, 0, 0));
}

TEST_F(TTextControl, StreakCollectionReportsOldAndNewPlaces) {
  std::vector<int> repainted;
  TStreaks streaks([&](int c) { repainted.push_back(c); });
  TStreak* a = streaks.Add();
  EXPECT_EQ(a->Column(), 0);
  a->SetColumn(6);
  a->SetColumn(10);
  EXPECT_EQ(a->PreviousColumn(), 6);
  EXPECT_EQ(a->DisplayName(), "Column = 10");
  EXPECT_EQ(repainted, (std::vector<int>{6, 10, 6}));
  repainted.clear();
  streaks.SetColumns({72, 72});
  EXPECT_EQ(streaks.Columns(), (std::vector<int>{72, 72}));
  EXPECT_EQ(repainted, (std::vector<int>{10, 72}))
      << "the removed guide at once, the new ones once";
}

// ---- gutter and bookmarks ----

TEST_F(TTextControl, GutterNumbersFollowTheSettings) {
  TfrmEditor* e = NewEditor();
  TStreakSynEdit* s = e->SynEdit();
  e->SetText("A\r\nB\r\n");
  EXPECT_EQ(s->GutterWidth(), 30);
  EXPECT_EQ(s->GutterText(1), "1");
  WriteBool(sidGutterStartAtZero, true);
  WriteBool(sidGutterShowLeadingZeros, true);
  e->ApplyEditorSettings();
  EXPECT_EQ(s->GutterText(1), "0000");
  EXPECT_EQ(s->GutterText(2), "0001");
  WriteBool(sidGutterVisible, false);
  e->ApplyEditorSettings();
  EXPECT_EQ(s->GutterWidth(), 0);
  EXPECT_EQ(s->TextAreaLeft(), Sci(s, B::SCI_GETMARGINWIDTHN, 1) + 2);
  WriteBool(sidGutterVisible, true);
  WriteBool(sidGutterAutosize, true);
  e->ApplyEditorSettings();
  const int small = s->GutterWidth();
  e->SetText(std::string(100000, '\n'));
  EXPECT_GT(s->GutterWidth(), small);
}

// ---- scroll bars ----

TEST_F(TTextControl, WithDisableScrollArrowsTheArrowTowardAnEndReachedIsDrawnDisabled) {
  TfrmEditor* e = ShownEditor();
  std::string text;
  for (int i = 0; i < 300; ++i) text += "      X = 1\r\n";
  e->SetText(text);
  QScrollBar* bar = e->SynEdit()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), bar->minimum());
  // The arrows sit in the squares at the two ends of the bar.
  const int side = bar->width();
  struct TEnds {
    QImage Up, Down;
  };
  auto ends = [&](bool disable, bool atTop) {
    WriteBool(sidDisableScrollArrows, disable);
    e->ApplyEditorSettings();
    bar->setValue(atTop ? bar->minimum() : bar->maximum());
    const QImage img = bar->grab().toImage();
    return TEnds{img.copy(0, 0, side, side), img.copy(0, img.height() - side, side, side)};
  };
  for (bool atTop : {true, false}) {
    SCOPED_TRACE(atTop ? "at the top" : "at the bottom");
    const TEnds plain = ends(false, atTop), disabled = ends(true, atTop),
                again = ends(false, atTop);
    EXPECT_NE(atTop ? disabled.Up : disabled.Down, atTop ? plain.Up : plain.Down);
    EXPECT_EQ(atTop ? disabled.Down : disabled.Up, atTop ? plain.Down : plain.Up)
        << "the arrow that can still scroll stays enabled";
    EXPECT_EQ(again.Up, plain.Up);
    EXPECT_EQ(again.Down, plain.Down);
  }
  // Halfway both arrows can scroll.
  WriteBool(sidDisableScrollArrows, false);
  e->ApplyEditorSettings();
  bar->setValue(bar->maximum() / 2);
  const QImage plain = bar->grab().toImage();
  WriteBool(sidDisableScrollArrows, true);
  e->ApplyEditorSettings();
  EXPECT_EQ(bar->grab().toImage(), plain);
}

TEST_F(TTextControl, BookmarksMoveWithTheirLineAndShowTheirDigit) {
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  e->SetText("      A = 1\r\n      B = 2\r\n");
  e->SetBookmark(3, 2, 5);
  e->SetCaret(1, 1);
  Key(e, Qt::Key_Return);
  int line = 0, column = 0;
  ASSERT_TRUE(e->IsBookmarkSet(3, &line, &column));
  EXPECT_EQ(line, 3);
  EXPECT_EQ(column, 5);
  EXPECT_FALSE(e->IsBookmarkSet(4));
  e->SetCaret(1, 1);
  Key(e, Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(e->CaretLine(), 3);
  EXPECT_EQ(e->CaretColumn(), 5);
  // The digit's mark sits at the left of the gutter beside line 3.
  const int y =
      static_cast<int>(Sci(s, B::SCI_POINTYFROMPOSITION, 0, Sci(s, B::SCI_POSITIONFROMLINE, 2)));
  const QImage img = Grab(s);
  const int top = y + (static_cast<int>(s->SendScintilla(B::SCI_TEXTHEIGHT, 0ul)) - 14) / 2;
  EXPECT_EQ(QColor(img.pixel(3, top + 1)), QColor(255, 220, 96));
  e->ClearBookmark(3);
  EXPECT_FALSE(e->IsBookmarkSet(3));
}

// A line with a bookmark, a breakpoint, the debugger's current line and a finding shows each
// of them, side by side left of its line number (the arrow over the breakpoint's dot), in a
// gutter that widens for them when its width leaves no room (a bookmark alone, drawn at the
// gutter's left as it always was, does not widen it).
TEST_F(TTextControl, EveryMarkOfALineShowsBesideItsNumber) {
  struct Mark {
    const char* name;
    QColor fill;
  };
  const Mark kBookmark{"bookmark", QColor(255, 220, 96)}, kBreakpoint{"breakpoint", {220, 30, 30}},
      kArrow{"current line", {255, 210, 0}}, kFinding{"finding", {0xD0, 0x00, 0x00}};
  struct Case {
    const char* name;
    bool autosize;
    bool joined;  ///< the marks come together when two lines are joined
  };
  for (const Case c : {Case{"fixed width", false, false}, Case{"autosize", true, false},
                       Case{"two lines joined", false, true}}) {
    SCOPED_TRACE(c.name);
    WriteBool(sidGutterAutosize, c.autosize);
    TfrmEditor* e = ShownEditor();
    TStreakSynEdit* s = e->SynEdit();
    e->SetText(std::string(149, '\n') + "      END");
    constexpr int kLine = 100;
    e->SetCaret(kLine, 1);
    e->EnsureCaretVisible();
    const int plain = s->GutterWidth();
    e->SetBookmark(3, kLine, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(s->GutterWidth(), plain) << "a bookmark alone keeps the width set for the gutter";
    for (int marker : {marks::kBreakpointMarker, marks::kDebugLineMarker, marks::kLiveErrorMarker})
      Sci(s, B::SCI_MARKERADD, c.joined ? kLine : kLine - 1, marker);
    ASSERT_TRUE(QTest::qWaitFor([&] { return s->GutterWidth() > plain; }));
    if (c.joined) {
      const int apart = s->GutterWidth();
      Sci(s, B::SCI_DELETERANGE, Sci(s, B::SCI_GETLINEENDPOSITION, kLine - 1), 1);
      ASSERT_TRUE(QTest::qWaitFor([&] { return s->GutterWidth() > apart; }));
    }

    const QImage img = Grab(s);
    const int y = static_cast<int>(
        Sci(s, B::SCI_POINTYFROMPOSITION, 0, Sci(s, B::SCI_POSITIONFROMLINE, kLine - 1)));
    const int h = static_cast<int>(Sci(s, B::SCI_TEXTHEIGHT, 0));
    const int width = s->GutterWidth();
    const int numberLeft =
        width - 3 - QFontMetrics(s->Options().GutterFont).horizontalAdvance(s->GutterText(kLine));
    // The columns each mark's own colour covers in the line's row.
    auto columns = [&](const Mark& m) {
      std::pair<int, int> span{width, -1};
      for (int py = std::max(y, 0); py < y + h && py < img.height(); ++py)
        for (int px = 0; px < width; ++px)
          if (QColor(img.pixel(px, py)) == m.fill)
            span = {std::min(span.first, px), std::max(span.second, px)};
      return span;
    };
    const auto bookmark = columns(kBookmark), breakpoint = columns(kBreakpoint),
               arrow = columns(kArrow), finding = columns(kFinding);
    using TSeen = std::pair<Mark, std::pair<int, int>>;
    for (const auto& [mark, span] : {TSeen{kBookmark, bookmark}, TSeen{kBreakpoint, breakpoint},
                                     TSeen{kArrow, arrow}, TSeen{kFinding, finding}}) {
      SCOPED_TRACE(mark.name);
      ASSERT_LE(span.first, span.second) << "not seen";
      EXPECT_LT(span.second, numberLeft) << "over the line number";
    }
    EXPECT_LT(bookmark.second, breakpoint.first);
    EXPECT_LT(breakpoint.second, finding.first);
    EXPECT_GE(arrow.first, breakpoint.first);
    EXPECT_LE(arrow.second, breakpoint.second);

    // The marks going leave the room kept: the text does not jump while findings come and go.
    Sci(s, B::SCI_MARKERDELETEALL, marks::kLiveErrorMarker);
    QCoreApplication::processEvents();
    EXPECT_EQ(s->GutterWidth(), width);
  }
}

// ---- keys ----

struct TKeyCase {
  const char* name;
  std::string text;
  int line, column;
  std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
  std::string expected;
  int caretLine, caretColumn;
};

TEST_F(TTextControl, KeyBindings) {
  const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                              ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
  const std::vector<TKeyCase> cases = {
      {"delete line", "A\nB\nC\n", 2, 1, {{Qt::Key_Y, ctrl}}, "A\nC\n", 2, 1},
      {"delete to end of line", "ABCD\n", 1, 3, {{Qt::Key_Y, shift | ctrl}}, "AB\n", 1, 3},
      {"delete to end of word", "ABC DEF\n", 1, 2, {{Qt::Key_T, ctrl}}, "A DEF\n", 1, 2},
      {"delete word before", "ABC DEF\n", 1, 8, {{Qt::Key_Backspace, ctrl}}, "ABC \n", 1, 5},
      {"undo by alt backspace",
       "AB\n",
       1,
       3,
       {{Qt::Key_Backspace, none}, {Qt::Key_Backspace, alt}},
       "AB\n",
       1,
       3},
      {"redo",
       "AB\n",
       1,
       3,
       {{Qt::Key_Backspace, none}, {Qt::Key_Z, ctrl}, {Qt::Key_Z, shift | ctrl}},
       "A\n",
       1,
       2},
      {"block indent",
       "A\nB\n",
       1,
       1,
       {{Qt::Key_Down, shift}, {Qt::Key_I, shift | ctrl}},
       "  A\nB\n",
       2,
       1},
      {"block unindent", "   A\n", 1, 1, {{Qt::Key_U, shift | ctrl}}, " A\n", 1, 1},
      {"scroll past end of line",
       "AB\n",
       1,
       1,
       {{Qt::Key_End, none}, {Qt::Key_Right, none}},
       "AB\n",
       1,
       4},
      {"ctrl end", "A\nBC\n", 1, 1, {{Qt::Key_End, ctrl}}, "A\nBC\n", 2, 3},
      {"smart tab under the next word",
       "      IF (X) THEN\n\n",
       2,
       1,
       {{Qt::Key_Tab, none}},
       "      IF (X) THEN\n\n",
       2,
       7},
      {"matching bracket", "(A(B)C)\n", 1, 1, {{Qt::Key_B, shift | ctrl}}, "(A(B)C)\n", 1, 7},
      {"enhanced home off", "   X\n", 1, 5, {{Qt::Key_Home, none}}, "   X\n", 1, 1},
      {"ctrl n is left to the window",
       "A\n",
       1,
       1,
       {{Qt::Key_N, ctrl}, {Qt::Key_M, ctrl}},
       "A\n",
       1,
       1},
  };
  for (const TKeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    TfrmEditor* e = NewEditor();
    e->SetText(c.text);
    e->SetCaret(c.line, c.column);
    for (const auto& [key, mods] : c.keys) Key(e, static_cast<Qt::Key>(key), mods);
    std::string text = e->Text();
    // The cases are written with LF; the editor keeps CR LF for text it was given.
    for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, "\n");
    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(e->CaretLine(), c.caretLine);
    EXPECT_EQ(e->CaretColumn(), c.caretColumn);
  }
}

TEST_F(TTextControl, AWindowActionWinsOverTheSameKey) {
  QWidget window;
  auto* e = new TfrmEditor(&host, false, &window);
  e->setAttribute(Qt::WA_DeleteOnClose, false);
  e->SetText("A\r\nB\r\n");
  QAction action(&window);
  action.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  window.addAction(&action);
  int triggered = 0;
  QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  e->SynEdit()->setFocus();
  Key(e, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(triggered, 1);
  EXPECT_EQ(e->LineCount(), 2);
}

TEST_F(TTextControl, SelectionModes) {
  TfrmEditor* e = NewEditor();
  TStreakSynEdit* s = e->SynEdit();
  e->SetText("ABCDEF\r\nABCDEF\r\nABCDEF\r\n");
  e->SetCaret(1, 2);
  Key(e, Qt::Key_C, Qt::ShiftModifier | Qt::ControlModifier);
  Key(e, Qt::Key_Down, Qt::ShiftModifier);
  Key(e, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_TRUE(Sci(s, B::SCI_SELECTIONISRECTANGLE));
  EXPECT_EQ(s->SelectedBytes(), "B\nB\n");
  e->Copy();
  EXPECT_EQ(QApplication::clipboard()->text(), "B\nB\n");

  Key(e, Qt::Key_L, Qt::ShiftModifier | Qt::ControlModifier);
  e->SetCaret(1, 3);
  Key(e, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(Sci(s, B::SCI_GETSELECTIONSTART), 0);
  EXPECT_GE(Sci(s, B::SCI_GETSELECTIONEND), 13);
  e->Copy();
  EXPECT_EQ(QApplication::clipboard()->text(), "ABCDEF\nABCDEF\n");
  Key(e, Qt::Key_Down);
  EXPECT_FALSE(e->HasSelection()) << "a plain caret key does not extend";

  Key(e, Qt::Key_N, Qt::ShiftModifier | Qt::ControlModifier);
  e->SetCaret(1, 2);
  Key(e, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_FALSE(Sci(s, B::SCI_SELECTIONISRECTANGLE));
  EXPECT_EQ(Sci(s, B::SCI_GETSELECTIONEND) - Sci(s, B::SCI_GETSELECTIONSTART), 7);
}

// ---- undo ----

TEST_F(TTextControl, UndoKeepsAtMostTheLimitAndGroupsRuns) {
  WriteInteger(sidUndoLimit, 2);
  TfrmEditor* e = NewEditor();
  for (const char* step : {"A", "B", "C"}) {
    Type(e, step);
    Key(e, Qt::Key_Home);
  }
  EXPECT_EQ(e->Line(1), "CBA");
  e->Undo();
  e->Undo();
  EXPECT_FALSE(e->CanUndo());
  e->Undo();
  EXPECT_EQ(e->Line(1), "A");

  WriteInteger(sidUndoLimit, 1024);
  for (bool group : {true, false}) {
    SCOPED_TRACE(group);
    WriteBool(sidGroupUndo, group);
    TfrmEditor* f = NewEditor();
    Type(f, "ABC");
    f->Undo();
    EXPECT_EQ(f->Line(1), group ? "" : "AB");
  }
}

// ---- trailing blanks ----

TEST_F(TTextControl, TrailingBlanksOfEditedLinesGoWhenTheCaretLeaves) {
  for (bool trim : {true, false}) {
    SCOPED_TRACE(trim);
    WriteBool(sidTrimTrailingSpaces, trim);
    TfrmEditor* e = NewEditor();
    ASSERT_TRUE(e->LoadFromFile(dir.Write("t.f", "      X = 1   \r\n      Y = 2  \r\n")));
    e->SetCaret(2, 8);
    Type(e, "Z");
    EXPECT_EQ(e->Line(2), "      YZ = 2  ") << "not while the caret is on the line";
    Key(e, Qt::Key_Up);
    EXPECT_EQ(e->Line(2), trim ? "      YZ = 2" : "      YZ = 2  ");
    EXPECT_EQ(e->Line(1), "      X = 1   ") << "lines not edited keep their blanks";
  }
}

// ---- colouring ----

TEST_F(TTextControl, GutterWidensToTheNumberOfTheLastLine) {
  struct Case {
    int lines;
    bool autosize, leadingZeros;
  };
  for (const Case c : {Case{9, false, false}, Case{99999, false, false}, Case{136093, false, false},
                       Case{136093, true, false}, Case{100000, false, true}}) {
    SCOPED_TRACE(::testing::Message()
                 << c.lines << " lines, autosize " << c.autosize << ", zeros " << c.leadingZeros);
    WriteBool(sidGutterAutosize, c.autosize);
    WriteBool(sidGutterShowLeadingZeros, c.leadingZeros);
    TfrmEditor* e = NewEditor();
    TStreakSynEdit* s = e->SynEdit();
    e->SetText(std::string(static_cast<std::size_t>(c.lines - 1), '\n') + "      END");
    ASSERT_EQ(e->LineCount(), c.lines);
    // Drawn right-aligned 3 pixels from the edge: the whole number of the last line shows.
    const QString last = s->GutterText(c.lines);
    const int needed = QFontMetrics(s->Options().GutterFont).horizontalAdvance(last) + 3;
    EXPECT_GE(s->GutterWidth(), needed) << last.toStdString();
    if (!c.autosize) {
      EXPECT_GE(s->GutterWidth(), 30);
      e->SetText("      END");  // a short text again: back to the width of the settings
      if (!c.leadingZeros) {
        EXPECT_EQ(s->GutterWidth(), 30);
      }
    }
  }
}

TEST_F(TTextControl, TheRestOfTheTextIsColouredInIdleTimeLikeAllAtOnce) {
  // String continuations every few lines carry the scanner's state across the slices.
  std::string text;
  for (int i = 0; i < 30000; ++i)
    text += i % 97 == 5   ? "      X = 'AB\\\r\n"
            : i % 97 == 6 ? "CD' + 1 ! C\r\n"
                          : "      Y = Y + 1.5E-3\r\n";
  const std::string file = dir.Write("big.f", text);

  TfrmEditor* fresh = NewEditor();
  ASSERT_TRUE(fresh->LoadFromFile(file));
  TStreakSynEdit* s = fresh->SynEdit();
  const long length = Sci(s, B::SCI_GETLENGTH);
  EXPECT_LT(Sci(s, B::SCI_GETENDSTYLED), length) << "loading itself colours nothing";
  ASSERT_TRUE(QTest::qWaitFor([&] { return Sci(s, B::SCI_GETENDSTYLED) == length; }, 20000));

  TfrmEditor* whole = NewEditor();
  ASSERT_TRUE(whole->LoadFromFile(file));
  Sci(whole->SynEdit(), B::SCI_COLOURISE, 0, -1);
  long differences = 0, strings = 0;
  for (long pos = 0; pos < length; ++pos) {
    const long style = Sci(s, B::SCI_GETSTYLEAT, pos);
    differences += style != Sci(whole->SynEdit(), B::SCI_GETSTYLEAT, pos);
    strings += style == TFortranLexer::StyleOf(TTokenKind::String);
  }
  EXPECT_EQ(differences, 0);
  EXPECT_GT(strings, 0);

  // An edit at the top: once the typing pauses, the rest is coloured again.
  fresh->SetCaret(1, 1);
  Type(fresh, "C");
  EXPECT_LT(Sci(s, B::SCI_GETENDSTYLED), length);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return Sci(s, B::SCI_GETENDSTYLED) == Sci(s, B::SCI_GETLENGTH); }, 20000));
}

TEST_F(TTextControl, ColouringInIdleTimePaintsTheViewOnce) {
  // Scanner states of lines far below the view change as they are coloured (strings continue
  // every few lines); that must not repaint the view for each slice.
  std::string text;
  for (int i = 0; i < 30000; ++i)
    text += i % 97 == 5   ? "      X = 'AB\\\r\n"
            : i % 97 == 6 ? "CD' + 1\r\n"
                          : "      Y = 'EF' + 1\r\n";
  const std::string file = dir.Write("big.f", text);
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  Grab(s);
  TPaintSpy spy;
  s->viewport()->installEventFilter(&spy);
  ASSERT_TRUE(e->LoadFromFile(file));
  ASSERT_TRUE(QTest::qWaitFor([&] { return s->FortranLexer()->FullyStyled(); }, 20000));
  QApplication::processEvents();
  s->viewport()->removeEventFilter(&spy);
  EXPECT_EQ(spy.full, 1) << "the loaded text once, and nothing for the lines coloured off screen";
  // Line 29,979 continues the string of the line before it; the next one starts afresh.
  auto startStyle = [&](long line) {
    return Sci(s, B::SCI_GETSTYLEAT, Sci(s, B::SCI_POSITIONFROMLINE, line));
  };
  EXPECT_EQ(startStyle(29979), TFortranLexer::StyleOf(TTokenKind::String));
  EXPECT_NE(startStyle(29980), TFortranLexer::StyleOf(TTokenKind::String));
}

TEST_F(TTextControl, WithoutAssistiveTechnologyTheEditorHasNoTextInterface) {
  // QScintilla's text interface counts every character before the caret at each caret move;
  // nobody reads it while accessibility is off, so the editor must not get it then.
  ASSERT_FALSE(QAccessible::isActive());
  TfrmEditor* e = ShownEditor();
  e->SetText("      X = 1\r\n      END\r\n");
  e->SetCaret(2, 4);
  QApplication::processEvents();
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(e->SynEdit());
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::EditableText);
  EXPECT_EQ(iface->textInterface(), nullptr);
}

TEST_F(TTextControl, CharactersBeforeAPositionAreCountedFromTheLineIndexAndStayExact) {
  // Every edit asks how many characters precede it; the program answers long counts from the
  // control's line index instead of a walk from the top. The answer must be the walk's answer
  // wherever it is asked, after edits above too, with characters of two, three and four bytes.
  TfrmEditor* e = ShownEditor();
  TStreakSynEdit* s = e->SynEdit();
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += i % 7 == 0 ? "C     \xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9d\x84\x9e\n"
                       : "      X = Y + 1\n";
  Sci(s, B::SCI_SETTEXT, 0, reinterpret_cast<long>(text.c_str()));
  auto walked = [&](long pos) {
    long count = 0;
    for (long i = 0; i < pos; ++i) count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return count;
  };
  auto check = [&](const char* when) {
    for (long pos : {0L, 4095L, 4096L, 20001L, static_cast<long>(text.size()) / 2,
                     static_cast<long>(text.size())}) {
      // Asked at a character's start, as the control does.
      while (pos < static_cast<long>(text.size()) &&
             (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
        ++pos;
      EXPECT_EQ(Sci(s, B::SCI_COUNTCHARACTERS, 0, pos), walked(pos)) << when << " at " << pos;
    }
  };
  check("after loading");
  EXPECT_TRUE(Sci(s, B::SCI_GETLINECHARACTERINDEX) & B::SC_LINECHARACTERINDEX_UTF32)
      << "the control answers long counts from its line index";
  const std::string above = "C \xe2\x82\xac\xe2\x82\xac\n";
  // Whole lines in and out, so that no character is cut in two.
  const long second = static_cast<long>(text.find('\n')) + 1;
  Sci(s, B::SCI_INSERTTEXT, second, reinterpret_cast<long>(above.c_str()));
  text.insert(second, above);
  const long from = static_cast<long>(text.find('\n', 5000)) + 1;
  const long to = static_cast<long>(text.find('\n', from + 100)) + 1;
  Sci(s, B::SCI_DELETERANGE, from, to - from);
  text.erase(from, to - from);
  ASSERT_EQ(Sci(s, B::SCI_GETLENGTH), static_cast<long>(text.size()));
  check("after edits above");
}

TEST_F(TTextControl, TokensGetTheirAttributesStyles) {
  TfrmEditor* e = NewEditor();
  TStreakSynEdit* s = e->SynEdit();
  e->SetText("      IF (X .GT. 1.5E-3) GO TO 100\r\nC COMMENT\r\n      S = 'IT''S'\r\n");
  Sci(s, B::SCI_COLOURISE, 0, -1);
  auto style = [&](long pos) { return static_cast<int>(Sci(s, B::SCI_GETSTYLEAT, pos)); };
  EXPECT_EQ(style(6), TFortranLexer::StyleOf(TTokenKind::Key));          // IF
  EXPECT_EQ(style(9), TFortranLexer::StyleOf(TTokenKind::Symbol));       // (
  EXPECT_EQ(style(10), TFortranLexer::StyleOf(TTokenKind::Identifier));  // X
  EXPECT_EQ(style(12), TFortranLexer::StyleOf(TTokenKind::Key));         // .GT.
  EXPECT_EQ(style(17), TFortranLexer::StyleOf(TTokenKind::Number));      // 1.5E-3
  EXPECT_EQ(style(28), TFortranLexer::StyleOf(TTokenKind::Key));         // GO TO
  const long comment = Sci(s, B::SCI_POSITIONFROMLINE, 1);
  EXPECT_EQ(style(comment + 4), TFortranLexer::StyleOf(TTokenKind::Comment));
  const long str = Sci(s, B::SCI_POSITIONFROMLINE, 2) + 10;
  EXPECT_EQ(style(str), TFortranLexer::StyleOf(TTokenKind::String));
  // The stored defaults: comments silver italic, keys blue bold.
  const int key = TFortranLexer::StyleOf(TTokenKind::Key);
  EXPECT_EQ(Sci(s, B::SCI_STYLEGETFORE, key), 0xFF0000);
  EXPECT_GE(std::abs(Sci(s, B::SCI_STYLEGETWEIGHT, key)), 700) << "bold";
  EXPECT_TRUE(Sci(s, B::SCI_STYLEGETITALIC, TFortranLexer::StyleOf(TTokenKind::Comment)));

  WriteBool(sidSyntaxHighlight, false);
  e->ApplyEditorSettings();
  EXPECT_EQ(s->FortranLexer(), nullptr);
  Sci(s, B::SCI_COLOURISE, 0, -1);
  EXPECT_EQ(style(6), 0);
}

TEST_F(TTextControl, AChangeRestylesFromItsLineAndCarriesTheStringState) {
  TfrmEditor* e = NewEditor();
  TStreakSynEdit* s = e->SynEdit();
  std::string text = "      X = 'AB\\\r\nCD' + 1\r\n";
  for (int i = 0; i < 3000; ++i) text += "      Y = Y + 1\r\n";
  e->SetText(text);
  Sci(s, B::SCI_COLOURISE, 0, -1);
  auto style = [&](int line, int col) {
    return static_cast<int>(
        Sci(s, B::SCI_GETSTYLEAT, Sci(s, B::SCI_POSITIONFROMLINE, line - 1) + col - 1));
  };
  const int str = TFortranLexer::StyleOf(TTokenKind::String);
  EXPECT_EQ(style(2, 1), str) << "continued string";
  EXPECT_NE(style(2, 6), str);

  const long long before = s->FortranLexer()->ScannedLines();
  e->SetCaret(1, 14);
  Key(e, Qt::Key_Delete);  // the backslash: the string no longer continues
  Sci(s, B::SCI_COLOURISE, 0, Sci(s, B::SCI_POSITIONFROMLINE, 20));
  EXPECT_NE(style(2, 1), str);
  EXPECT_LT(s->FortranLexer()->ScannedLines() - before, 30);
}

}  // namespace
}  // namespace vortan::test
