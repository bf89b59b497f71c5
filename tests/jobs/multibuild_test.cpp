// Compile All and Analyze all on the real compiler and analyzer, with a program of three files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "jobs/analyzerrun.h"
#include "jobs/analyzethread.h"
#include "jobs/buildallthread.h"
#include "jobs/commandline.h"
#include "jobs/multifilefixture.h"
#include "jobs/outputthread.h"
#include "jobs/testmainthread.h"
#include "support/tempdir.h"

using namespace vortan;
using namespace vortan::test;

namespace {

bool OnPath(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

TBuildSource Saved(const std::string& file) {
  TBuildSource s;
  s.Document = s.Source = file;
  return s;
}

struct TBuildOutcome {
  bool done = false;
  TJobResult result = jrUnknownFailure;
  std::vector<bool> ran;
  bool compiled = false, linked = false, linkSkipped = false;
  std::string transcript;
};

class MultiBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("gfortran")) GTEST_SKIP() << "gfortran is not installed";
    tools.Compiler = "gfortran";
    tools.ObjectDir = dir.MakeDir("obj") + "/";
  }

  TBuildOutcome Build(const std::vector<TBuildSource>& set, unsigned parallel = 0) {
    TBuildOutcome out;
    auto* job = new TBuildAllThread(main.Dispatcher());
    job->Plan = MakeBuildPlan(set, tools);
    job->Parallel = parallel;
    auto record = [&out](TBaseThread& j) {
      auto& b = static_cast<TBuildAllThread&>(j);
      out.result = b.ResultCode;
      for (const TToolRun& r : b.Compiles) out.ran.push_back(r.Ran);
      out.compiled = b.Compiled();
      out.linked = b.Linked();
      out.linkSkipped = b.LinkSkipped();
      out.transcript = b.Transcript();
    };
    job->OnSuccess = record;
    job->OnError = record;
    job->OnFinished = [&out](TBaseThread&) { out.done = true; };
    job->Start();
    EXPECT_TRUE(main.RunUntil([&] { return out.done; }));
    return out;
  }

  std::string RunProgram(const std::string& program) {
    std::string output;
    bool done = false;
    auto* job = new TOutputThread(main.Dispatcher());
    job->ProgramPath = QuoteArgument(program);
    job->OnSuccess = [&](TBaseThread& j) { output = static_cast<TOutputThread&>(j).Output; };
    job->OnFinished = [&](TBaseThread&) { done = true; };
    job->Start();
    EXPECT_TRUE(main.RunUntil([&] { return done; }));
    return output;
  }

  TTempDir dir;
  TBuildTools tools;
  TTestMainThread main;
};

