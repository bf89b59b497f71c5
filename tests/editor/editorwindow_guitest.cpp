#include "editor/ui/editorwindow.h"

#include <signal.h>
#include <sys/resource.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <filesystem>
#include <functional>

#include "editor/textsearch.h"
#include "editor/ui/streaksynedit.h"
#include "editorfixture.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/languagechangedevent.h"
#include "platform/codepage.h"

namespace vortan::test {
namespace {

using TEditorWindow = EditorFixture;

// ---- text format ----

struct TRoundTrip {
  const char* name;
  std::string bytes;
  TLineBreak lineBreak;
  int lines;
};

std::string AllLineBytes() {
  // Every byte that is not a line break, in one line.
  std::string s;
  for (int b = 1; b < 256; ++b)
    if (b != '\n' && b != '\r') s.push_back(static_cast<char>(b));
  return s;
}

TEST_F(TEditorWindow, LoadAndSaveGiveTheSameBytesUnderBothPages) {
  const std::vector<TRoundTrip> cases = {
      {"crlf", "      PROGRAM P\r\n      END\r\n", TLineBreak::CRLF, 2},
      {"lf", "      PROGRAM P\n\n      END\n", TLineBreak::LF, 3},
      {"cr", "C X\r      END\r", TLineBreak::CR, 2},
      {"one empty line", "\r\n", TLineBreak::CRLF, 1},
      {"empty", "", TLineBreak::CRLF, 0},
      {"all bytes", AllLineBytes() + "\r\n" + AllLineBytes() + "\r\n", TLineBreak::CRLF, 2},
      {"all bytes lf", "x\n" + AllLineBytes() + "\n", TLineBreak::LF, 2},
  };
  for (bool ansi : {false, true}) {
    WriteBool(sidANSIText, ansi);
    for (const TRoundTrip& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (ansi ? " ansi" : " oem"));
      TfrmEditor* e = NewEditor();
      const std::string in = dir.Write(std::string(c.name) + ".f", c.bytes);
      ASSERT_TRUE(e->LoadFromFile(in));
      EXPECT_EQ(e->LineBreak(), c.lineBreak);
      EXPECT_EQ(e->LineCount(), c.lines);
      EXPECT_FALSE(e->Modified());
      const std::string out = dir / (std::string(c.name) + ".out");
      ASSERT_TRUE(e->SaveToFile(out));
      EXPECT_EQ(ReadFile(out), c.bytes);
      EXPECT_EQ(e->Text(), c.bytes);
    }
  }
}

TEST_F(TEditorWindow, BytesShowThroughTheActivePageAndSwitchingKeepsThem) {
  TfrmEditor* e = NewEditor();
  ASSERT_TRUE(e->LoadFromFile(dir.Write("a.f", "C \x82\xE9\r\n")));
  // Code page 850: 0x82 is e-acute, 0xE9 is U-acute; Windows-1252: a low quote and e-acute.
  EXPECT_EQ(e->SynEdit()->text(), QString::fromUtf8("C \u00E9\u00DA"));
  WriteBool(sidANSIText, true);
  e->ApplyEditorSettings();
  EXPECT_EQ(e->SynEdit()->text(), QString::fromUtf8("C \u201A\u00E9"));
  EXPECT_EQ(e->Line(1), "C \x82\xE9");
  EXPECT_FALSE(e->Modified());
}

TEST_F(TEditorWindow, MissingFinalBreakIsAddedAndANulEndsALine) {
  TfrmEditor* e = NewEditor();
  // The user is told at once that the file is not what it seems.
  prompts.Answer(TModalResult::OK);
  const std::string file = dir.Write("nul.f", std::string("AB\0CD\nEF", 8));
  ASSERT_TRUE(e->LoadFromFile(file));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].Kind, TMsgDlgType::Warning);
  ASSERT_EQ(e->LineCount(), 3);
  EXPECT_EQ(e->Line(1), "AB");
  EXPECT_EQ(e->Line(2), "CD");
  EXPECT_EQ(e->LineBreak(), TLineBreak::LF);
  EXPECT_EQ(e->Text(), "AB\nCD\nEF\n");

  // A save that turns the NUL into a break asks first: No keeps the file, Yes writes it,
  // and the next save has nothing left to ask about.
  prompts.Answer(TModalResult::No);
  EXPECT_FALSE(e->SaveToFile(file));
  EXPECT_EQ(ReadFile(file), std::string("AB\0CD\nEF", 8));
  prompts.Answer(TModalResult::Yes);
  ASSERT_TRUE(e->SaveToFile(file));
  EXPECT_EQ(ReadFile(file), "AB\nCD\nEF\n");
  ASSERT_TRUE(e->SaveToFile(file));
  EXPECT_EQ(prompts.asked.size(), 3u);
}

