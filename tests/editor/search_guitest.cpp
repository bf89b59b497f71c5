// Find, replace, go to line, Insert and Convert on a real editor window (offscreen): the
// control's byte-to-position map, undo steps, the commands with their dialogs driven by a
// scripted runner, prompts through the prompt service, settings written back.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <climits>

#include "editor/ui/editormarks.h"
#include "editor/ui/finddialog.h"
#include "editor/ui/gotodialog.h"
#include "editor/ui/replacedialog.h"
#include "editor/ui/searchcommands.h"
#include "editor/ui/searchoptiongroups.h"
#include "editorfixture.h"
#include "i18n/stringtable.h"

namespace vortan::test {
namespace {

using platform::TCodePage;

class SearchTest : public EditorFixture {
 protected:
  TfrmEditor* Load(const std::string& text, TCodePage page = TCodePage::Oem) {
    TfrmEditor* e = NewEditor();
    e->SynEdit()->SetCodePage(page);
    EXPECT_TRUE(e->LoadFromFile(dir.Write("doc.f", text)));
    return e;
  }
  std::string Text(TfrmEditor* e) { return e->SynEdit()->Bytes(); }
  /// Commands whose dialogs are answered by `answer` (it sets the controls and returns the
  /// dialog's result) and whose clock stands at 8 March 2026, 14:05 local time.
  TSearchCommands& Commands(std::function<int(QDialog&)> answer = nullptr) {
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 2, t.tm_mday = 8, t.tm_hour = 14, t.tm_min = 5, t.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&t));
    commands = std::make_unique<TSearchCommands>(
        &window, [when] { return when; },
        [this](QDialog& d) { return runner ? runner(d) : int(QDialog::Rejected); });
    runner = std::move(answer);
    return *commands;
  }

  QWidget window;
  std::function<int(QDialog&)> runner;
  std::unique_ptr<TSearchCommands> commands;
};

TEST_F(SearchTest, MatchesAfterBytesBeyondAsciiAreSelectedExactly) {
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  for (TCodePage page : {TCodePage::Oem, TCodePage::Ansi}) {
    SCOPED_TRACE(page == TCodePage::Oem ? "OEM" : "ANSI");
    TfrmEditor* e = Load(high + " ITER = ITER + 1\r\n", page);
    TSearchOptions o;
    o.EntireScope = true;
    o.WholeWord = true;
    ASSERT_EQ(e->SynEdit()->SearchReplace("iter", "", o, nullptr), 1);
    EXPECT_EQ(e->SynEdit()->SelectedBytes(), "ITER");
    EXPECT_EQ(e->SynEdit()->CaretPoint(), (TTextPoint{0, 129 + 4}));
    o.Backwards = true;
    ASSERT_EQ(e->SynEdit()->SearchReplace("iter", "", o, nullptr), 1);
    EXPECT_EQ(e->SynEdit()->CaretPoint(), (TTextPoint{0, 129 + 7}));
    o = {};
    o.EntireScope = o.ReplaceAll = true;
    ASSERT_EQ(e->SynEdit()->SearchReplace("ITER", "K\x82", o, nullptr), 2);
    EXPECT_EQ(Text(e), high + " K\x82 = K\x82 + 1");
  }
}

