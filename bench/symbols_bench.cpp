// The symbol index on the reference LAPACK SRC and BLAS folders: cold (no cache), warm (from
// the cache), Go to Definition, Find References, and the process's peak memory.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "symbols/completion.h"
#include "symbols/symbolindex.h"
#include "symbols/symboltip.h"
#include "symbols/symboltree.h"

namespace {

double Ms(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argc > 1 ? argv[1] : VORTAN_LAPACK_CORPUS;
  if (!std::filesystem::exists(root + "/SRC")) {
    std::printf("symbols_bench: no LAPACK sources in %s, nothing measured\n", root.c_str());
    return 0;
  }
  const std::string cache = (std::filesystem::temp_directory_path() /
                             ("vortan-symbols-bench-" + std::to_string(::getpid())))
                                .string();
  std::filesystem::remove_all(cache);
  const std::vector<std::string> folders{root + "/SRC", root + "/BLAS/SRC"};
  vortan::TIndexOptions options;
  options.CacheFolder = cache;

  auto t = std::chrono::steady_clock::now();
  { vortan::TSymbolIndex(options).IndexFolders(folders); }
  const double cold = Ms(t);

  t = std::chrono::steady_clock::now();
  vortan::TSymbolIndex index(options);
  index.IndexFolders(folders);
  const double warm = Ms(t);

  t = std::chrono::steady_clock::now();
  const auto defs = index.Definitions(root + "/SRC/dgesv.f", 165, "DGETRF");
  const double definition = Ms(t);

  t = std::chrono::steady_clock::now();
  const auto refs = index.UnitReferences("DGEMM");
  const double references = Ms(t);

  // What the Symbols panel and the other commands ask, each timed on its own.
  t = std::chrono::steady_clock::now();
  const auto oneFile = vortan::SymbolOutline(index, {root + "/SRC/dgetrf.f"}, "");
  const double outlineOne = Ms(t);

  t = std::chrono::steady_clock::now();
  const auto allFiles = vortan::SymbolOutline(index, index.Files(), "");
  const double outlineAll = Ms(t);

  t = std::chrono::steady_clock::now();
  const auto filtered = vortan::SymbolOutline(index, index.Files(), "getrf");
  const double outlineFiltered = Ms(t);

  t = std::chrono::steady_clock::now();
  const auto callers = vortan::CallTreeLevel(index, "DGEMM", {}, true);
  const double calledBy = Ms(t);

  t = std::chrono::steady_clock::now();
  const auto completions = vortan::CompletionsFor(index, root + "/SRC/dgesv.f", 165, "DGE");
  const double complete = Ms(t);

  t = std::chrono::steady_clock::now();
  const std::string tip = vortan::UnitHoverTip(index, "DGETRF");
  const double tipMs = Ms(t);

  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("files indexed:           %zu (%zu from the cache on the warm start)\n",
              index.FileCount(), index.CachedCount());
  std::printf("cold index:              %8.1f ms   (goal < 3000 ms)\n", cold);
  std::printf("warm index from cache:   %8.1f ms   (goal < 500 ms)\n", warm);
  std::printf("go to definition DGETRF: %8.3f ms   (goal < 20 ms), %zu places\n", definition,
              defs.size());
  std::printf("references of DGEMM:     %8.3f ms   (goal < 200 ms), %zu places\n", references,
              refs.size());
  std::printf("symbols panel, one file:  %8.3f ms   (goal < 20 ms), %zu units\n", outlineOne,
              oneFile.size());
  std::printf("symbols panel, all files: %8.3f ms   (goal < 20 ms), %zu files\n", outlineAll,
              allFiles.size());
  std::printf("symbols panel, filtered:  %8.3f ms   (goal < 20 ms), %zu files\n", outlineFiltered,
              filtered.size());
  std::printf("called-by DGEMM (a level):%8.3f ms   %zu units\n", calledBy, callers.size());
  std::printf("completion of DGE:        %8.3f ms   %zu names\n", complete, completions.size());
  std::printf("tip of DGETRF:            %8.3f ms   %zu bytes\n", tipMs, tip.size());
  std::printf("peak memory (RSS):       %8.1f MB   (goal < 150 MB)\n", usage.ru_maxrss / 1024.0);
  std::filesystem::remove_all(cache);
  return 0;
}