TEST_F(TEditorWindow, BinaryFilesAndAMegabyteLineLoadUnchanged) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) % 251 + 3));
  std::replace(binary.begin(), binary.end(), '\r', 'r');
  std::replace(binary.begin(), binary.end(), '\n', 'n');
  const std::string longLine(1 << 20, 'A');
  const std::string bytes = binary + "\r\n" + longLine + "\r\n";
  TfrmEditor* e = NewEditor();
  ASSERT_TRUE(e->LoadFromFile(dir.Write("bin.f", bytes)));
  EXPECT_EQ(e->LineCount(), 2);
  EXPECT_EQ(e->Line(2).size(), longLine.size());
  const std::string out = dir / "bin.out";
  ASSERT_TRUE(e->SaveToFile(out));
  EXPECT_EQ(ReadFile(out), bytes);
}

TEST_F(TEditorWindow, AFileThatCannotBeReadIsReportedAndNothingChanges) {
  TfrmEditor* e = NewEditor();
  e->SetText("KEEP\r\n");
  prompts.Answer(TModalResult::OK);
  const std::string missing = dir / "missing.f";
  EXPECT_FALSE(e->LoadFromFile(missing));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].Kind, TMsgDlgType::Error);
  EXPECT_EQ(prompts.asked[0].Text,
            "Cannot open file \"" + missing + "\". No such file or directory");
  EXPECT_EQ(e->Text(), "KEEP\r\n");
}

TEST_F(TEditorWindow, AFailedSaveIsReportedAndKeepsDocumentAndOldFile) {
  TfrmEditor* e = NewEditor();
  e->SetText("      PROGRAM P\r\n");
  ASSERT_TRUE(e->Modified());
  // A parent that is a regular file: the new file cannot be created (also for root).
  const std::string blocker = dir.Write("plain", "x");
  prompts.Answer(TModalResult::OK);
  EXPECT_FALSE(e->SaveToFile(blocker + "/a.f"));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].Text, "Cannot create file \"" + blocker + "/a.f\". Not a directory");
  EXPECT_TRUE(e->Modified());

  // A write that fails half-way (file size limit) leaves the old file as it was.
  const std::string old = dir.Write("old.f", "OLD\r\n");
  e->SetText(std::string(4096, 'X') + "\r\n");
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  prompts.Answer(TModalResult::OK);
  const bool ok = e->SaveToFile(old);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadFile(old), "OLD\r\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find("vortan-"), std::string::npos)
        << "leftover " << entry.path();
  EXPECT_TRUE(e->Modified());
}

TEST_F(TEditorWindow, SavingKeepsThePermissionsOfTheOldFile) {
  const std::string name = dir.Write("p.f", "A\n");
  std::filesystem::permissions(name, std::filesystem::perms(0640));
  TfrmEditor* e = NewEditor();
  ASSERT_TRUE(e->LoadFromFile(name));
  e->SetText("B\n");
  ASSERT_TRUE(e->SaveToFile(name));
  EXPECT_EQ(ReadFile(name), "B\n");
  EXPECT_EQ(std::filesystem::status(name).permissions(), std::filesystem::perms(0640));
}

// ---- status texts ----

