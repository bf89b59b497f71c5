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

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "jobs/ui/livecheckcontrol.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/pipeline.h"
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
  EXPECT_NE(marks.TipAt(lineStart + 8).find("gfortran: "), std::string::npos);
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
    QToolTip::showText(view->mapToGlobal(at), QString::fromStdString(marks.TipAt(lineStart + 8)),
                       view);
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
  EXPECT_EQ(marks.TipAt(Sci(QsciScintillaBase::SCI_POSITIONFROMLINE, 3)), "");

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

}  // namespace
}  // namespace vortan
