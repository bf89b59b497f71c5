// The build actions end to end: the real ftnchek and gfortran driven through the main window,
// offscreen, with scripted answers.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QMdiSubWindow>
#include <QProcess>

#include <chrono>
#include <thread>

#include "i18n/parlax.h"
#include "jobs/ui/mainthreadcall.h"
#include "pipelinefixture.h"

namespace vortan::test {
namespace {

namespace fs = std::filesystem;

// A syntax error that ftnchek places at line 4, column 17.
const char* const kSyntaxError =
    "      PROGRAM BROKEN\n"
    "      INTEGER I\n"
    "      I = 1\n"
    "      I = I + * 2\n"
    "      PRINT *, I\n"
    "      END\n";

// Clean for both tools but for an unused variable, which both report as a warning.
std::string Hello(const std::string& word) {
  return "      PROGRAM HELLO\n"
         "      INTEGER J\n"
         "      PRINT *, '" +
         word +
         "'\n"
         "      END\n";
}

// One error, warnings on lines 5, 12 (twice) and 13 in the report order 8, 5, 13, 12, 12,
// and detail lines below them.
const char* const kMixed =
    "      PROGRAM MIXED\n"
    "      INTEGER I, J, K\n"
    "      REAL X\n"
    "      I = 1\n"
    "      K = J\n"
    "      X = 2.5\n"
    "      CALL SUB(I, X)\n"
    "      I = I + * 2\n"
    "      PRINT *, I, X, K\n"
    "      CALL SUB(I, I)\n"
    "      END\n"
    "      SUBROUTINE SUB(A, B)\n"
    "      INTEGER A, B, C\n"
    "      A = B\n"
    "      END\n";

std::string RunProgram(const std::string& program) {
  QProcess p;
  p.start(QFile::decodeName(QByteArray::fromStdString(program)), {});
  if (!p.waitForFinished(10000)) return "<did not end>";
  return p.readAllStandardOutput().trimmed().toStdString();
}

// Processes of this test program still running the named executable.
int ChildrenRunning(const std::string& exe) {
  int count = 0;
  DIR* proc = ::opendir("/proc");
  while (dirent* d = proc ? ::readdir(proc) : nullptr) {
    const std::string pid = d->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string stat = ReadFile("/proc/" + pid + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 2));
    char state = 0;
    int ppid = 0;
    rest >> state >> ppid;
    std::error_code ec;
    if (ppid == ::getpid() && state != 'Z' &&
        fs::read_symlink("/proc/" + pid + "/exe", ec).string() == exe)
      ++count;
  }
  if (proc) ::closedir(proc);
  return count;
}

// A run job stand-in: works until it is stopped.
class TRunningJob : public TBaseThread {
 public:
  TRunningJob() : TBaseThread(QtMainThreadCall()) {}

 protected:
  void Execute() override {
    while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ResultCode = jrTerminated;
    DoError();
  }
};

using BuildActions = PipelineFixture;

TEST_F(BuildActions, AnalyzeStopsAtASyntaxErrorAndOpensItsLine) {
  TfrmEditor* e = Open(dir_.Write("broken.f", kSyntaxError));
  TfrmProcess* form = Trigger("actAnalyze");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->FileLabel()->text().toStdString(), "broken.f");

  EXPECT_EQ(WaitOutcome(form), "Done.       Errors encountered.");
  SettleDeletes();
  EXPECT_EQ(Pipeline().ProcessForm(), nullptr) << "the window closes by itself";
  EXPECT_EQ(main_->ActiveEditor(), e);
  EXPECT_EQ(e->ErrorLines(), std::vector<int>{4});
  EXPECT_EQ(e->CaretLine(), 4);
  EXPECT_EQ(e->CaretColumn(), 17);
  QTreeWidget* tree = main_->MessagesTree();
  ASSERT_GE(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0).toStdString(),
            "[Error] broken.f(4): syntax error, unexpected '*'");
  EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{tree->topLevelItem(0)});
  EXPECT_TRUE(main_->MessagesWindow()->isVisible());
  EXPECT_FALSE(fs::exists(dir_ / "broken")) << "analyzer errors stop before compiling";
}