TEST_F(TEditorWindow, StatusTextsFollowCaretModifiedFlagAndInsertMode) {
  TfrmEditor* e = NewEditor();
  EXPECT_EQ(e->StatusText(0), "  1 :   1   ");
  EXPECT_EQ(e->StatusText(1), "");
  EXPECT_EQ(e->StatusText(2), "Insert");
  Type(e, "X");
  EXPECT_EQ(e->StatusText(0), "  1 :   2   ");
  EXPECT_EQ(e->StatusText(1), "Modified");
  Key(e, Qt::Key_Insert);
  EXPECT_EQ(e->StatusText(2), "Overwrite");
  Key(e, Qt::Key_Insert);
  EXPECT_EQ(e->StatusText(2), "Insert");
  e->SetModified(false);
  EXPECT_EQ(e->StatusText(1), "");
}

TEST_F(TEditorWindow, TheLanguageMessageRefreshesTheStatusTexts) {
  TfrmEditor* e = NewEditor();
  TParlax lang;
  lang.LoadFromText("STRINGS {\n strInsert = Inserir\n}\n");
  lang.Active = true;
  LoadStringTable(lang);
  TLanguageChangedEvent changed(lang);
  QApplication::sendEvent(e, &changed);
  ResetStringTable();
  EXPECT_EQ(e->StatusText(2), "Inserir");
}

TEST_F(TEditorWindow, MergedStatusTextsGoToTheMainStatusBar) {
  WriteBool(sidMergeStatusbar, true);
  TfrmEditor* e = NewEditor();
  EXPECT_TRUE(e->StatusBar()->isHidden());
  Type(e, "A");
  EXPECT_EQ(host.MainPanel(0), "  1 :   2   ");
  EXPECT_EQ(host.MainPanel(1), "Modified");
  EXPECT_EQ(host.MainPanel(2), "Insert");
  EXPECT_EQ(host.MainPanel(3), "");
}

TEST_F(TEditorWindow, MergedStatusTextsFindTheirPanelsWhateverElseTheMainBarHolds) {
  // A label that came to the bar before its panels must not receive a panel's text.
  host.mainBar = std::make_unique<QStatusBar>();
  auto* other = new QLabel(QStringLiteral("other"), host.mainBar.get());
  WriteBool(sidMergeStatusbar, true);
  TfrmEditor* e = NewEditor();
  Type(e, "A");
  EXPECT_EQ(other->text(), "other");
  EXPECT_EQ(host.MainPanel(0), "  1 :   2   ");
  EXPECT_EQ(e->StatusText(1), "Modified");
}

TEST_F(TEditorWindow, ANewEditorTakesTheSettingsAloneAndApplyingToAllReachesEveryEditor) {
  TfrmEditor* a = NewEditor();
  ASSERT_FALSE(a->SynEdit()->Options().Settings.ShowSpecialChars);
  WriteBool(sidShowSpecialChars, true);
  WriteInteger(sidTabStops, 4);
  TfrmEditor* b = NewEditor();
  EXPECT_TRUE(b->SynEdit()->Options().Settings.ShowSpecialChars);
  EXPECT_EQ(b->SynEdit()->Options().Settings.TabStops, 4);
  EXPECT_FALSE(a->SynEdit()->Options().Settings.ShowSpecialChars)
      << "opening one editor re-applies no other";

  TfrmEditor::ApplyEditorSettingsToAll({a, b});
  for (TfrmEditor* e : {a, b}) {
    EXPECT_TRUE(e->SynEdit()->Options().Settings.ShowSpecialChars);
    EXPECT_EQ(e->SynEdit()->Options().Settings.TabStops, 4);
  }
  WriteBool(sidMergeStatusbar, true);
  TfrmEditor::ApplyEditorSettingsToAll({a, b});
  EXPECT_TRUE(a->StatusBar()->isHidden());
  EXPECT_TRUE(b->StatusBar()->isHidden());
}

// ---- error lines ----

