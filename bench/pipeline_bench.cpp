// The build actions against the tools themselves: for a small program and a generated program
// of 20,000 lines, the time the IDE's Analyze and Compile take (action to outcome shown)
// beside the time of the same ftnchek and gfortran command lines run directly, in the same
// run; the time a report of 10,000 messages takes from the parse job's start until the
// Messages tree shows it; and the time 10,000 compiler findings take to be read and shown.
//
// Runs offscreen: pipeline_bench [runs] [compileall]   (compileall: only the Compile All rows)

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "jobs/analyzerrun.h"
#include "jobs/commandline.h"
#include "jobs/ui/mainthreadcall.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/parsejob.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/processform.h"
#include "platform/platform.h"
#include "shell/mainwindow.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace vortan;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::string Small() {
  return "      PROGRAM HELLO\n"
         "      INTEGER I\n"
         "      DO 10 I = 1, 3\n"
         "         PRINT *, 'Hello', I\n"
         "   10 CONTINUE\n"
         "      END\n";
}

// A main program calling 200 subroutines of 100 lines each.
std::string Large(int lines) {
  const int perSub = 100;
  const int subs = lines / perSub;
  std::string t = "      PROGRAM BIG\n      DOUBLE PRECISION S\n      S = 0.0D0\n";
  for (int k = 1; k <= subs; ++k) t += "      CALL SUB" + std::to_string(k) + "(S)\n";
  t += "      PRINT *, S\n      END\n";
  for (int k = 1; k <= subs; ++k) {
    t += "      SUBROUTINE SUB" + std::to_string(k) + "(S)\n";
    t += "      DOUBLE PRECISION S\n      INTEGER I\n";
    t += "      DO 10 I = 1, 10\n         S = S + DBLE(I) * 1.5D0\n   10 CONTINUE\n";
    for (int i = 0; i < perSub - 7; ++i)
      t += "      S = S * 0.999D0 + " + std::to_string(i % 97) + ".25D0\n";
    t += "      END\n";
  }
  return t;
}

// The command line a capture job starts, run directly: the same program, arguments,
// directory and environment.
double RunDirect(const std::string& program, const std::string& parameters, const std::string& dir,
                 const QProcessEnvironment& env) {
  std::vector<std::string> args = SplitCommandLine(QuoteArgument(program) + " " + parameters);
  QStringList qargs;
  for (std::size_t i = 1; i < args.size(); ++i) qargs << QString::fromLocal8Bit(args[i].c_str());
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.setWorkingDirectory(QString::fromLocal8Bit(dir.c_str()));
  p.setProcessEnvironment(env);
  const auto start = Clock::now();
  p.start(QString::fromLocal8Bit(args[0].c_str()), qargs);
  p.waitForFinished(-1);
  p.readAll();
  return Ms(start);
}

