// Findings as you type in the main window, with the real gfortran and ftnchek: the marks in
// the text, how they follow and leave edits, the Live group and Next Finding.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "jobs/ui/livecheckcontrol.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/pipeline.h"
#include "platform/codepage.h"
#include "platform/filebytes.h"
#include "support/mainwindowfixture.h"

namespace vortan {
namespace {

const char kGood[] =
    "      PROGRAM T\n"
    "      INTEGER I\n"
    "      I = 1\n"
    "      PRINT *, I\n"
    "      END\n";
const char kTyped[] =
    "      PROGRAM T\n"
    "      INTEGER I\n"
    "      I = 1 + (\n"
    "      PRINT *, I\n"
    "      END\n";

class LiveCheckGui : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    if (std::system("gfortran --version >/dev/null 2>&1") != 0 ||
        std::system("ftnchek -version >/dev/null 2>&1 </dev/null") < 0)
      GTEST_SKIP() << "gfortran or ftnchek missing";
    WriteInteger(sidLiveCheckDelay, 200);
    file_ = dir_.Write("prog.f", kGood);
    editor_ = main_->Documents().Open(file_);
    ASSERT_NE(editor_, nullptr);
    main_->LiveCheck().Shown = [this](TfrmEditor*) { ++shown_; };
  }
  // Sets the text as typing would and waits for the check after the pause.
  void TypeAndWait(const std::string& text) {
    const int before = shown_;
    editor_->SetText(text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown_ > before; }, 15000));
  }
  long Sci(unsigned msg, long w = 0, long l = 0) {
    return editor_->SynEdit()->SendScintilla(msg, static_cast<unsigned long>(w), l);
  }
  bool HasLiveGroup() {
    for (const TMessageNode& n : main_->Pipeline().Messages().List().Top())
      if (n.Data.Text == "Live") return true;
    return false;
  }

  std::string file_;
  TfrmEditor* editor_ = nullptr;
  int shown_ = 0;
};

TEST_F(LiveCheckGui, TypedErrorIsMarkedFollowsInsertedLinesAndGoesWithItsLine) {
  TypeAndWait(kTyped);
  TLiveMarks& marks = editor_->SynEdit()->LiveMarks();
  const std::vector<long> marked = marks.MarkedLines();
  ASSERT_FALSE(marked.empty());
  ASSERT_EQ(marked.front(), 2);
  EXPECT_TRUE(Sci(QsciScintillaBase::SCI_MARKERGET, 2) & (1L << marks::kLiveErrorMarker));
  // The underline sits on the line's text, at a column the tools named.
  const long lineStart = Sci(QsciScintillaBase::SCI_POSITIONFROMLINE, 2);
  bool underlined = false;
  for (long p = lineStart + 6; p < Sci(QsciScintillaBase::SCI_GETLINEENDPOSITION, 2); ++p)
    underlined =
        underlined || Sci(QsciScintillaBase::SCI_INDICATORVALUEAT, marks::kLiveErrorIndicator, p);
  EXPECT_TRUE(underlined);
  EXPECT_TRUE(marks.TipAt(lineStart + 8).startsWith("gfortran: "));
  EXPECT_TRUE(HasLiveGroup());
  // Unsaved text was checked; the file is as it was.
  std::string bytes, why;
  ASSERT_TRUE(platform::ReadFileBytes(file_, bytes, why));
  EXPECT_EQ(bytes, kGood);

  if (const char* shot = std::getenv("VORTAN_LIVE_SHOT")) {
    Sci(QsciScintillaBase::SCI_GOTOPOS, lineStart);
    const QPoint at(
        static_cast<int>(Sci(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, lineStart + 12)),
        static_cast<int>(Sci(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, lineStart + 12)) + 14);
    QWidget* view = editor_->SynEdit()->viewport();
    QToolTip::showText(view->mapToGlobal(at), marks.TipAt(lineStart + 8), view);
    QTest::qWait(300);
    // The whole screen, so the tip (a window of its own) is in the picture on a real display.
    QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    (screen.isNull() ? main_->grab() : screen).save(QString::fromLocal8Bit(shot));
  }

  // Next Finding lands on the underline; from there Previous Finding goes round to it again.
  Sci(QsciScintillaBase::SCI_GOTOPOS, 0);
  ASSERT_TRUE(marks.Step(true));
  EXPECT_EQ(editor_->SynEdit()->CaretLine(), 3);
  ASSERT_TRUE(marks.Step(false));
  EXPECT_EQ(editor_->SynEdit()->CaretLine(), marked.size() > 1 ? marked.back() + 1 : 3);

  // With checks off, the marks stay as they are and only the edits move or remove them.
  WriteBool(sidLiveCheck, false);
  Sci(QsciScintillaBase::SCI_INSERTTEXT, 0, reinterpret_cast<long>("C new line\n"));
  std::vector<long> moved = marked;
  for (long& line : moved) ++line;
  EXPECT_EQ(marks.MarkedLines(), moved);
  Sci(QsciScintillaBase::SCI_INSERTTEXT, Sci(QsciScintillaBase::SCI_POSITIONFROMLINE, 3) + 10,
      reinterpret_cast<long>("2"));
  moved.erase(moved.begin());
  EXPECT_EQ(marks.MarkedLines(), moved);
  EXPECT_TRUE(marks.TipAt(Sci(QsciScintillaBase::SCI_POSITIONFROMLINE, 3)).isEmpty());

  // The fix clears the marks and the Live group.
  WriteBool(sidLiveCheck, true);
  TypeAndWait(kGood);
  for (long line : marks.MarkedLines())
    EXPECT_FALSE(Sci(QsciScintillaBase::SCI_MARKERGET, line) & (1L << marks::kLiveErrorMarker));
}

