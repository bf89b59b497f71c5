// Re-indenting through findent keeps the program: what the compiler reads is compared before
// the output is taken, and real LAPACK sources compile to the same object files afterwards.

#include "editor/reindenter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/tempdir.h"

namespace vortan {
namespace {

namespace fs = std::filesystem;

TEST(Reindenter, CompiledViewSeesWhatTheCompilerReads) {
  using V = std::vector<std::string>;
  const V base = {"      DO 10 I = 1, N", "C     note", "   10 X = 'A  B'"};
  struct TCase {
    const char* Name;
    V Lines;
    bool Same;
  } cases[] = {
      {"indentation only", {"      DO 10 I = 1, N", "C     note", "   10    X = 'A  B'"}, true},
      {"blanks inside a word", {"      DO10I=1,N", "C     note", "   10 X='A  B'"}, true},
      {"a label moved out of its field",
       {"      DO 10 I = 1, N", "C     note", "      10 X = 'A  B'"},
       false},
      {"blanks in a constant", {"      DO 10 I = 1, N", "C     note", "   10 X = 'A B'"}, false},
      {"a comment changed", {"      DO 10 I = 1, N", "C     none", "   10 X = 'A  B'"}, false},
      {"text pushed past column 72",
       {"      DO 10 I = 1, N", "C     note", "   10" + std::string(63, ' ') + "X = 'A  B'"},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TReindenter::CompiledView(c.Lines) == TReindenter::CompiledView(base), c.Same);
  }
}

TEST(Reindenter, AMissingToolIsReported) {
  const TReindenter r("/nonexistent/findent", "");
  EXPECT_EQ(r.Run({"      END"}, false).Status, TReindentResult::ToolMissing);
}

std::vector<std::string> ReadLines(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void WriteLines(const fs::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file);
  for (const auto& line : lines) out << line << '\n';
}

bool Compile(const fs::path& source) {
  const std::string command = "cd '" + source.parent_path().string() + "' && gfortran -c -O0 '" +
                              source.filename().string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Reindenter, LapackSourcesCompileToTheSameObjects) {
  const fs::path lapack = VORTAN_LAPACK_CORPUS;
  if (!fs::is_directory(lapack / "SRC"))
    GTEST_SKIP() << "no reference LAPACK sources at " << lapack << " (VORTAN_LAPACK_CORPUS)";
  const std::string tool = TReindenter::FindTool("");
  if (tool.empty()) GTEST_SKIP() << "findent is not installed";
  if (std::system("gfortran --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no gfortran";
  const TReindenter reindenter(tool, "-i3 -r0 -k-");
  test::TTempDir dir;
  fs::create_directories(dir / "before");
  fs::create_directories(dir / "after");
  int changed = 0;
  for (const char* name : {"SRC/dgetrf.f", "SRC/dgesvd.f", "SRC/dlaqr0.f", "SRC/zhetrd.f",
                           "SRC/dlartg.f90", "BLAS/SRC/dgemm.f", "BLAS/SRC/ztrsm.f"}) {
    const fs::path source = lapack / name;
    if (!fs::exists(source) || source.extension() != ".f") continue;
    SCOPED_TRACE(name);
    const std::vector<std::string> lines = ReadLines(source);
    const TReindentResult r = reindenter.Run(lines, false);
    ASSERT_EQ(r.Status, TReindentResult::Ok) << r.Detail;
    if (r.Lines != lines) ++changed;
    const fs::path before = dir / "before" / source.filename();
    const fs::path after = dir / "after" / source.filename();
    WriteLines(before, lines);
    WriteLines(after, r.Lines);
    ASSERT_TRUE(Compile(before));
    ASSERT_TRUE(Compile(after));
    fs::path object = source.filename();
    object.replace_extension(".o");
    EXPECT_EQ(Bytes(dir / "after" / object), Bytes(dir / "before" / object));
  }
  EXPECT_GT(changed, 0) << "the sources were re-indented, not only copied";
}

}  // namespace
}  // namespace vortan