TEST_F(SearchTest, ReplaceAllAndConvertAreUndoneInOneStep) {
  std::string text;
  for (int i = 1; i <= 40; ++i) text += "      X" + std::to_string(i) + " = I + I\r\n";
  struct TCase {
    const char* name;
    std::function<void(TStreakSynEdit*)> act;
  };
  const TCase cases[] = {
      {"replace all",
       [](TStreakSynEdit* s) {
         TSearchOptions o;
         o.EntireScope = o.ReplaceAll = o.WholeWord = true;
         EXPECT_EQ(s->SearchReplace("I", "INDEX", o, nullptr), 80);
       }},
      {"replacement holding the search text",
       [](TStreakSynEdit* s) {
         TSearchOptions o;
         o.EntireScope = o.ReplaceAll = true;
         EXPECT_EQ(s->SearchReplace("X", "XX", o, nullptr), 40);
       }},
      {"to lower case", [](TStreakSynEdit* s) { s->ConvertSelection(2); }},
  };
  // Every line keeps its marks (bookmarks, breakpoints, error lines with their text colour)
  // through the change, its undo and redo.
  auto marks = [](TStreakSynEdit* s) {
    std::vector<long> perLine;
    for (long l = 0; l < s->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT); ++l) {
      const long middle = s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, l) + 7;
      perLine.push_back(s->SendScintilla(QsciScintillaBase::SCI_MARKERGET, l));
      perLine.push_back(s->SendScintilla(QsciScintillaBase::SCI_INDICATORALLONFOR, middle));
    }
    return perLine;
  };
  auto bookmarkLines = [](TStreakSynEdit* s) {
    std::vector<int> lines;
    for (int n : {1, 2, 3}) {
      int line = 0;
      lines.push_back(s->GetBookmark(n, &line, nullptr) ? line : 0);
    }
    return lines;
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TfrmEditor* e = Load(text);
    TStreakSynEdit* s = e->SynEdit();
    s->SetBookmark(1, 1, 1);
    s->SetBookmark(2, 7, 3);
    s->SetBookmark(3, 40, 1);
    s->SetSpecialLines({7, 12}, Qt::white, Qt::red);
    for (unsigned long line : {0ul, 19ul, 39ul})
      s->SendScintilla(QsciScintillaBase::SCI_MARKERADD, line, marks::kBreakpointMarker);
    const std::vector<long> marksBefore = marks(s);
    const std::vector<int> bookmarksBefore = {1, 7, 40};
    ASSERT_EQ(bookmarkLines(s), bookmarksBefore);
    const std::string before = Text(e);
    c.act(s);
    const std::string after = Text(e);
    EXPECT_NE(after, before);
    EXPECT_TRUE(e->Modified());
    EXPECT_EQ(marks(s), marksBefore);
    EXPECT_EQ(bookmarkLines(s), bookmarksBefore);
    ASSERT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(Text(e), before);
    EXPECT_EQ(marks(s), marksBefore) << "after undo";
    EXPECT_EQ(bookmarkLines(s), bookmarksBefore) << "after undo";
    EXPECT_FALSE(e->CanUndo()) << "more than one step";
    e->Redo();
    EXPECT_EQ(Text(e), after);
    EXPECT_EQ(marks(s), marksBefore) << "after redo";
    EXPECT_EQ(bookmarkLines(s), bookmarksBefore) << "after redo";
  }
}