TEST_F(LiveCheckGui, AnEditDuringACheckCancelsItsResult) {
  editor_->SetText(kTyped);
  main_->LiveCheck().CheckNow();
  // Typed before the check can end: only the check of this text may mark anything.
  TypeAndWait(kGood);
  QTest::qWait(0);
  for (long line : editor_->SynEdit()->LiveMarks().MarkedLines())
    EXPECT_FALSE(Sci(QsciScintillaBase::SCI_MARKERGET, line) & (1L << marks::kLiveErrorMarker));
}

// The tools get the document's own bytes (its code page, its line breaks), made in the worker
// from the copy taken at the pause; what they say and the translated group name show decoded.
TEST_F(LiveCheckGui, TheToolsReadTheDocumentsBytesAndTheirWordsShowDecoded) {
  // Windows-1252: a comment with "é" and the group named "Ao vivo (análise)".
  TParlax language;
  language.LoadFromText("STRINGS {\n  strLiveGroup = Ao vivo (an\xe1lise)\n}\n");
  language.Active = true;
  LoadStringTable(language);
  struct TReset {
    ~TReset() { ResetStringTable(); }
  } reset;

  const std::string seen = dir_ / "seen.f";
  // Copies the file it is given and finds one error in it, in UTF-8 like a compiler in a UTF-8
  // locale; the analyzer is left out.
  const std::string compiler = dir_.Write("fakefc",
                                          "#!/bin/sh\n"
                                          "for a; do last=$a; done\n"
                                          "cp \"$last\" '" +
                                              seen +
                                              "'\n"
                                              "printf '%s:3:7:\\n\\nError: S\xc3\xadmbolo "
                                              "\xe2\x80\x98I\xe2\x80\x99 \\n' \"$last\"\n");
  std::filesystem::permissions(compiler, std::filesystem::perms::owner_all);
  main_->LiveCheck().ToolsFromSettings = [compiler] {
    TLiveTools tools;
    tools.Compiler = compiler;
    return tools;
  };
  const std::string crlf = "C caf\xe9\r\n      PROGRAM T\r\n      I = 1 +\r\n      END\r\n";
  main_->Documents().CloseAll();
  editor_ = main_->Documents().Open(dir_.Write("ansi.f", crlf));
  ASSERT_NE(editor_, nullptr);
  editor_->SynEdit()->SetCodePage(platform::TCodePage::Ansi);
  ASSERT_EQ(editor_->LineBreak(), TLineBreak::CRLF);
  TypeAndWait(crlf + "C fim\r\n");

  std::string bytes, why;
  ASSERT_TRUE(platform::ReadFileBytes(seen, bytes, why));
  EXPECT_EQ(bytes, editor_->Text());
  EXPECT_EQ(bytes, crlf + "C fim\r\n");
  const long lineStart = Sci(QsciScintillaBase::SCI_POSITIONFROMLINE, 2);
  EXPECT_TRUE(editor_->SynEdit()->LiveMarks().TipAt(lineStart).contains(
      QString::fromUtf8("S\u00edmbolo \u2018I\u2019")))
      << editor_->SynEdit()->LiveMarks().TipAt(lineStart).toStdString();
  bool group = false;
  for (const TMessageNode& n : main_->Pipeline().Messages().List().Top())
    group = group || n.Data.Text == "Ao vivo (an\u00e1lise)";
  EXPECT_TRUE(group);
}