// Runs an action and waits until its outcome is shown.
double RunAction(TfrmMain& main, const char* action, const char* expected) {
  main.UpdateActions();
  const auto start = Clock::now();
  main.Action(action)->trigger();
  TfrmProcess* form = main.Pipeline().ProcessForm();
  if (form == nullptr) {
    std::printf("%s did not start\n", action);
    std::exit(1);
  }
  while (!form->Finished()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double ms = Ms(start);
  if (form->Message() != expected) {
    std::printf("%s ended with \"%s\"\n", action, form->Message().c_str());
    std::exit(1);
  }
  form->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return ms;
}

void Measure(TfrmMain& main, const std::string& dir, const std::string& name,
             const std::string& text, int runs) {
  const std::string source = dir + name;
  std::ofstream(source, std::ios::binary) << text;
  TfrmEditor* editor = main.OpenSourceFile(source);
  const int lines = editor->LineCount();

  const TAnalyzerRun analyzer = AnalyzerRunFromSettings(source);
  const std::string compiler = VortanExtension()->GetExtension(sidCompilerExtension);
  const std::string program = platform::ProgramFileOf(source);
  const std::string compilerParameters = FormatArguments(
      VortanFormat()->GetFormat(sidCompilerFormat),
      {ReadString(sidAdditionalCompilerOptionsParameters), QuoteArgument(source),
       QuoteArgument(program), ReadString(sidAdditionalCompilerLibrariesParameters)});
  QProcessEnvironment compilerEnv = QProcessEnvironment::systemEnvironment();
  const std::string bin = VortanPath()->GetPath(sidBinPath);
  compilerEnv.insert("PATH", QString::fromLocal8Bit(bin.c_str()) + ":" + compilerEnv.value("PATH"));
  compilerEnv.insert("LIBRARY_PATH",
                     QString::fromLocal8Bit(VortanPath()->GetPath(sidLibPath).c_str()));
  std::vector<std::string> analyzerArgs = SplitCommandLine(analyzer.ProgramPath);

  std::vector<double> ftnchek, gfortran, analyze, compile;
  for (int r = 0; r < runs; ++r) {
    ftnchek.push_back(RunDirect(analyzerArgs.empty() ? "" : analyzerArgs[0], analyzer.Parameters,
                                analyzer.WorkingDirectory,
                                QProcessEnvironment::systemEnvironment()));
    gfortran.push_back(RunDirect(compiler, compilerParameters, dir, compilerEnv));
    analyze.push_back(RunAction(main, "actAnalyze", "Done.       Analyzed."));
    compile.push_back(RunAction(main, "actCompile", "Done.       Compiled."));
  }
  const double f = Median(ftnchek), g = Median(gfortran), a = Median(analyze), c = Median(compile);
  std::printf("%s (%d lines), median of %d runs:\n", name.c_str(), lines, runs);
  std::printf("  ftnchek directly      %8.1f ms   IDE Analyze  %8.1f ms   added %6.1f ms\n", f, a,
              a - f);
  std::printf("  ftnchek + gfortran    %8.1f ms   IDE Compile  %8.1f ms   added %6.1f ms\n", f + g,
              c, c - (f + g));
  std::printf("  (gfortran alone       %8.1f ms)\n", g);
}

void MeasureMessages(TfrmMain& main, const std::string& dir, int messages, int runs) {
  const std::string source = dir + "many.f";
  std::ofstream(source) << Small();
  TfrmEditor* editor = main.OpenSourceFile(source);
  std::string report = "FTNCHEK Version 3.3 November 2004\nFile " + source + ":\n";
  for (int i = 1; i <= messages; ++i) {
    const char* kind = i % 3 == 0 ? "Error" : i % 3 == 1 ? "Warning" : "Possibly";
    report += "\"" + source + "\", line " + std::to_string((i * 7919) % 20000 + 1) +
              " col 7: " + kind + ": message number " + std::to_string(i) + "\n";
    report += "\"" + source + "\", line " + std::to_string(i) + ":    a detail line\n";
  }
  std::vector<double> times;
  TPipeline& pipeline = main.Pipeline();
  QTreeWidget* tree = main.MessagesTree();
  for (int r = 0; r < runs; ++r) {
    pipeline.Messages().Clear();
    bool done = false;
    const auto start = Clock::now();
    auto* job = new TParseJob(QtMainThreadCall(), &pipeline, &pipeline);
    job->SetReport(report);
    job->Editor = editor;
    job->FileName = source;
    job->EditorFileName = source;
    job->OnSuccess = [&](TBaseThread&) { done = true; };
    job->OnError = [&](TBaseThread&) { done = true; };
    job->Start();
    while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    tree->repaint();
    times.push_back(Ms(start));
    if (tree->topLevelItemCount() != messages) {
      std::printf("tree shows %d entries\n", tree->topLevelItemCount());
      std::exit(1);
    }
    QCoreApplication::processEvents();
  }
  std::printf(
      "report of %d messages (with a detail line each): parsed and shown in the tree "
      "in %.1f ms (median of %d)\n",
      messages, Median(times), runs);
}

// The compiler's text with `count` findings (each with its source line and caret, as gfortran
// 12 prints them), read and shown in the Messages tree as one Compile shows them.
void MeasureCompilerFindings(TfrmMain& main, const std::string& dir, int count, int runs) {
  const std::string source = dir + "findings.f";
  std::ofstream(source) << Small();
  TfrmEditor* editor = main.OpenSourceFile(source);
  std::string output;
  for (int i = 1; i <= count; ++i) {
    const std::string line = std::to_string((i * 7919) % 20000 + 1);
    output += source + ":" + line + ":9:\n\n" + std::string(5 - line.size() % 5, ' ') + line +
              " |       X = Y + * 2\n      |         1\n" +
              (i % 4 == 0 ? "Warning: Unused variable \u2018x\u2019 declared at (1)\n"
                          : "Error: Syntax error in expression at (1)\n");
  }
  TPipeline& pipeline = main.Pipeline();
  QTreeWidget* tree = main.MessagesTree();
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    pipeline.Messages().Clear();
    const auto start = Clock::now();
    pipeline.ShowCompilerFindings({{output, dir}}, {{source, source, std::string(), editor}},
                                  {editor});
    tree->repaint();
    times.push_back(Ms(start));
    if (tree->topLevelItemCount() != 1 || tree->topLevelItem(0)->childCount() != count) {
      std::printf("tree shows %d groups\n", tree->topLevelItemCount());
      std::exit(1);
    }
    QCoreApplication::processEvents();
  }
  std::printf(
      "compiler text of %d findings (source line and caret each): parsed and shown in "
      "the tree in %.1f ms (median of %d)\n",
      count, Median(times), runs);
}

}  // namespace

