// The main window after an Analyze that found errors, and the progress window while a long
// compile runs. With VORTAN_SCREENSHOT_DIR set the pictures are saved there
// (scripts/pipeline-screenshot.sh runs this under Xvfb).
#include <QMdiSubWindow>
#include <QPainter>

#include "pipelinefixture.h"
#include "support/framedshot.h"

namespace vortan::test {
namespace {

const char* const kNewton =
    "C     NEWTON'S METHOD FOR THE SQUARE ROOT OF A NUMBER\n"
    "      PROGRAM NEWTON\n"
    "      DOUBLE PRECISION A, X, XOLD, TOL\n"
    "      INTEGER ITER, MAXIT, UNUSED\n"
    "      PARAMETER (TOL = 1.0D-10, MAXIT = 50)\n"
    "      READ (*, *) A\n"
    "      X = A\n"
    "      DO 10 ITER = 1, MAXIT\n"
    "         XOLD = X\n"
    "         X = 0.5D0 * (X + A / X))\n"
    "         IF (ABS(X - XOLD) .LE. TOL * ABS(X)) GO TO 20\n"
    "   10 CONTINUE\n"
    "   20 PRINT *, 'SQRT = ', X, ' AFTER ', ITER, ' STEPS'\n"
    "      CALL SHOW(X, ITER)\n"
    "      END\n"
    "      SUBROUTINE SHOW(Y, N)\n"
    "      INTEGER Y, N\n"
    "      PRINT *, Y, N\n"
    "      END\n";

std::string LongProgram() {
  std::string t = "      PROGRAM BIG\n      DOUBLE PRECISION S\n      S = 0.0D0\n";
  for (int i = 0; i < 20000; ++i)
    t += "      S = S * 0.999D0 + " + std::to_string(i % 97) + ".25D0\n";
  return t + "      PRINT *, S\n      END\n";
}

void Save(const QImage& image, const char* name) {
  const QByteArray dir = qgetenv("VORTAN_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  EXPECT_TRUE(image.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name)));
}

using PipelineScreenshot = PipelineFixture;

TEST_F(PipelineScreenshot, MessagesAfterAnAnalyzeWithErrors) {
  main_->resize(900, 720);
  TfrmEditor* e = Open(dir_.Write("newton.f", kNewton));
  main_->SubWindowOf(e)->showMaximized();
  TfrmProcess* form = Trigger("actAnalyze");
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(WaitOutcome(form), "Done.       Errors encountered.");
  SettleDeletes();
  ASSERT_FALSE(e->ErrorLines().empty());
  main_->MessagesTree()->expandAll();
  main_->resizeDocks({main_->MessagesWindow()}, {210}, Qt::Vertical);
  QApplication::processEvents();
  Save(Framed(main_.get()), "pipeline-messages.png");
}

TEST_F(PipelineScreenshot, ProgressWhileCompiling) {
  main_->resize(900, 640);
  TfrmEditor* e = Open(dir_.Write("big.f", LongProgram()));
  main_->SubWindowOf(e)->showMaximized();
  TfrmProcess* form = Trigger("actCompile");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->Message() == "Compiling..."; }, 30000));
  QApplication::processEvents();
  QImage shot = Framed(main_.get());
  {
    const QImage dialog = Framed(form);
    QPainter p(&shot);
    const QPoint at = form->geometry().topLeft() - main_->geometry().topLeft();
    p.drawImage(at, dialog);
  }
  Save(shot, "progress.png");
  EXPECT_EQ(WaitOutcome(form), "Done.       Compiled.");
}

}  // namespace
}  // namespace vortan::test