// Junk and a very large file: typing goes on while checks run, a check that runs too long is
// cut and said once, and nothing of the user's text or file is lost.
TEST_F(LiveCheckGui, JunkAndAMillionLinesAreCheckedWithoutLosingAnything) {
  prompts_.AnswerAlways(TModalResult::OK);  // the warning about NUL bytes in the junk
  main_->LiveCheck().ToolsFromSettings = [] {
    TLiveTools tools = LiveToolsFromSettings();
    tools.TimeLimitMs = 1500;
    return tools;
  };
  std::string junk;
  unsigned seed = 7;
  for (int i = 0; i < 65536; ++i) {
    seed = seed * 1103515245u + 12345u;
    junk += static_cast<char>(seed >> 16);
  }
  std::string big = "      PROGRAM BIG\n      REAL X\n";
  for (int i = 0; i < 999997; ++i) big += "      X = " + std::to_string(i % 1000) + ".0\n";
  big += "      END\n";

  for (const auto& [name, bytes] : {std::pair{"junk.f", junk}, std::pair{"big.f", big}}) {
    SCOPED_TRACE(name);
    const std::string file = dir_.Write(name, bytes);
    editor_ = main_->Documents().Open(file);
    ASSERT_NE(editor_, nullptr);
    const std::string loaded = editor_->Text();
    const int before = shown_;
    // A key, a pause long enough to start a check, then more keys while it runs.
    Sci(QsciScintillaBase::SCI_INSERTTEXT, 0, reinterpret_cast<long>("C"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return main_->LiveCheck().Checking() || shown_ > before; }, 5000));
    const int during = shown_;
    Sci(QsciScintillaBase::SCI_INSERTTEXT, 1, reinterpret_cast<long>("C"));
    EXPECT_FALSE(main_->LiveCheck().Checking()) << "the edit drops the check under way";
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown_ > during; }, 30000));
    EXPECT_EQ(editor_->Text(), "CC" + loaded);
    std::string disk, why;
    ASSERT_TRUE(platform::ReadFileBytes(file, disk, why));
    EXPECT_EQ(disk, bytes);
    const long lines = Sci(QsciScintillaBase::SCI_GETLINECOUNT);
    for (long line : editor_->SynEdit()->LiveMarks().MarkedLines()) EXPECT_LT(line, lines);
  }
  // The compiler takes longer than allowed over a million lines: said once, in Messages (the
  // analyzer may be cut too on a busy machine, and is then said once as well).
  std::map<std::string, int> said;
  for (const TMessageNode& n : main_->Pipeline().Messages().List().Top())
    if (n.Data.Text.find("ran longer than allowed") != std::string::npos)
      ++said[n.Data.Text.find("gfortran") != std::string::npos ? "gfortran" : n.Data.Text];
  EXPECT_EQ(said["gfortran"], 1);
  for (const auto& [text, times] : said) EXPECT_EQ(times, 1) << text;
}

// With the "Analyze all" scope the other open windows are analyzed with the active one, so a
// call that disagrees with a subroutine in another window shows as the user types it; the
// other window's unsaved text counts, not its file.
TEST_F(LiveCheckGui, TheOpenSetScopeShowsAMismatchWithAnotherWindowAsItIsTyped) {
  TfrmEditor* sub = main_->Documents().Open(dir_.Write("sub.f",
                                                       "      SUBROUTINE S(A, B)\n"
                                                       "      INTEGER A, B\n"
                                                       "      PRINT *, A, B\n"
                                                       "      END\n"));
  ASSERT_NE(sub, nullptr);
  sub->SetText(
      "      SUBROUTINE S(A)\n"
      "      INTEGER A\n"
      "      PRINT *, A\n"
      "      END\n");
  editor_ = main_->Documents().Open(file_);
  main_->ActivateEditor(editor_);
  const std::string call =
      "      PROGRAM T\n"
      "      CALL S(1, 2)\n"
      "      END\n";
  auto mismatch = [this] {
    for (const TMessageNode& group : main_->Pipeline().Messages().List().Top())
      for (const TMessageNode& n : group.Children)
        if (n.Data.Text.find("number of arguments") != std::string::npos) return true;
    return false;
  };
  WriteBool(sidLiveCheckAnalyzeAll, false);
  TypeAndWait(call);
  EXPECT_FALSE(mismatch());
  WriteBool(sidLiveCheckAnalyzeAll, true);
  TypeAndWait(call + "C\n");
  EXPECT_TRUE(mismatch());
}

// The mouse resting on an underline shows the finding, and the tip stays when the toolkit's
// own tip moment comes later (the debugger's value tip has nothing to say then).
TEST_F(LiveCheckGui, ATipOverAFindingStaysWhileTheMouseRests) {
  TypeAndWait(kTyped);
  QWidget* view = editor_->SynEdit()->viewport();
  struct TToolTipEvents : QObject {
    int seen = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      seen += e->type() == QEvent::ToolTip;
      return false;
    }
  } events;
  view->installEventFilter(&events);
  const long at = Sci(QsciScintillaBase::SCI_POSITIONFROMLINE, 2) + 12;
  const QPoint point(static_cast<int>(Sci(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, at)),
                     static_cast<int>(Sci(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, at)) + 4);
  main_->activateWindow();
  QTest::mouseMove(view, point - QPoint(3, 0));
  QTest::mouseMove(view, point);
  ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
  EXPECT_TRUE(QToolTip::text().startsWith("gfortran: ")) << QToolTip::text().toStdString();
  ASSERT_TRUE(QTest::qWaitFor([&] { return events.seen > 0; }, 5000));
  // A tip that is hidden goes a moment later, not at once.
  EXPECT_FALSE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 1000));
  EXPECT_TRUE(QToolTip::text().startsWith("gfortran: "));
  view->removeEventFilter(&events);
}

}  // namespace
}  // namespace vortan