// Compile All of twenty reference BLAS files (with LSAME, XERBLA and a main program) open in
// editors, from the command to the outcome shown, cold and with one of them edited, beside
// `make -jN` (N = the processors) of the same compiles and link from a generated Makefile.
void MeasureCompileAll(TfrmMain& main, const std::string& dir, int runs) {
  const std::string blas = std::string(VORTAN_LAPACK_CORPUS) + "/BLAS/SRC/";
  if (!std::filesystem::exists(blas + "dgemm.f")) {
    std::printf("Compile All: skipped, the reference BLAS sources are not in %s\n", blas.c_str());
    return;
  }
  const char* const names[] = {"dgemm", "dtrsm",  "dsyrk", "dsymm", "dtrmm", "dgemv",
                               "dger",  "dsymv",  "dsyr",  "dsyr2", "dtrmv", "dtrsv",
                               "dgbmv", "dsbmv",  "dspmv", "dtbmv", "dtbsv", "dtpmv",
                               "dtpsv", "dsyr2k", "lsame", "xerbla"};
  const std::string ours = dir + "blas/", theirs = dir + "blas-make/";
  std::filesystem::create_directories(ours);
  std::filesystem::create_directories(theirs + "obj");
  const std::string mainText = "      PROGRAM MAIN\n      PRINT *, 'BLAS'\n      END\n";
  std::ofstream(ours + "main.f") << mainText;
  std::ofstream(theirs + "main.f") << mainText;
  const std::string options = ReadString(sidAdditionalCompilerOptionsParameters);
  std::string objects = " obj/main.o",
              rules = "obj/main.o: main.f\n\tgfortran " + options + " -c main.f -o obj/main.o\n";
  TfrmEditor* edited = nullptr;
  main.OpenSourceFile(ours + "main.f");
  for (const char* name : names) {
    const std::string file = std::string(name) + ".f";
    std::filesystem::copy_file(blas + file, ours + file);
    std::filesystem::copy_file(blas + file, theirs + file);
    TfrmEditor* e = main.OpenSourceFile(ours + file);
    if (std::string(name) == "dsyr2k") edited = e;
    objects += " obj/" + std::string(name) + ".o";
    rules += "obj/" + std::string(name) + ".o: " + file + "\n\tgfortran " + options + " -c " +
             file + " -o obj/" + name + ".o\n";
  }
  std::ofstream(theirs + "Makefile")
      << "main:" << objects << "\n\tgfortran -o main" << objects << "\n"
      << rules;
  main.OpenSourceFile(ours + "main.f");
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  auto make = [&] {
    const auto start = Clock::now();
    const std::string command =
        "make -s -C " + theirs + " -j" + std::to_string(cores) + " > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) std::printf("failed: %s\n", command.c_str());
    return Ms(start);
  };
  std::vector<double> cold, warm, makeCold, makeWarm;
  for (int r = 0; r < runs; ++r) {
    // Cold: no objects of ours (they live in the temporary folder) and none of make's.
    std::filesystem::remove_all(dir + "tmp");
    std::filesystem::create_directories(dir + "tmp");
    std::filesystem::remove_all(theirs + "obj");
    std::filesystem::create_directories(theirs + "obj");
    cold.push_back(RunAction(main, "actCompileAll", "Done.       Compiled."));
    makeCold.push_back(make());
    edited->SetText(edited->Text() + "C     edited in round " + std::to_string(r) + "\n");
    std::ofstream(theirs + "dsyr2k.f", std::ios::app) << "C     edited\n";
    warm.push_back(RunAction(main, "actCompileAll", "Done.       Compiled."));
    makeWarm.push_back(make());
  }
  std::printf("Compile All of %zu BLAS files + main, median of %d runs:\n", std::size(names), runs);
  std::printf("  cold            IDE %8.1f ms   make -j%u %8.1f ms   ratio %.2f\n", Median(cold),
              cores, Median(makeCold), Median(cold) / Median(makeCold));
  std::printf("  one file edited IDE %8.1f ms   make -j%u %8.1f ms   ratio %.2f\n", Median(warm),
              cores, Median(makeWarm), Median(warm) / Median(makeWarm));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const bool onlyCompileAll = argc > 2 && std::string(argv[2]) == "compileall";

  char dirTemplate[] = "/tmp/pipeline-bench-XXXXXX";
  const std::string dir = std::string(::mkdtemp(dirTemplate)) + "/";
  const std::string install = dir + "install/";
  std::filesystem::create_directories(install + "Bin");
  std::filesystem::create_directories(dir + "tmp");
  for (const char* tool : {"ftnchek", "gfortran"})
    std::filesystem::create_symlink(std::string("/usr/bin/") + tool, install + "Bin/" + tool);
  OpenStore(dir + "store.sqlite");
  WriteString(sidTempPath, dir + "tmp/");
  // Nothing to ask: the documents are saved.
  WriteBool(sidAutoshowOutputWindow, false);
  {
    TVortanPath paths(Store(), install);
    TVortanExtension extensions(paths, Store());
    TVortanFormat formats(Store());
    SetVortanPath(&paths);
    SetVortanExtension(&extensions);
    SetVortanFormat(&formats);
    {
      TfrmMain main;
      main.show();
      QCoreApplication::processEvents();
      if (!onlyCompileAll) {
        Measure(main, dir, "small.f", Small(), runs);
        Measure(main, dir, "large.f", Large(20000), runs);
        MeasureMessages(main, dir, 10000, runs);
        MeasureCompilerFindings(main, dir, 10000, runs);
      }
      MeasureCompileAll(main, dir, runs);
    }
    SetVortanFormat(nullptr);
    SetVortanExtension(nullptr);
    SetVortanPath(nullptr);
  }
  CloseStore();
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