TEST_F(BuildActions, MessagesAreErrorsFirstThenByLineWithDetailsInReportOrder) {
  Open(dir_.Write("mixed.f", kMixed));
  TfrmProcess* form = Trigger("actAnalyze");
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(WaitOutcome(form), "Done.       Errors encountered.");
  EXPECT_EQ(TopLevelTexts(),
            (std::vector<std::string>{
                "[Error] mixed.f(8): syntax error, unexpected '*'",
                "[Warning] mixed.f(5): Variables used before set",
                "[Warning] mixed.f(12): Subprogram SUB argument data type mismatch at position 2:",
                "[Warning] mixed.f(12): Subprogram SUB argument usage mismatch at position 1:",
                "[Warning] mixed.f(13): Variables declared but never referenced:",
            }));
  QTreeWidgetItem* mismatch = main_->MessagesTree()->topLevelItem(2);
  ASSERT_EQ(mismatch->childCount(), 2);
  EXPECT_EQ(mismatch->child(0)->text(0).toStdString(), "Dummy arg B in module SUB is type intg");
  EXPECT_EQ(mismatch->child(1)->text(0).toStdString(), "Actual arg X in module MIXED is type real");
}

// The kinds' labels come from the language file, in its 8-bit code page: an accented label
// shows its accent in the Messages tree, from the analyzer and from the compiler alike.
TEST_F(BuildActions, KindLabelsOfTheLanguageShowTheirAccentsInMessages) {
  TParlax language;
  language.LoadFromText("STRINGS {\n strError = Err\xF4\n strWarning = Avis\xE9\n}\n");
  language.Active = true;
  LoadStringTable(language);
  WriteString(sidAdditionalCompilerOptionsParameters, "-g -Wall");
  auto texts = [this] {
    std::vector<std::string> all;
    QTreeWidget* tree = main_->MessagesTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
      all.push_back(tree->topLevelItem(i)->text(0).toStdString());
      for (int c = 0; c < tree->topLevelItem(i)->childCount(); ++c)
        all.push_back(tree->topLevelItem(i)->child(c)->text(0).toStdString());
    }
    return all;
  };
  struct Case {
    const char* action;
    std::string file, source, entry;
  } cases[] = {
      {"actAnalyze", "mixed.f", kMixed, "[Errô] mixed.f(8): syntax error, unexpected '*'"},
      {"actCompile", "hello.f", Hello("x"), "[Avisé] hello.f(2:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    Open(dir_.Write(c.file, c.source));
    WaitOutcome(Trigger(c.action));
    const std::vector<std::string> shown = texts();
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const std::string& t) {
      return t.starts_with(c.entry);
    })) << ::testing::PrintToString(shown);
    if (TfrmProcess* form = Pipeline().ProcessForm()) form->Cancel();
    SettleDeletes();
  }
  ResetStringTable();
}

struct TCompileCase {
  const char* Name;
  const char* Dir;
  const char* File;
};
void PrintTo(const TCompileCase& c, std::ostream* os) { *os << c.Name; }

class CompileClean : public PipelineFixture, public ::testing::WithParamInterface<TCompileCase> {};