TEST_F(MultiBuild, LinksRunsAndRecompilesOnlyTheChangedFile) {
  const std::vector<TBuildSource> set = {Saved(dir.Write("prog/main.f", MainFile)),
                                         Saved(dir.Write("prog/subs.f", SubsFile)),
                                         Saved(dir.Write("prog/stats.for", StatsFile))};
  const TBuildOutcome cold = Build(set);
  ASSERT_EQ(cold.result, jrOK) << cold.transcript;
  EXPECT_EQ(cold.ran, (std::vector<bool>{true, true, true}));
  ASSERT_TRUE(cold.linked) << cold.transcript;
  EXPECT_EQ(RunProgram(dir / "prog/main"), ExpectedOutput);

  std::string subs = SubsFile;
  subs.replace(subs.find("COUNT + 2"), 9, "COUNT + 3");
  dir.Write("prog/subs.f", subs);
  const TBuildOutcome warm = Build(set);
  EXPECT_EQ(warm.ran, (std::vector<bool>{false, true, false}));
  EXPECT_NE(warm.transcript.find("subs.f"), std::string::npos);
  EXPECT_EQ(warm.transcript.find("main.f"), std::string::npos) << warm.transcript;
  EXPECT_EQ(RunProgram(dir / "prog/main"), " TOTAL =  18.0 COUNT =  6\n");

  const TBuildOutcome same = Build(set);
  EXPECT_EQ(same.ran, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(same.linkSkipped);
  EXPECT_TRUE(same.transcript.empty()) << same.transcript;
}

TEST_F(MultiBuild, FilesOfOneNameInTwoFoldersKeepTheirOwnObjects) {
  const std::string main =
      dir.Write("app/main.f", "      PROGRAM TWO\n      CALL UONE\n      CALL UTWO\n      END\n");
  const std::string one =
      dir.Write("one/util.f", "      SUBROUTINE UONE\n      PRINT *, 'first'\n      END\n");
  const std::string two =
      dir.Write("two/util.f", "      SUBROUTINE UTWO\n      PRINT *, 'second'\n      END\n");
  const TBuildOutcome out = Build({Saved(main), Saved(one), Saved(two)});
  ASSERT_TRUE(out.linked) << out.transcript;
  EXPECT_EQ(RunProgram(dir / "app/main"), " first\n second\n");
  const TBuildPlan plan = MakeBuildPlan({Saved(one), Saved(two)}, tools);
  EXPECT_NE(plan.Units[0].Object, plan.Units[1].Object);
  EXPECT_TRUE(plan.Units[0].UpToDate && plan.Units[1].UpToDate);
}

TEST_F(MultiBuild, AFailedCompileLinksNothingAndRemovesTheOldProgram) {
  const std::string main = dir.Write("main.f", MainFile);
  const std::string subs = dir.Write("subs.f", SubsFile);
  const std::string stats = dir.Write("stats.f", StatsFile);
  ASSERT_TRUE(Build({Saved(main), Saved(subs), Saved(stats)}).linked);
  ASSERT_TRUE(std::filesystem::exists(dir / "main"));

  dir.Write("subs.f", "      SUBROUTINE ADDUP(A, B)\n      A = = B\n      END\n");
  const TBuildOutcome out = Build({Saved(main), Saved(subs), Saved(stats)});
  EXPECT_EQ(out.result, jrOK);
  EXPECT_FALSE(out.compiled);
  EXPECT_FALSE(out.linked);
  EXPECT_NE(out.transcript.find("subs.f:2"), std::string::npos) << out.transcript;
  EXPECT_FALSE(std::filesystem::exists(dir / "main"));
  // The broken file is compiled again next time even though its text has not changed.
  EXPECT_FALSE(MakeBuildPlan({Saved(subs)}, tools).Units[0].UpToDate);
}

TEST_F(MultiBuild, ManyFilesInParallelAndStopEndsTheCompilers) {
  std::vector<TBuildSource> set = {
      Saved(dir.Write("main.f", "      PROGRAM MANY\n      CALL S0\n      END\n"))};
  for (int i = 0; i < 12; ++i)
    set.push_back(Saved(dir.Write("s" + std::to_string(i) + ".f",
                                  "      SUBROUTINE S" + std::to_string(i) + "\n      END\n")));
  const TBuildOutcome out = Build(set, 3);
  EXPECT_TRUE(out.linked) << out.transcript;

  tools.Compiler = VORTAN_FAKETOOL;
  tools.Format = "hang";
  tools.ObjectDir = dir.MakeDir("obj2") + "/";
  bool done = false;
  TJobResult result = jrOK;
  auto* job = new TBuildAllThread(main.Dispatcher());
  job->Plan = MakeBuildPlan(set, tools);
  std::atomic<int> started{0};
  job->OnCompiling = [&](const std::string&) { ++started; };
  job->OnError = [&](TBaseThread& j) { result = j.ResultCode; };
  job->OnFinished = [&](TBaseThread&) { done = true; };
  job->Start();
  ASSERT_TRUE(main.RunUntil([&] { return started >= 2; }));
  job->RequestStop();
  ASSERT_TRUE(main.RunUntil([&] { return done; }));
  EXPECT_EQ(result, jrTerminated);
}

// --- Analyze all -------------------------------------------------------------------------

struct TWindow {
  std::string file;
};

class THost : public TAnalyzerHost {
 public:
  TAnalyzerKeywords Keywords() override { return TAnalyzerKeywords(); }
  TfrmEditor* EditorFor(const std::string& file) override {
    opened.push_back(file);
    return nullptr;
  }
  std::string Caption(TfrmEditor* e) override { return reinterpret_cast<TWindow*>(e)->file; }
  void BeginMessages() override {}
  void AddMessages(std::vector<TMessageNode> entries) override {
    for (auto& e : entries) top.push_back(std::move(e));
  }
  void EndMessages() override {}
  std::vector<TMessageNode> top;
  std::vector<std::string> opened;
};

TfrmEditor* Ref(TWindow& w) { return reinterpret_cast<TfrmEditor*>(&w); }

class AnalyzeAll : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("ftnchek")) GTEST_SKIP() << "ftnchek is not installed";
  }

  // Runs the analyzer over the files and parses its report, the windows given beside them.
  void Analyze(std::vector<std::pair<std::string, TfrmEditor*>> files) {
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.first);
    const TAnalyzerRun run =
        MakeAnalyzerRun("ftnchek", "-nonovice -quiet -wrap=999 %s %s", "", names, dir.Path());
    bool captured = false;
    std::string report;
    auto* capture = new TOutputThread(main.Dispatcher());
    run.ApplyTo(*capture, names.front());
    capture->OnSuccess = [&](TBaseThread& j) { report = static_cast<TOutputThread&>(j).Output; };
    capture->OnFinished = [&](TBaseThread&) { captured = true; };
    capture->Start();
    ASSERT_TRUE(main.RunUntil([&] { return captured; }));

    bool parsed = false;
    auto* parse = new TAnalyzeThread(main.Dispatcher(), &host);
    parse->SetReport(report);
    parse->AnalyzedFiles = std::move(files);
    parse->OnSuccess = [&](TBaseThread& j) { hits = static_cast<TAnalyzeThread&>(j).HitCount; };
    parse->OnFinished = [&](TBaseThread&) { parsed = true; };
    parse->Start();
    ASSERT_TRUE(main.RunUntil([&] { return parsed; }));
  }

  const TMessageNode* Find(const std::string& words) const {
    for (const TMessageNode& n : host.top)
      if (n.Data.Text.find(words) != std::string::npos) return &n;
    return nullptr;
  }

  TTempDir dir;
  TTestMainThread main;
  THost host;
  int hits = 0;
};

