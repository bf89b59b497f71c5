// An editor window as a user sees it: a fixed-form program in colour with both guide lines,
// line numbers, a bookmark and a marked error line. With VORTAN_SCREENSHOT set the picture is
// saved there (scripts/editor-screenshot.sh runs this under Xvfb).
#include <QPainter>

#include "editor/ui/streaksynedit.h"
#include "editorfixture.h"
#include "support/framedshot.h"

namespace vortan::test {
namespace {

// Lines of the program; those with a sequence number get it in columns 73 to 80.
const std::vector<std::pair<std::string, std::string>> kProgram = {
    {"C     NEWTON'S METHOD FOR THE SQUARE ROOT OF A NUMBER", "NEWT0010"},
    {"C     READS A, PRINTS SQRT(A) TO A RELATIVE TOLERANCE OF 1.0D-10", "NEWT0020"},
    {"      PROGRAM NEWTON", ""},
    {"      IMPLICIT NONE", ""},
    {"      DOUBLE PRECISION A, X, XOLD, TOL", ""},
    {"      INTEGER ITER, MAXIT", ""},
    {"      PARAMETER (TOL = 1.0D-10, MAXIT = 50)", ""},
    {"*", ""},
    {"      WRITE (*, '(A)') 'Number whose square root you''d like:'", ""},
    {"      READ (*, *) A", ""},
    {"      IF (A .LT. 0.0D0) THEN", ""},
    {"         PRINT *, \"A must not be negative\"", ""},
    {"         STOP", ""},
    {"      END IF", ""},
    {"      X = A", ""},
    {"      DO 10 ITER = 1, MAXIT", ""},
    {"         XOLD = X", ""},
    {"         X = 0.5D0 * (X + A / X", ""},
    {"         IF (ABS(X - XOLD) .LE. TOL * ABS(X)) GO TO 20", ""},
    {"   10 CONTINUE", ""},
    {"      PRINT *, 'No convergence after ', MAXIT, ' steps'", ""},
    {"   20 WRITE (*, 100) A, X, ITER", ""},
    {"  100 FORMAT (1X, 'SQRT(', F12.4, ') = ', F16.10,", ""},
    {"     &        ' AFTER ', I3, ' STEPS')", "NEWT0240"},
    {"      END", ""},
};

std::string ProgramText() {
  std::string text;
  for (const auto& [line, sequence] : kProgram) {
    text += line;
    if (!sequence.empty()) text += std::string(72 - line.size(), ' ') + sequence;
    text += "\r\n";
  }
  return text;
}

using TScreenshot = EditorFixture;

TEST_F(TScreenshot, EditorWithGuidesBookmarkAndErrorLine) {
  TfrmEditor* e = NewEditor();
  e->SetCaption("newton.f");
  ASSERT_TRUE(e->LoadFromFile(dir.Write("newton.f", ProgramText())));
  e->resize(760, 470);
  e->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(e));
  e->activateWindow();
  e->SynEdit()->setFocus();
  e->SetBookmark(1, 16, 7);
  e->MarkErrorLine(18);
  e->SetCaret(19, 40);
  QApplication::processEvents();

  TStreakSynEdit* s = e->SynEdit();
  s->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0ul, -1l);
  const QImage text = s->viewport()->grab().toImage();
  const int bottom = text.height() - 4;
  const QColor silver(192, 192, 192);
  EXPECT_EQ(QColor(text.pixel(s->StreakX(6), bottom)), silver);
  EXPECT_EQ(QColor(text.pixel(s->StreakX(72), bottom)), silver);
  auto lineY = [&](int line) {
    return static_cast<int>(
        s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0ul,
                         s->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                          static_cast<unsigned long>(line - 1))));
  };
  EXPECT_EQ(QColor(text.pixel(s->StreakX(50), lineY(18) + 3)), QColor(128, 0, 0));
  EXPECT_EQ(QColor(text.pixel(s->StreakX(72), lineY(18) + 3)), silver)
      << "guides lie over the error line";
  const int mark =
      lineY(16) +
      (static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0ul)) - 14) / 2;
  EXPECT_EQ(QColor(text.pixel(3, mark + 1)), QColor(255, 220, 96));

  const QByteArray target = qgetenv("VORTAN_SCREENSHOT");
  if (!target.isEmpty()) {
    const QImage framed = test::Framed(e);
    EXPECT_TRUE(framed.save(QString::fromLocal8Bit(target)));
  }
}

}  // namespace
}  // namespace vortan::test