TEST_P(CompileClean, EndsCompiledFillsTheOutputAndLeavesTheProgram) {
  WriteString(sidAdditionalCompilerOptionsParameters, "-g -Wall");
  const std::string dir = dir_.MakeDir(GetParam().Dir) + "/";
  const std::string source = dir + GetParam().File;
  std::ofstream(source) << Hello("hello");
  Open(source);
  TfrmProcess* form = Trigger("actCompile");
  ASSERT_NE(form, nullptr);

  EXPECT_EQ(WaitOutcome(form), "Done.       Compiled.");
  EXPECT_EQ(form->CancelButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(form->findChild<QLabel*>("Label2")->text(), QStringLiteral("1")) << "one warning";
  EXPECT_NE(Pipeline().Output().Text().find("Unused variable"), std::string::npos)
      << Pipeline().Output().Text();
  const std::string program = platform::ProgramFileOf(source);
  EXPECT_EQ(RunProgram(program), "hello");

  EXPECT_FALSE(main_->OutputWindow()->isVisible());
  form->CancelButton()->click();
  SettleDeletes();
  EXPECT_EQ(Pipeline().ProcessForm(), nullptr);
  EXPECT_TRUE(main_->OutputWindow()->isVisible()) << "closing shows the Output panel";
}

INSTANTIATE_TEST_SUITE_P(Paths, CompileClean,
                         ::testing::Values(TCompileCase{"Plain", "plain", "hello.f"},
                                           TCompileCase{"Blanks", "with blanks", "my prog.f"},
                                           TCompileCase{"Quotes", "a \"quoted\" dir's",
                                                        "it's \"q\".f"}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TTempCase {
  bool Untitled;
};
void PrintTo(const TTempCase& c, std::ostream* os) { *os << (c.Untitled ? "Untitled" : "Saved"); }

class TemporaryCopy : public PipelineFixture, public ::testing::WithParamInterface<TTempCase> {};

TEST_P(TemporaryCopy, AnUnsavedDocumentIsBuiltFromItsTildeCopyAndTheProgramTakesItsName) {
  TfrmEditor* e = nullptr;
  std::string dir, name;
  if (GetParam().Untitled) {
    e = main_->NewSourceFile();
    dir = tmp_;
    name = e->Caption().toStdString();
  } else {
    dir = dir_.Path() + "/";
    name = "prog.f";
    e = Open(dir_.Write(name, Hello("old")));
    dir_.Write("prog", "an older program");
  }
  e->SetText(Hello("new"));
  e->SetModified(true);
  prompts_.Answer(TModalResult::No);

  TfrmProcess* form = Trigger("actCompile");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WaitOutcome(form), "Done.       Compiled.");

  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].Text, Str(TStr::strMsgSaveBeforeContinue));
  EXPECT_TRUE(prompts_.asked[0].HasCheckBox);
  const std::string copy = dir + "~" + name;
  EXPECT_EQ(ReadFile(copy), e->Text());
  EXPECT_NE(std::find(main_->TempFiles().begin(), main_->TempFiles().end(), copy),
            main_->TempFiles().end());
  const std::string program = platform::ProgramFileOf(dir + name);
  EXPECT_FALSE(fs::exists(platform::ProgramFileOf(copy)));
  EXPECT_EQ(RunProgram(program), "new");
  EXPECT_TRUE(e->Modified());
  if (!GetParam().Untitled) {
    EXPECT_EQ(ReadFile(dir + name), Hello("old"));
  }
  // Messages of the copy belong to the document and show its name.
  ASSERT_FALSE(TopLevelTexts().empty());
  EXPECT_EQ(TopLevelTexts()[0],
            "[Warning] " + name + "(2): Variables declared but never referenced:");
  EXPECT_EQ(Pipeline().Messages().DataOf(main_->MessagesTree()->topLevelItem(0))->Editor, e);
}

INSTANTIATE_TEST_SUITE_P(Documents, TemporaryCopy,
                         ::testing::Values(TTempCase{false}, TTempCase{true}),
                         [](const auto& info) {
                           return std::string(info.param.Untitled ? "Untitled" : "Saved");
                         });

TEST_F(BuildActions, CancelWhileTheAnalyzerHangsCountsDownAndEndsTerminated) {
  // The analyzer's place holds a tool that never ends and never writes.
  fs::remove(install_ + "Bin/ftnchek");
  dir_.Write("install/Bin/ftnchek", "#!/bin/sh\nexec '" VORTAN_FAKETOOL "' hang\n");
  fs::permissions(install_ + "Bin/ftnchek", fs::perms::owner_all);
  Open(dir_.Write("hello.f", Hello("hello")));
  TfrmProcess* form = Trigger("actAnalyze");
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([] { return ChildrenRunning(VORTAN_FAKETOOL) == 1; }, 10000));
  EXPECT_EQ(form->Message(), "Running Analyzer...");

  form->CancelButton()->click();
  EXPECT_EQ(form->Message(), "Waiting process to terminate... 15");
  EXPECT_FALSE(form->CancelButton()->isEnabled());
  EXPECT_TRUE(form->MessageLabel()->font().bold());

  EXPECT_EQ(WaitOutcome(form), "Error.       Terminated by user.");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->CancelButton()->isEnabled(); }, 5000));
  EXPECT_EQ(form->CancelButton()->text(), QStringLiteral("OK"));
  EXPECT_FALSE(form->Waiting());
  EXPECT_EQ(ChildrenRunning(VORTAN_FAKETOOL), 0);
  EXPECT_EQ(main_->StatusPanel(3)->text(), QString());
}