TEST_F(TEditorWindow, ErrorLineStaysOnCaretKeysAndGoesOnEditOrClick) {
  TfrmEditor* e = ShownEditor();
  e->SetText("      X = 1\r\n      Y = 2\r\n      END\r\n");
  auto mark = [&] {
    e->ClearErrorLines();
    e->MarkErrorLine(2);
    e->MarkErrorLine(2);
    e->SetCaret(2, 1);
  };
  mark();
  EXPECT_EQ(e->ErrorLines(), std::vector<int>{2});
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown})
    Key(e, k);
  EXPECT_EQ(e->ErrorLines(), std::vector<int>{2});

  Type(e, "Z");
  EXPECT_TRUE(e->ErrorLines().empty());

  mark();
  QTest::mouseClick(e->SynEdit()->viewport(), Qt::LeftButton, {}, QPoint(200, 5));
  EXPECT_TRUE(e->ErrorLines().empty());
}

TEST_F(TEditorWindow, ErrorLineIsPaintedInUserColoursFallingBackPerColour) {
  TfrmEditor* e = ShownEditor();
  e->SetText("      X = 1\r\n      Y = 2\r\n");
  host.userError.Background = 0x00008000;  // only a background of its own: green
  e->ApplyEditorSettings();
  e->MarkErrorLine(2);
  TStreakSynEdit* s = e->SynEdit();
  const int y = static_cast<int>(
      s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul,
                       s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 1ul)));
  const QImage img = s->viewport()->grab().toImage();
  const int x = s->TextAreaLeft() + 30 * s->CharWidth();  // beyond the text: the line's background
  EXPECT_EQ(QColor(img.pixel(x, y + 2)), QColor(0, 128, 0));
  // The text itself is white: the "Y" has pixels far lighter than the green.
  int lightest = 0;
  for (int dx = 1; dx < s->CharWidth(); ++dx)
    for (int dy = 0; dy < s->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0ul); ++dy)
      lightest = std::max(lightest, QColor(img.pixel(s->StreakX(6) + dx, y + dy)).red());
  EXPECT_GT(lightest, 200);
}

// Any change of the text ends the error line, also one the program makes over several lines
// (a whole-text conversion from the Edit menu, Replace All, an undo): the line is painted as
// every other
// afterwards, with no background left behind.
TEST_F(TEditorWindow, AChangeOverTheErrorLineLeavesNoColourOnIt) {
  TfrmEditor* e = ShownEditor();
  host.userError.Background = 0x00008000;  // green
  e->ApplyEditorSettings();
  TStreakSynEdit* s = e->SynEdit();
  auto background = [s](int line) {
    const int y =
        static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul,
                                          s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                           static_cast<unsigned long>(line - 1))));
    return QColor(
        s->viewport()->grab().toImage().pixel(s->TextAreaLeft() + 30 * s->CharWidth(), y + 2));
  };
  struct Case {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"lower case of the whole text", [&] { s->ConvertSelection(2); }},
      {"upper case of the whole text", [&] { s->ConvertSelection(1); }},
      {"Replace All over several lines",
       [&] {
         TSearchOptions o;
         o.EntireScope = o.ReplaceAll = o.WholeWord = true;
         EXPECT_EQ(s->SearchReplace("A", "B", o, nullptr), 2);  // lines 1 and 3
       }},
      {"undo of a conversion",
       [&] {
         s->ConvertSelection(2);
         e->MarkErrorLine(2);
         e->Undo();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    e->SetText("      Program A\r\n      x = 'Text'\r\n      End A\r\n");
    e->MarkErrorLine(2);
    ASSERT_EQ(background(2), QColor(0, 128, 0));
    c.change();
    EXPECT_TRUE(e->ErrorLines().empty());
    EXPECT_EQ(background(2), background(1));
  }
}

// ---- close prompt ----

struct TCloseCase {
  const char* name;
  bool named, modified, batch, noToAll;
  std::vector<TModalResult> answers;
  std::string dialogAnswer;
  bool closes;
  bool batchAfter, noToAllAfter;
  std::vector<std::string> savedAs;
};