TEST_F(SearchTest, ConvertCases) {
  struct TCase {
    const char* name;
    std::string text;
    std::function<void(TStreakSynEdit*)> select;
    int tag;
    std::string after;
  };
  const TCase cases[] = {
      {"whole text without a selection", "do i = 1\nend", [](TStreakSynEdit*) {}, 1,
       "DO I = 1\nEND"},
      {"only the selection", "do i = 1\nend",
       [](TStreakSynEdit* s) { s->SelectBytes(0, 3, 4, false); }, 1, "do I = 1\nend"},
      {"a column block as a rectangle", "abcd\nefgh\nijkl",
       [](TStreakSynEdit* s) {
         s->SetSelectionMode(TStreakSynEdit::TSelectionMode::Column);
         s->SetCaret(1, 2);
         s->RunKey(Qt::Key_Down, Qt::ShiftModifier);
         s->RunKey(Qt::Key_Down, Qt::ShiftModifier);
         s->RunKey(Qt::Key_Right, Qt::ShiftModifier);
         s->RunKey(Qt::Key_Right, Qt::ShiftModifier);
       },
       1, "aBCd\neFGh\niJKl"},
      // OEM é (0x82) is ANSI é (0xE9); OEM 0xE9 is Ú, ANSI 0xC9.
      {"to ANSI", "caf\x82", [](TStreakSynEdit*) {}, 3, "caf\xE9"},
      {"to OEM", "caf\xE9", [](TStreakSynEdit*) {}, 4, "caf\x82"},
      {"upper case of OEM letters", "caf\x82", [](TStreakSynEdit*) {}, 1, "CAF\x90"},
      {"already upper case", "END", [](TStreakSynEdit*) {}, 1, "END"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TfrmEditor* e = Load(c.text);
    ASSERT_FALSE(e->Modified());
    c.select(e->SynEdit());
    Commands().Convert(e, c.tag);
    EXPECT_EQ(Text(e), c.after);
    EXPECT_TRUE(e->Modified()) << "Modified is set even when nothing changed";
  }
}

TEST_F(SearchTest, InsertTemplates) {
  struct TCase {
    const char* name;
    int tag;
    std::string text;
    int line, column;  // caret before
    bool selectSecondLine;
    std::string after;
    int caretLine, caretColumn;
  };
  const TCase cases[] = {
      {"IF..THEN above the caret's line", 2, "A\nX = 1\nB", 2, 3, false,
       "A\n      IF () THEN\n\n      ENDIF\nX = 1\nB", 5, 1},
      {"STOP..END", 5, "X = 1", 1, 1, false, "      STOP\n      END\nX = 1", 3, 1},
      {"date and time before the line's text", 1, "A\nX = 1", 2, 4, false,
       "A\nC 08/03/26 14:05X = 1", 2, 17},
      {"date and time on an empty line", 1, "", 1, 1, false, "C 08/03/26 14:05", 1, 17},
      {"the selection is replaced", 4, "A\nX = 1\nB", 1, 1, true,
       "A\n      DO ,,\n\n      CONTINUE\n\nB", 5, 1},
      {"header", 0, "X", 1, 1, false, "C\nC NAME: \nC AUTHOR: \nC DESCRIPTION: \nC DATE: \nC\nX", 7,
       1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TfrmEditor* e = Load(c.text);
    e->SetCaret(c.line, c.column);
    if (c.selectSecondLine) e->SynEdit()->SelectBytes(1, 0, 5, false);
    Commands().Insert(e, c.tag);
    EXPECT_EQ(Text(e), c.after);
    EXPECT_EQ(e->CaretLine(), c.caretLine);
    EXPECT_EQ(e->CaretColumn(), c.caretColumn);
    e->Undo();
    EXPECT_EQ(Text(e), c.text) << "one undo step";
  }
}

TEST_F(SearchTest, GoToLine) {
  std::string text;
  for (int i = 1; i <= 30; ++i) text += "      LINE " + std::to_string(i) + "\r\n";
  struct TCase {
    const char* typed;
    bool closes;
    int line;
  };
  const TCase cases[] = {
      {"10", true, 10},
      {"0", false, 3},
      {"", false, 3},
      {"31", true, 3},
      {"123456789012345678901234567890", true, 3},
      {"30", true, 30},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.typed);
    TfrmEditor* e = Load(text);
    e->SetCaret(3, 9);
    bool closed = false;
    QString shown;
    Commands([&](QDialog& d) {
      auto& go = static_cast<TfrmGoTo&>(d);
      shown = go.cbxGoTo()->currentText();
      go.cbxGoTo()->setEditText(QString::fromLatin1(c.typed));
      go.accept();
      closed = go.result() == QDialog::Accepted;
      return go.result();
    }).GoTo(e);
    EXPECT_EQ(shown, QStringLiteral("3")) << "the box shows the caret's line";
    EXPECT_EQ(closed, c.closes);
    EXPECT_EQ(e->CaretLine(), c.line);
    EXPECT_EQ(e->CaretColumn(), 9);
  }
  std::vector<std::string> history;
  ReadObject(sidChangesLineNumbers, history);
  EXPECT_EQ(history,
            (std::vector<std::string>{"30", "123456789012345678901234567890", "31", "10"}));
}

TEST_F(SearchTest, GoToBoxTakesDigitsOnly) {
  TfrmGoTo d(1);
  d.cbxGoTo()->clearEditText();
  QTest::keyClicks(d.cbxGoTo()->lineEdit(), QStringLiteral("1a-2 3."));
  EXPECT_EQ(d.cbxGoTo()->currentText(), QStringLiteral("123"));
}

TEST_F(SearchTest, FindPresetsAndSearchAgain) {
  TfrmEditor* e = Load("      ITER = 0\r\n      ITER = ITER + 1\r\n      CALL F(ITER)\r\n");
  e->SetCaret(1, 9);  // inside ITER
  QString proposed;
  bool selectedScope = true;
  TSearchCommands& cmd = Commands([&](QDialog& d) {
    auto& f = static_cast<TfrmFind&>(d);
    proposed = f.SearchText();
    selectedScope = f.Groups().rdbSelectedText->isChecked();
    f.Groups().rdbEntireScope->setChecked(true);
    f.Groups().chkWords->setChecked(true);
    return int(QDialog::Accepted);
  });
  cmd.Find(e);
  EXPECT_EQ(proposed, QStringLiteral("ITER"));
  EXPECT_FALSE(selectedScope);
  EXPECT_EQ(e->SynEdit()->CaretPoint(), (TTextPoint{0, 10}));
  // Search Again goes on from the caret, not from the top again.
  for (TTextPoint next : {TTextPoint{1, 10}, TTextPoint{1, 17}, TTextPoint{2, 17}}) {
    cmd.SearchAgain(e);
    EXPECT_EQ(e->SynEdit()->CaretPoint(), next);
  }
  EXPECT_TRUE(prompts.asked.empty());
  prompts.Answer(TModalResult::OK);
  cmd.SearchAgain(e);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].Text, "Search String 'ITER' not found");
  EXPECT_EQ(e->SynEdit()->CaretPoint(), (TTextPoint{2, 17})) << "nothing moves";

  // A selection within one line is proposed with the scope Selected text.
  e->SynEdit()->SelectBytes(2, 6, 10, false);
  runner = [&](QDialog& d) {
    auto& f = static_cast<TfrmFind&>(d);
    proposed = f.SearchText();
    selectedScope = f.Groups().rdbSelectedText->isChecked();
    f.cbxFind()->setEditText(QStringLiteral("zzz"));
    return int(QDialog::Rejected);
  };
  cmd.Find(e);
  EXPECT_EQ(proposed, QStringLiteral("CALL"));
  EXPECT_TRUE(selectedScope);
  // Cancelled: no search, but the text is the one Search Again uses and tops the history.
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(cmd.LastSearch().SearchText, "zzz");
  EXPECT_EQ(cmd.FindDialog()->cbxFind()->itemText(0), QStringLiteral("zzz"));
  EXPECT_EQ(cmd.FindDialog()->cbxFind()->itemText(1), QStringLiteral("ITER"));
}

