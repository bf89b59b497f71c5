// The check as you type on a 1,000-line file: from the request to the findings ready to mark,
// beside the raw tools run by hand on the same file.
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "jobs/livecheck.h"

using namespace vortan;
using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double Time(F f, int runs = 7) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto t = Clock::now();
    f();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t).count());
  }
  return Median(ms);
}

}  // namespace

int main() {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vortan-livebench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string text = "      PROGRAM BIG\n      INTEGER I, J\n      J = 0\n";
  for (int i = 0; i < 995; ++i) text += "      J = J + " + std::to_string(i) + "\n";
  text += "      I = 1 + (\n      PRINT *, J\n      END\n";
  const std::string file = (dir / "big.f").string();
  std::ofstream(file) << text;

  TLiveTools tools;
  tools.Compiler = "gfortran";
  tools.Analyzer = "ftnchek";
  TLiveRequest request{{TLiveSource{nullptr, file, "big.f", text}}};
  std::size_t findings = 0;
  const double live =
      Time([&] { findings = RunLiveCheck(request, tools, nullptr).Findings.size(); });
  const std::string q = "'" + file + "'";
  const double gfortran = Time(
      [&] { (void)std::system(("gfortran -fsyntax-only " + q + " >/dev/null 2>&1").c_str()); });
  const double ftnchek = Time([&] {
    (void)std::system(("ftnchek -nonovice -quiet -wrap=999 " + q + " >/dev/null 2>&1").c_str());
  });
  std::printf(
      "live check, 1,000 lines, request to findings (median of 7): %.1f ms (%zu findings)\n", live,
      findings);
  std::printf("raw tools by hand: gfortran -fsyntax-only %.1f ms + ftnchek %.1f ms = %.1f ms\n",
              gfortran, ftnchek, gfortran + ftnchek);
  std::filesystem::remove_all(dir);
  return 0;
}