TEST_F(TEditorWindow, ClosePromptAnswers) {
  const std::string named = dir / "named.f";
  const std::string chosen = dir / "chosen.f";
  using R = TModalResult;
  const std::vector<TCloseCase> cases = {
      {"not modified", true, false, false, false, {}, "", true, false, false, {}},
      {"yes with a name", true, true, false, false, {R::Yes}, "", true, false, false, {named}},
      {"yes untitled, dialog",
       false,
       true,
       false,
       false,
       {R::Yes},
       chosen,
       true,
       false,
       false,
       {chosen}},
      {"yes untitled, dialog cancelled",
       false,
       true,
       true,
       false,
       {R::Yes},
       "",
       false,
       false,
       false,
       {}},
      {"no", true, true, true, false, {R::No}, "", true, true, false, {}},
      {"cancel clears the batch",
       true,
       true,
       true,
       false,
       {R::Cancel},
       "",
       false,
       false,
       false,
       {}},
      {"no to all", true, true, true, false, {R::NoToAll}, "", true, true, true, {}},
      {"no to all chosen before", true, true, true, true, {}, "", true, true, true, {}},
  };
  for (const TCloseCase& c : cases) {
    SCOPED_TRACE(c.name);
    host.batchClose = c.batch;
    host.noToAll = c.noToAll;
    host.dialogAnswer = c.dialogAnswer;
    host.savedAs.clear();
    host.dialogProposals.clear();
    prompts.asked.clear();
    TfrmEditor* e = NewEditor();
    e->SetCaption(c.named ? "named.f" : "Source2.f");
    if (c.named) e->SetFileName(named);
    if (c.modified) e->SetText("      END\r\n");
    for (R a : c.answers) prompts.Answer(a);
    EXPECT_EQ(e->close(), c.closes);
    EXPECT_EQ(host.batchClose, c.batchAfter);
    EXPECT_EQ(host.noToAll, c.noToAllAfter);
    EXPECT_EQ(host.savedAs, c.savedAs);
    ASSERT_EQ(prompts.asked.size(), c.answers.size());
    if (!c.answers.empty()) {
      const TMessageRequest& q = prompts.asked[0];
      EXPECT_EQ(q.Kind, TMsgDlgType::Confirmation);
      EXPECT_EQ(q.Text, Str(TStr::strSaveChanges) + "\r\n\r\n" +
                            (c.named ? "named.f" : "Source2.f") + "\r\n");
      EXPECT_EQ(q.Buttons.Has(TMsgDlgBtn::NoToAll), c.batch);
      EXPECT_TRUE(q.Defaults.Empty());
    }
    if (!c.named && c.answers == std::vector<R>{R::Yes}) {
      EXPECT_EQ(host.dialogProposals, std::vector<std::string>{"Source2.f"});
    }
  }
}

TEST_F(TEditorWindow, UntitledEmptyTextClosesWithoutAskingButTypedAndDeletedAsks) {
  TfrmEditor* e = NewEditor();
  e->SetCaption("Source1.f");
  EXPECT_TRUE(e->close());
  TfrmEditor* f = NewEditor();
  f->SetCaption("Source2.f");
  Type(f, "A");
  Key(f, Qt::Key_Backspace);
  prompts.Answer(TModalResult::No);
  EXPECT_TRUE(f->close());
  EXPECT_EQ(prompts.asked.size(), 1u);
}

// ---- typed characters and the code page ----

TEST_F(TEditorWindow, TypedCharactersAreStoredInTheActivePage) {
  struct TCase {
    bool ansi;
    QString typed;
    std::string stored;
  };
  const std::vector<TCase> cases = {
      {false, QString::fromUtf8("\u00E9"), "\x82"},
      {true, QString::fromUtf8("\u00E9"), "\xE9"},
      {false, QString::fromUtf8("\u20AC"), ""},  // code page 850 has no euro sign
      {true, QString::fromUtf8("\u20AC"), "\x80"},
      {false, QString::fromUtf8("\u2591"), "\xB0"},  // a shade block only code page 850 has
      {true, QString::fromUtf8("\u2591"), ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.typed.toStdString() + (c.ansi ? " ansi" : " oem"));
    WriteBool(sidANSIText, c.ansi);
    TfrmEditor* e = NewEditor();
    Type(e, c.typed);
    EXPECT_EQ(e->Line(1), c.stored);
  }
}