class MissingAnalyzer : public PipelineFixture {
 protected:
  std::vector<std::string> Tools() const override { return {"gfortran"}; }
};

TEST_F(MissingAnalyzer, AnalyzeIsDisabledAndCompileEndsWithCantExecuteAnalyzer) {
  Open(dir_.Write("hello.f", Hello("hello")));
  main_->UpdateActions();
  EXPECT_FALSE(main_->Action("actAnalyze")->isEnabled());
  TfrmProcess* form = Trigger("actCompile");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WaitOutcome(form), "Error.       Can't execute Analyzer.");
  EXPECT_FALSE(fs::exists(dir_ / "hello"));
}

TEST_F(BuildActions, AnAnalyzerThatCannotReadTheFileIsAFailureWithTheReasonShown) {
  // An untitled, empty document has no file to read.
  main_->NewSourceFile();
  TfrmProcess* form = Trigger("actCompile");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WaitOutcome(form), "Error.       Analyzer failure.");
  EXPECT_NE(Pipeline().Output().Text().find("Cannot open file " + tmp_ + "Source1.f"),
            std::string::npos)
      << Pipeline().Output().Text();
}

TEST_F(BuildActions, WhileItsProgramRunsOnlyAnalyzeAndStopAreOpenToTheDocument) {
  TfrmEditor* e = Open(dir_.Write("hello.f", Hello("hello")));
  auto* job = new TRunningJob;
  bool ended = false;
  job->OnFinished = [&](TBaseThread&) {
    e->SetRunningThread(nullptr);
    ended = true;
  };
  e->SetRunningThread(job);
  job->Start();
  main_->UpdateActions();
  for (const char* name : {"actCompile", "actCompileandRun", "actRun"})
    EXPECT_FALSE(main_->Action(name)->isEnabled()) << name;
  EXPECT_TRUE(main_->Action("actAnalyze")->isEnabled());
  EXPECT_TRUE(main_->Action("actStop")->isEnabled());

  main_->Action("actStop")->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ended; }, 5000));
  main_->UpdateActions();
  EXPECT_FALSE(main_->Action("actStop")->isEnabled());
  EXPECT_TRUE(main_->Action("actCompile")->isEnabled());
}

TEST_F(BuildActions, AJobOfAnEarlierActionNoLongerReachesThePipeline) {
  Open(dir_.Write("hello.f", Hello("hello")));
  auto* job = new TRunningJob;
  int calls = 0;
  TBaseThread::TNotify earlier = Pipeline().Guarded([&](TBaseThread&) { ++calls; });
  earlier(*job);
  EXPECT_EQ(calls, 1);
  TfrmProcess* form = Trigger("actAnalyze");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WaitOutcome(form), "Done.       Analyzed.");
  earlier(*job);
  EXPECT_EQ(calls, 1);
  // The job deletes itself once its end has reached the interface thread.
  bool ended = false;
  job->OnFinished = [&](TBaseThread&) { ended = true; };
  job->Start();
  job->RequestStop();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ended; }, 5000));
}

TEST_F(BuildActions, CancelInTheSaveQuestionStartsNothing) {
  TfrmEditor* e = Open(dir_.Write("hello.f", Hello("hello")));
  e->SetText(Hello("changed"));
  e->SetModified(true);
  prompts_.Answer(TModalResult::Cancel);
  Trigger("actCompile");
  EXPECT_EQ(Pipeline().ProcessForm(), nullptr);
  EXPECT_FALSE(fs::exists(dir_ / "~hello.f"));
}

}  // namespace
}  // namespace vortan::test