TEST_F(AnalyzeAll, MismatchesAcrossFilesUnderTheFileAndLineTheyName) {
  TWindow mainW{dir.Write("main.f", MainWithArgumentMismatch())};
  TWindow subsW{dir.Write("subs.f", SubsFile)};
  // The stats window is modified: its temporary copy is what the analyzer reads.
  TWindow statsW{dir / "stats.f"};
  dir.Write("stats.f", StatsFile);
  const std::string statsCopy = dir.Write("~stats.f", StatsWithCommonMismatch());
  Analyze({{mainW.file, Ref(mainW)}, {subsW.file, Ref(subsW)}, {statsCopy, Ref(statsW)}});

  struct Expect {
    const char* words;
    TfrmEditor* editor;
    int line;
    TfrmEditor* otherEditor;
    int otherLine;
  };
  const Expect expects[] = {
      {"Common block STATS data type mismatch", Ref(mainW), 4, Ref(statsW), 4},
      {"Subprogram ADDUP argument data type mismatch", Ref(subsW), 2, Ref(mainW), 8},
  };
  for (const Expect& e : expects) {
    const TMessageNode* top = Find(e.words);
    ASSERT_NE(top, nullptr) << e.words;
    EXPECT_EQ(top->Data.Kind, mkWarning) << e.words;
    EXPECT_EQ(top->Data.Editor, e.editor) << e.words;
    EXPECT_EQ(top->Data.Line, e.line) << e.words;
    bool seen = false;
    for (const TMessageNode& child : top->Children)
      if (child.Data.Editor == e.otherEditor && child.Data.Line == e.otherLine) seen = true;
    EXPECT_TRUE(seen) << e.words << ": no detail at the other file's line";
  }
  EXPECT_GE(hits, 2);
  EXPECT_TRUE(host.opened.empty()) << host.opened.front();
}

TEST_F(AnalyzeAll, TwoHundredFilesInOneRun) {
  std::vector<TWindow> windows(200);
  std::vector<std::pair<std::string, TfrmEditor*>> files;
  windows[0].file = dir.Write("main.f", "      PROGRAM MANY\n      CALL S1(1)\n      END\n");
  for (int i = 1; i < 200; ++i)
    windows[i].file = dir.Write(
        "s" + std::to_string(i) + ".f",
        "      SUBROUTINE S" + std::to_string(i) + "(X)\n      REAL X\n      X = 0\n      END\n");
  for (TWindow& w : windows) files.push_back({w.file, Ref(w)});
  Analyze(files);
  const TMessageNode* mismatch = Find("argument data type mismatch");
  ASSERT_NE(mismatch, nullptr);
  EXPECT_EQ(mismatch->Data.Editor, Ref(windows[1]));
  EXPECT_TRUE(host.opened.empty());
}

}  // namespace
