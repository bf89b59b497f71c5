// Compile All and Analyze all from the Run menu, end to end on the real tools.
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <algorithm>

#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "jobs/multifilefixture.h"
#include "jobs/pipelinefixture.h"
#include "jobs/ui/steprunner.h"
#include "shell/actionregistry.h"

namespace vortan::test {
namespace {

class AllFiles : public PipelineFixture {
 protected:
  std::string Output() { return Pipeline().Output().Text(); }

  const TMessageNode* Entry(const std::string& words) {
    for (const TMessageNode& n : Pipeline().Messages().List().Top())
      if (n.Data.Text.find(words) != std::string::npos) return &n;
    return nullptr;
  }
};

TEST_F(AllFiles, BothCommandsAreInTheRunMenuAndNeedAnOpenEditor) {
  main_->UpdateActions();
  for (const char* name : {"actCompileAll", "actAnalyzeAll"}) {
    QAction* a = main_->Action(name);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible()) << name;
    EXPECT_FALSE(a->isEnabled()) << name << " with no editor";
    EXPECT_TRUE(main_->Menu("Run")->actions().contains(a)) << name;
  }
  EXPECT_EQ(main_->Action("actCompileAll")->shortcut(),
            QKeySequence(QStringLiteral("Shift+Ctrl+F9")));
  Open(dir_.Write("p/main.f", MainFile));
  main_->UpdateActions();
  EXPECT_TRUE(main_->Action("actCompileAll")->isEnabled());
  EXPECT_TRUE(main_->Action("actAnalyzeAll")->isEnabled());
}

TEST_F(AllFiles, CompileAllLinksExecuteRunsItAndOnlyAChangedFileIsCompiledAgain) {
  TfrmEditor* mainEditor = Open(dir_.Write("p/main.f", MainFile));
  Open(dir_.Write("p/subs.f", SubsFile));
  TfrmEditor* stats = Open(dir_.Write("p/stats.for", StatsFile));
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll")), Str(TStr::strCompiled)) << Output();
  ASSERT_TRUE(std::filesystem::exists(dir_ / "p/main")) << Output();
  EXPECT_NE(Output().find("stats.for"), std::string::npos) << Output();

  // An unsaved change goes through the temporary copy; only that file is compiled again.
  if (TfrmProcess* f = Pipeline().ProcessForm()) f->close();
  std::string text = StatsFile;
  text.replace(text.find("' TOTAL ='"), 10, "' SUM ='  ");
  stats->SetText(text);
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll")), Str(TStr::strCompiled)) << Output();
  EXPECT_NE(Output().find("~stats.for"), std::string::npos) << Output();
  EXPECT_EQ(Output().find("main.f"), std::string::npos) << Output();
  EXPECT_EQ(Output().find("subs.f"), std::string::npos) << Output();
  if (TfrmProcess* f = Pipeline().ProcessForm()) f->close();

  // Execute on the main file runs the linked program.
  main_->ActivateEditor(mainEditor);
  ASSERT_TRUE(QTest::qWaitFor([&] { return mainEditor->CompiledFileExists(); }, 5000));
  std::string printed;
  {
    std::string error;
    const std::string out = dir_ / "printed.txt";
    ASSERT_EQ(std::system(("'" + (dir_ / "p/main") + "' > '" + out + "'").c_str()), 0);
    printed = ReadFile(out);
  }
  EXPECT_EQ(printed, " SUM =  18.0 COUNT =  4\n");
  main_->UpdateActions();
  EXPECT_TRUE(main_->Action("actRun")->isEnabled());
}

TEST_F(AllFiles, ASecondMainProgramOrNoneIsSaidAndNothingIsLinked) {
  Open(dir_.Write("p/main.f", MainFile));
  Open(dir_.Write("p/subs.f", SubsFile));
  Open(dir_.Write("p/other.f", OtherMainFile));
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll")), Str(TStr::strManyMainPrograms));
  EXPECT_NE(Output().find(dir_ / "p/other.f"), std::string::npos) << Output();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "p/main"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "p/other"));
}