// ---- edit commands ----

TEST_F(TEditorWindow, EditCommandsFollowTheirEnablingRules) {
  TfrmEditor* e = NewEditor();
  EXPECT_FALSE(e->CanUndo());
  EXPECT_FALSE(e->HasSelection());
  Type(e, "ABC");
  EXPECT_TRUE(e->CanUndo());
  e->SelectAll();
  EXPECT_TRUE(e->HasSelection());
  e->Cut();
  EXPECT_EQ(e->Line(1), "");
  EXPECT_TRUE(e->CanPaste());
  e->Paste();
  e->Paste();
  EXPECT_EQ(e->Line(1), "ABCABC");
  e->SetCaret(1, 1);
  e->Clear();
  EXPECT_EQ(e->Line(1), "BCABC");
  e->Undo();
  EXPECT_EQ(e->Line(1), "ABCABC");
  EXPECT_TRUE(e->CanRedo());
  e->Redo();
  EXPECT_EQ(e->Line(1), "BCABC");
}

TEST_F(TEditorWindow, ReplacePromptAsksWithTheSearchedText) {
  TfrmEditor* e = NewEditor();
  prompts.Answer(TModalResult::YesToAll);
  EXPECT_EQ(e->AskReplace("GOTO"), static_cast<int>(TModalResult::YesToAll));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].Text, "Replace this occurrence of 'GOTO'");
  EXPECT_TRUE(prompts.asked[0].Buttons.Has(TMsgDlgBtn::YesToAll));
}

TEST_F(TEditorWindow, ActivationFollowsTheActiveChildWindow) {
  QMdiArea area;
  TfrmEditor* a = NewEditor();
  TfrmEditor* b = NewEditor();
  std::vector<std::string> events;
  for (auto [e, name] : {std::pair{a, "a"}, std::pair{b, "b"}}) {
    QObject::connect(e, &TfrmEditor::Activated,
                     [&events, n = std::string(name)] { events.push_back("+" + n); });
    QObject::connect(e, &TfrmEditor::Deactivated,
                     [&events, n = std::string(name)] { events.push_back("-" + n); });
  }
  QMdiSubWindow* sa = area.addSubWindow(a);
  QMdiSubWindow* sb = area.addSubWindow(b);
  sa->setAttribute(Qt::WA_DeleteOnClose, false);
  sb->setAttribute(Qt::WA_DeleteOnClose, false);
  area.resize(600, 400);
  area.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
  area.setActiveSubWindow(sa);
  events.clear();
  const int selectedBefore = host.selected;
  area.setActiveSubWindow(sb);
  EXPECT_EQ(events, (std::vector<std::string>{"-a", "+b"}));
  EXPECT_EQ(host.selected, selectedBefore + 1);
  area.removeSubWindow(a);
  area.removeSubWindow(b);
  delete sa;
  delete sb;
}

// ---- build support and lifetime ----

TEST_F(TEditorWindow, ProgramFileAndTemporarySourceNames) {
  TfrmEditor* e = NewEditor();
  const std::string source = dir / "prog.f";
  e->SetFileName(source);
  EXPECT_EQ(e->TempSourceName(), dir.Path() + "/~prog.f");
  EXPECT_EQ(e->ProgramFile(), dir.Path() + "/prog");
  EXPECT_FALSE(e->CompiledFileExists());
  dir.Write("prog", "");
  e->SetFileName(source);
  EXPECT_TRUE(e->CompiledFileExists());
}

TEST_F(TEditorWindow, DestructionStopsTheJobAndTellsTheHost) {
  TfrmEditor* e = NewEditor();
  e->SetRunningThread(reinterpret_cast<TBaseThread*>(e));  // any non-null job
  editors.clear();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"StopJob", "RemoveFileNode",
                                                  "RemoveEditorMessages", "EditorDestroyed"}));
}

}  // namespace
}  // namespace vortan::test
