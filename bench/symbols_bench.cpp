// The symbol index on the reference LAPACK SRC and BLAS folders: cold (no cache), warm (from
// the cache), Go to Definition, Find References, and the process's peak memory.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "symbols/symbolindex.h"

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
  std::printf("peak memory (RSS):       %8.1f MB   (goal < 150 MB)\n", usage.ru_maxrss / 1024.0);
  std::filesystem::remove_all(cache);
  return 0;
}