// The LU solver of the reference LAPACK as a user opens it: DGETRF2 is a RECURSIVE
// SUBROUTINE, which must not count as a second main program beside the driver.
TEST_F(AllFiles, TheReferenceLapackSolverLinksAndSolvesAFourByFourSystem) {
  const std::string lapack = VORTAN_LAPACK_CORPUS;
  if (!std::filesystem::is_directory(lapack + "/SRC"))
    GTEST_SKIP() << "no reference LAPACK sources at " << lapack << " (VORTAN_LAPACK_CORPUS)";
  const char* const closure[] = {
      "SRC/dgesv.f",      "SRC/dgetrf.f",      "SRC/dgetrf2.f",    "SRC/dgetrs.f",
      "SRC/dlaswp.f",     "SRC/ilaenv.f",      "SRC/ieeeck.f",     "SRC/iparmq.f",
      "SRC/xerbla.f",     "BLAS/SRC/lsame.f",  "INSTALL/dlamch.f", "BLAS/SRC/dgemm.f",
      "BLAS/SRC/dtrsm.f", "BLAS/SRC/idamax.f", "BLAS/SRC/dscal.f", "BLAS/SRC/dswap.f",
  };
  for (const char* file : closure) {
    ASSERT_TRUE(std::filesystem::exists(lapack + "/" + file)) << file;
    Open(lapack + "/" + file);
  }
  // A x = b with x = (1, 2, 3, 4); the first column makes the LU take row interchanges.
  Open(dir_.Write("p/solve.f",
                  "      PROGRAM SOLVE\n"
                  "      INTEGER N\n"
                  "      PARAMETER (N = 4)\n"
                  "      DOUBLE PRECISION A(N, N), B(N)\n"
                  "      INTEGER IPIV(N), INFO, I\n"
                  "      DATA A / 1.0D0, 4.0D0, 2.0D0, 3.0D0,\n"
                  "     &         5.0D0, 1.0D0, 2.0D0, 1.0D0,\n"
                  "     &         2.0D0, 1.0D0, 6.0D0, 2.0D0,\n"
                  "     &         1.0D0, 3.0D0, 1.0D0, 7.0D0 /\n"
                  "      DATA B / 21.0D0, 21.0D0, 28.0D0, 39.0D0 /\n"
                  "      CALL DGESV(N, 1, A, N, IPIV, B, N, INFO)\n"
                  "      WRITE (*, '(A, I2)') ' INFO =', INFO\n"
                  "      WRITE (*, '(4F8.3)') (B(I), I = 1, N)\n"
                  "      END\n"));
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll"), 300000), Str(TStr::strCompiled)) << Output();
  ASSERT_TRUE(std::filesystem::exists(dir_ / "p/solve")) << Output();
  const std::string out = dir_ / "printed.txt";
  ASSERT_EQ(std::system(("'" + (dir_ / "p/solve") + "' > '" + out + "'").c_str()), 0);
  EXPECT_EQ(ReadFile(out), " INFO = 0\n   1.000   2.000   3.000   4.000\n");
}

TEST_F(AllFiles, AnalyzeAllPutsCrossFileMismatchesUnderTheirFilesAndLines) {
  TfrmEditor* mainEditor = Open(dir_.Write("p/main.f", MainWithArgumentMismatch()));
  TfrmEditor* subs = Open(dir_.Write("p/subs.f", SubsFile));
  TfrmEditor* stats = Open(dir_.Write("p/stats.f", StatsWithCommonMismatch()));
  EXPECT_EQ(WaitOutcome(Trigger("actAnalyzeAll")), Str(TStr::strAnalyzed));
  struct Expect {
    const char* words;
    TfrmEditor* editor;
    int line;
    TfrmEditor* other;
    int otherLine;
  };
  const Expect expects[] = {
      {"Common block STATS data type mismatch", mainEditor, 4, stats, 4},
      {"Subprogram ADDUP argument data type mismatch", subs, 2, mainEditor, 8},
  };
  for (const Expect& e : expects) {
    const TMessageNode* top = Entry(e.words);
    ASSERT_NE(top, nullptr) << e.words;
    EXPECT_EQ(top->Data.Editor, e.editor) << e.words;
    EXPECT_EQ(top->Data.Line, e.line) << e.words;
    bool seen = false;
    for (const TMessageNode& c : top->Children)
      seen |= c.Data.Editor == e.other && c.Data.Line == e.otherLine;
    EXPECT_TRUE(seen) << e.words;
  }
  EXPECT_EQ(main_->Editors().size(), 3u) << "no window opened for a file already open";
}