TEST_F(SearchTest, AMatchOffScreenIsBroughtToTheMiddleOfTheViewAndOneOnScreenStaysPut) {
  std::string text;
  for (int i = 1; i <= 300; ++i)
    text += (i == 150 || i == 160 ? "      CALL TARGET\r\n" : "      X = 1\r\n");
  TfrmEditor* e = ShownEditor();
  e->SynEdit()->SetCodePage(TCodePage::Oem);
  ASSERT_TRUE(e->LoadFromFile(dir.Write("doc.f", text)));
  TStreakSynEdit* s = e->SynEdit();
  auto first = [&] { return long(s->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)); };
  const long onScreen = long(s->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
  ASSERT_GT(onScreen, 12) << "the view must show both matches at once";
  ASSERT_EQ(first(), 0);
  TSearchCommands& cmd = Commands([&](QDialog& d) {
    static_cast<TfrmFind&>(d).cbxFind()->setEditText(QStringLiteral("TARGET"));
    return int(QDialog::Accepted);
  });
  cmd.Find(e);
  ASSERT_EQ(e->CaretLine(), 150);
  // 0-based line 149 stands in the middle, not at the bottom edge.
  EXPECT_EQ(first(), 149 - onScreen / 2);
  const long middle = first();
  cmd.SearchAgain(e);
  ASSERT_EQ(e->CaretLine(), 160);
  EXPECT_EQ(first(), middle) << "a match already in view does not scroll";
}

