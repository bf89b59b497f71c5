// Compile All of twenty reference BLAS files (plus LSAME, XERBLA and a small main program),
// cold and after one file changed, beside `make -jN` (N = the processors) running the very same
// compile and link commands from a generated Makefile. Also prints this program's own time
// before the first compiler starts (making the plan and starting the workers) and after the
// last compile ends (checking and linking aside).
//
//   compileall_bench [rounds] [corpus folder]
// The corpus is read in place; each round works on copies in a temporary folder so that the
// warm round can change a file.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "jobs/buildallthread.h"
#include "jobs/buildplan.h"

using namespace vortan;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

const char* const kBlas[] = {"dgemm", "dtrsm", "dsyrk", "dsymm", "dtrmm", "dgemv", "dger",
                             "dsymv", "dsyr",  "dsyr2", "dtrmv", "dtrsv", "dgbmv", "dsbmv",
                             "dspmv", "dtbmv", "dtbsv", "dtpmv", "dtpsv", "dsyr2k"};

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct TRun {
  double Total = 0, BeforeFirstCompile = 0, Plan = 0;
};

TRun CompileAll(const std::vector<TBuildSource>& set, const TBuildTools& tools) {
  TRun r;
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;
  std::once_flag first;
  Clock::time_point firstCompile{};
  const auto start = Clock::now();
  auto* job = new TBuildAllThread(TMainThreadCall());
  job->Plan = MakeBuildPlan(set, tools);
  r.Plan = Ms(start, Clock::now());
  job->OnCompiling = [&](const std::string&) {
    std::call_once(first, [&] { firstCompile = Clock::now(); });
  };
  job->OnFinished = [&](TBaseThread&) {
    std::lock_guard<std::mutex> hold(lock);
    done = true;
    ended.notify_one();
  };
  job->Start();
  {
    // Waiting without polling: a polling loop would take processor time from the compilers.
    std::unique_lock<std::mutex> hold(lock);
    ended.wait(hold, [&] { return done; });
  }
  const auto end = Clock::now();
  r.Total = Ms(start, end);
  r.BeforeFirstCompile = firstCompile == Clock::time_point{} ? 0 : Ms(start, firstCompile);
  return r;
}

double Make(const std::string& dir, unsigned jobs) {
  const auto start = Clock::now();
  const std::string command =
      "make -s -C " + dir + " -j" + std::to_string(jobs) + " > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return Ms(start, Clock::now());
}

// A Makefile with the plan's own commands, objects in their own folder.
void WriteMakefile(const std::string& dir, const TBuildPlan& plan) {
  std::ofstream mk(dir + "Makefile");
  std::string objects;
  for (const TBuildUnit& u : plan.Units) objects += " " + u.Object;
  mk << plan.Program << ":" << objects << "\n\tcd " << plan.LinkDirectory << " && "
     << plan.LinkProgramPath << " " << plan.LinkParameters << "\n";
  for (const TBuildUnit& u : plan.Units)
    mk << u.Object << ": " << u.File.Source << "\n\tcd " << u.WorkingDirectory << " && "
       << u.ProgramPath << " " << u.Parameters << "\n";
}

void ChangeOne(const std::string& file, int round) {
  std::ofstream(file, std::ios::app) << "C     changed in round " << round << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string corpus = argc > 2 ? argv[2] : VORTAN_LAPACK_CORPUS;
  const std::string blas = corpus + "/BLAS/SRC/";
  if (!fs::exists(blas + "dgemm.f")) {
    std::printf("skipped: the reference BLAS sources are not in %s\n", blas.c_str());
    return 0;
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  char tmpl[] = "/tmp/vortan-compileall-XXXXXX";
  const std::string root = std::string(::mkdtemp(tmpl)) + "/";

  // Two folders with the same sources: ours and make's, each with its own objects.
  auto prepare = [&](const std::string& dir) {
    fs::create_directories(dir + "obj");
    std::vector<TBuildSource> set;
    auto add = [&](const std::string& name) {
      TBuildSource s;
      s.Document = s.Source = dir + name;
      set.push_back(s);
    };
    std::ofstream(dir + "main.f") << "      PROGRAM MAIN\n      PRINT *, 'BLAS'\n      END\n";
    add("main.f");
    for (const char* name : kBlas) {
      fs::copy_file(blas + name + ".f", dir + name + ".f");
      add(std::string(name) + ".f");
    }
    for (const char* name : {"lsame", "xerbla"}) {
      fs::copy_file(blas + name + ".f", dir + name + ".f");
      add(std::string(name) + ".f");
    }
    return set;
  };
  TBuildTools tools;
  tools.Compiler = "gfortran";
  tools.Options = "-O2";

  std::vector<double> cold, warm, makeCold, makeWarm, before, beforeWarm, plan;
  for (int r = 0; r < rounds; ++r) {
    const std::string ours = root + "ours" + std::to_string(r) + "/";
    const std::string theirs = root + "make" + std::to_string(r) + "/";
    const std::vector<TBuildSource> ourSet = prepare(ours);
    const std::vector<TBuildSource> theirSet = prepare(theirs);
    TBuildTools t = tools;
    t.ObjectDir = theirs + "obj/";
    WriteMakefile(theirs, MakeBuildPlan(theirSet, t));
    t.ObjectDir = ours + "obj/";

    // Alternate who goes first, so that neither always meets a warmer disk cache.
    auto ourCold = [&] {
      TRun run = CompileAll(ourSet, t);
      cold.push_back(run.Total);
      before.push_back(run.BeforeFirstCompile);
      plan.push_back(run.Plan);
    };
    auto theirCold = [&] { makeCold.push_back(Make(theirs, cores)); };
    if (r % 2) {
      theirCold();
      ourCold();
    } else {
      ourCold();
      theirCold();
    }
    ChangeOne(ours + "dsyr2k.f", r);
    ChangeOne(theirs + "dsyr2k.f", r);
    auto ourWarm = [&] {
      TRun run = CompileAll(ourSet, t);
      warm.push_back(run.Total);
      beforeWarm.push_back(run.BeforeFirstCompile);
    };
    auto theirWarm = [&] { makeWarm.push_back(Make(theirs, cores)); };
    if (r % 2) {
      theirWarm();
      ourWarm();
    } else {
      ourWarm();
      theirWarm();
    }
  }
  std::printf("Compile All of %zu BLAS files + LSAME, XERBLA and a main; %u cores; medians of %d\n",
              std::size(kBlas), cores, rounds);
  std::printf("cold:            %8.1f ms   make -j%u %8.1f ms   ratio %.2f   [goal at most 1.05]\n",
              Median(cold), cores, Median(makeCold), Median(cold) / Median(makeCold));
  std::printf("one file changed:%8.1f ms   make -j%u %8.1f ms   ratio %.2f   [goal at most 1.10]\n",
              Median(warm), cores, Median(makeWarm), Median(warm) / Median(makeWarm));
  std::printf(
      "own time before the first compiler starts: cold %.1f ms (plan %.1f ms), warm %.1f ms\n",
      Median(before), Median(plan), Median(beforeWarm));
  fs::remove_all(root);
  return 0;
}
