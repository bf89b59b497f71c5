// Compile All of twenty files (cold, then with one file changed) and Analyze all of the same
// twenty, beside the same tools run by hand from a shell. Prints the medians.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "jobs/analyzerrun.h"
#include "jobs/analyzethread.h"
#include "jobs/buildallthread.h"
#include "jobs/outputthread.h"

using namespace vortan;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Files = 20;
constexpr int Rounds = 5;

std::string dir;

void Write(const std::string& name, const std::string& text) { std::ofstream(dir + name) << text; }

std::string SubroutineText(int i, int variant) {
  std::string t =
      "      SUBROUTINE S" + std::to_string(i) + "(X, N)\n      INTEGER N, K\n      REAL X(N)\n";
  for (int k = 0; k < 40; ++k)
    t += "      DO 1" + std::to_string(k) + " K = 1, N\n         X(K) = X(K) * " +
         std::to_string(k + variant) + ".0 + SQRT(ABS(X(K)))\n 1" + std::to_string(k) +
         "   CONTINUE\n";
  return t + "      END\n";
}

// Runs a job to its end in this thread (no interface thread: handlers run in the worker).
template <typename Job>
double Time(const std::function<Job*()>& make) {
  std::atomic<bool> done{false};
  Job* job = make();
  job->OnFinished = [&](TBaseThread&) { done = true; };
  const auto start = Clock::now();
  job->Start();
  while (!done) std::this_thread::sleep_for(std::chrono::microseconds(200));
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Shell(const std::string& command) {
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  char tmpl[] = "/tmp/vortan-multibench-XXXXXX";
  dir = std::string(::mkdtemp(tmpl)) + "/";
  std::filesystem::create_directories(dir + "obj");
  std::filesystem::create_directories(dir + "hand");
  std::string mainText = "      PROGRAM BENCH\n      REAL X(100)\n      X = 1.0\n";
  for (int i = 1; i < Files; ++i) mainText += "      CALL S" + std::to_string(i) + "(X, 100)\n";
  mainText += "      PRINT *, X(1)\n      END\n";
  Write("main.f", mainText);
  std::vector<TBuildSource> set;
  TBuildSource m;
  m.Document = m.Source = dir + "main.f";
  set.push_back(m);
  for (int i = 1; i < Files; ++i) {
    Write("s" + std::to_string(i) + ".f", SubroutineText(i, 0));
    TBuildSource s;
    s.Document = s.Source = dir + "s" + std::to_string(i) + ".f";
    set.push_back(s);
  }
  TBuildTools tools;
  tools.Compiler = "gfortran";
  tools.Options = "-g";
  tools.ObjectDir = dir + "obj/";

  auto build = [&] {
    return Time<TBuildAllThread>([&] {
      auto* job = new TBuildAllThread(TMainThreadCall());
      job->Plan = MakeBuildPlan(set, tools);
      return job;
    });
  };
  std::vector<double> cold, warm, handAll, handOne, analyzeAll, handAnalyze;
  for (int r = 0; r < Rounds; ++r) {
    std::filesystem::remove_all(dir + "obj");
    std::filesystem::create_directories(dir + "obj");
    cold.push_back(build());
    Write("s7.f", SubroutineText(7, r + 1));
    warm.push_back(build());

    std::string all = "cd " + dir + "hand && gfortran -g -c";
    for (const TBuildSource& s : set) all += " " + s.Source;
    handAll.push_back(Shell(all + " && gfortran -g *.o -o prog"));
    handOne.push_back(Shell("cd " + dir + "hand && gfortran -g -c " + dir +
                            "s7.f -o s7.o && gfortran -g *.o -o prog"));
  }
  std::vector<std::string> names;
  std::string handCommand = "ftnchek -nonovice -quiet -wrap=999 ";
  for (const TBuildSource& s : set) {
    names.push_back(s.Source);
    handCommand += " \"" + s.Source + "\"";
  }
  for (int r = 0; r < Rounds; ++r) {
    std::string report;
    analyzeAll.push_back(
        Time<TOutputThread>([&] {
          auto* job = new TOutputThread(TMainThreadCall());
          MakeAnalyzerRun("ftnchek", "-nonovice -quiet -wrap=999 %s %s", "", names, dir)
              .ApplyTo(*job, names[0]);
          job->OnSuccess = [&](TBaseThread& j) { report = static_cast<TOutputThread&>(j).Output; };
          return job;
        }) +
        Time<TAnalyzeThread>([&] {
          auto* parse = new TAnalyzeThread(TMainThreadCall(), nullptr);
          parse->SetReport(report);
          return parse;
        }));
    handAnalyze.push_back(Shell(handCommand + " > /dev/null"));
  }
  std::printf(
      "Compile All, %d files, cold:             %8.1f ms   (by hand, all files + link: %8.1f ms)\n",
      Files, Median(cold), Median(handAll));
  std::printf(
      "Compile All, one file changed:           %8.1f ms   (by hand, that file + link:  %8.1f ms)  "
      "ratio %.2f\n",
      Median(warm), Median(handOne), Median(warm) / Median(handOne));
  std::printf(
      "Analyze all, %d files (run and parse):   %8.1f ms   (ftnchek by hand:            %8.1f ms)  "
      "difference %+.1f ms\n",
      Files, Median(analyzeAll), Median(handAnalyze), Median(analyzeAll) - Median(handAnalyze));
  std::filesystem::remove_all(dir);
  return 0;
}