TEST_F(SearchTest, ReplaceAsksThroughTheEditorsPrompt) {
  TfrmEditor* e = Load("I = I + I\r\n");
  struct TCase {
    const char* name;
    bool all;
    std::vector<TModalResult> answers;
    std::string after;
  };
  const TCase cases[] = {
      {"OK with prompt: one occurrence", false, {TModalResult::Yes}, "K = I + I"},
      {"Replace All: each is asked",
       true,
       {TModalResult::No, TModalResult::Yes, TModalResult::No},
       "I = K + I"},
      {"Yes to All replaces the rest",
       true,
       {TModalResult::Yes, TModalResult::YesToAll},
       "K = K + K"},
      {"Cancel stops", true, {TModalResult::Yes, TModalResult::Cancel}, "K = I + I"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    e->SynEdit()->SetBytes("I = I + I", false);
    prompts.asked.clear();
    for (TModalResult r : c.answers) prompts.Answer(r);
    Commands([&](QDialog& d) {
      auto& r = static_cast<TfrmReplace&>(d);
      r.cbxFind()->setEditText(QStringLiteral("I"));
      r.cbxReplace()->setEditText(QStringLiteral("K"));
      r.Groups().chkPrompt->setChecked(true);
      r.Groups().rdbEntireScope->setChecked(true);
      (c.all ? r.btnReplace() : r.findChild<QPushButton*>(QStringLiteral("btnOK")))->click();
      return r.result();
    }).Replace(e);
    EXPECT_EQ(Text(e), c.after);
    ASSERT_EQ(prompts.asked.size(), c.answers.size());
    EXPECT_EQ(prompts.asked[0].Text, "Replace this occurrence of 'I'");
    EXPECT_TRUE(prompts.asked[0].Buttons.Has(TMsgDlgBtn::YesToAll));
  }
  EXPECT_EQ(commands->LastSearch().ReplaceText, "K");
  EXPECT_TRUE(commands->LastSearch().Options.ReplaceAll);
}

TEST_F(SearchTest, DialogsReadTheirSettingsWhenMadeAndWriteThemWhenDestroyed) {
  WriteBool(sidReplaceCaseSensitive, true);
  WriteInteger(sidReplaceOrigin, 1);
  WriteObject(sidChangesReplaceWith, std::vector<std::string>{"NEWEST", "OLDER"});
  {
    TfrmReplace r;
    EXPECT_TRUE(r.Groups().chkCase->isChecked());
    EXPECT_TRUE(r.Groups().chkPrompt->isChecked()) << "prompt is on by default";
    EXPECT_TRUE(r.Groups().rdbEntireScope->isChecked());
    EXPECT_EQ(r.ReplaceText(), QStringLiteral("NEWEST")) << "the newest replacement is proposed";
    r.Groups().chkWords->setChecked(true);
    r.Groups().rdbBackward->setChecked(true);
    r.cbxFind()->setEditText(QStringLiteral("abc"));
    r.RememberTexts();
  }
  EXPECT_TRUE(ReadBool(sidReplaceWholeWordsOnly));
  EXPECT_EQ(ReadInteger(sidReplaceDirection), 1);
  std::vector<std::string> find;
  ReadObject(sidChangesReplaceFind, find);
  EXPECT_EQ(find, std::vector<std::string>{"abc"});

  {
    TfrmFind f;
    f.Groups().rdbSelectedText->setChecked(true);
    f.Groups().rdbEntireScope->setChecked(true);
  }
  EXPECT_EQ(ReadInteger(sidFindScope), 1);
  EXPECT_EQ(ReadInteger(sidFindOrigin), 1);
  TfrmFind again;
  EXPECT_TRUE(again.Groups().rdbSelectedText->isChecked());
}

}  // namespace
}  // namespace vortan::test