TEST_F(AllFiles, BadInputIsToldAndNothingIsLost) {
  prompts_.AnswerAlways(TModalResult::No);
  // The notes come from a translation in Windows-1252 and show decoded in the Output panel.
  TParlax language;
  language.LoadFromText(
      "STRINGS {\n  strMsgNotFortran = Deixado de fora, n\xe3o \xe9 Fortran: %s\n}\n");
  language.Active = true;
  LoadStringTable(language);
  struct TReset {
    ~TReset() { ResetStringTable(); }
  } reset;
  TfrmEditor* mainEditor = Open(dir_.Write("p/main.f", MainFile));
  Open(dir_.Write("p/notes.txt", "not Fortran\n"));
  TfrmEditor* gone = Open(dir_.Write("p/subs.f", SubsFile));
  std::filesystem::remove(dir_ / "p/subs.f");
  TfrmEditor* untitled = main_->NewSourceFile();
  untitled->SetText(StatsFile);
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll")), Str(TStr::strCompiled)) << Output();
  EXPECT_NE(Output().find("Deixado de fora, n\u00e3o \u00e9 Fortran: " + (dir_ / "p/notes.txt")),
            std::string::npos)
      << Output();
  EXPECT_NE(Output().find(FormatStr(Str(TStr::strMsgMissingOnDisk), {dir_ / "p/subs.f"})),
            std::string::npos)
      << Output();
  EXPECT_TRUE(std::filesystem::exists(dir_ / "p/main"));
  // The texts stay in their windows; the file that went stays gone until the user saves it.
  EXPECT_EQ(gone->Text(), SubsFile);
  std::string kept = untitled->Text();  // a new document writes CR LF line ends
  kept.erase(std::remove(kept.begin(), kept.end(), '\r'), kept.end());
  EXPECT_EQ(kept, StatsFile);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "p/subs.f"));
  if (TfrmProcess* f = Pipeline().ProcessForm()) f->close();

  EXPECT_EQ(WaitOutcome(Trigger("actAnalyzeAll")), Str(TStr::strAnalyzed)) << Output();
  (void)mainEditor;
}

TEST_F(AllFiles, TwoHundredOpenFilesAnalyzeAndCompile) {
  Open(dir_.Write("many/main.f", "      PROGRAM MANY\n      CALL S1\n      END\n"));
  for (int i = 1; i < 200; ++i)
    main_->OpenSourceFile(dir_.Write("many/s" + std::to_string(i) + ".f",
                                     "      SUBROUTINE S" + std::to_string(i) + "\n      END\n"),
                          true);
  ASSERT_EQ(main_->Editors().size(), 200u);
  EXPECT_EQ(WaitOutcome(Trigger("actAnalyzeAll"), 120000), Str(TStr::strAnalyzed));
  if (TfrmProcess* f = Pipeline().ProcessForm()) f->close();
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll"), 300000), Str(TStr::strCompiled)) << Output();
  EXPECT_TRUE(std::filesystem::exists(dir_ / "many/main"));
}

TEST_F(AllFiles, ACompileErrorMarksItsLineInItsEditor) {
  Open(dir_.Write("p/main.f", MainFile));
  TfrmEditor* subs =
      Open(dir_.Write("p/subs.f", "      SUBROUTINE ADDUP(A, B)\n      A = = B\n      END\n"));
  Open(dir_.Write("p/stats.f", StatsFile));
  EXPECT_EQ(WaitOutcome(Trigger("actCompileAll")), Str(TStr::strErrorsEncountered));
  EXPECT_EQ(subs->ErrorLines(), std::vector<int>{2});
  EXPECT_FALSE(std::filesystem::exists(dir_ / "p/main"));
}

}  // namespace
}  // namespace vortan::test
