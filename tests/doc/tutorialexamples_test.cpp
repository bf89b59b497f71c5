// Every example of the tutorial, with the real tools: the compiler accepts it (or rejects it
// with the message the page shows), ftnchek reports exactly what the page says it reports (and
// nothing on the clean ones), and a complete program prints the output kept beside it.
// Beside NAME.f: NAME.out (run it, compare), NAME.gfortran and NAME.ftnchek (lines the tool must
// print; a compiler line with "Error" means the compile must fail); NAME.with names the other
// files of a program of several files, one a line (they are built and analyzed with it).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace vortan {
namespace {

using test::TTempDir;

const std::string kExamples = std::string(VORTAN_SOURCE_DIR) + "/resources/doc/examples";

using vortan::test::ReadFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

int RunCommand(const std::string& dir, const std::string& command, std::string* out) {
  // The C locale keeps the compiler's quotes plain, as the page shows them.
  const std::string full = "cd '" + dir + "' && LC_ALL=C timeout 20 " + command + " 2>&1";
  out->clear();
  FILE* p = ::popen(full.c_str(), "r");
  if (p == nullptr) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out->append(buf, n);
  const int status = ::pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The other files of NAME's program; none for a program of one file.
std::vector<std::string> Partners(const std::string& name) {
  const std::string with = kExamples + "/" + name + ".with";
  return fs::exists(with) ? Lines(ReadFile(with)) : std::vector<std::string>{};
}

// Every example program by its main file; a file that is part of another's program is tested
// with that program.
std::vector<std::string> Examples() {
  std::vector<std::string> names, parts;
  for (const auto& e : fs::directory_iterator(kExamples)) {
    if (e.path().extension() == ".f") names.push_back(e.path().stem().string());
    if (e.path().extension() == ".with")
      for (const std::string& part : Partners(e.path().stem().string()))
        parts.push_back(fs::path(part).stem().string());
  }
  std::erase_if(names, [&](const std::string& n) {
    return std::find(parts.begin(), parts.end(), n) != parts.end();
  });
  std::sort(names.begin(), names.end());
  return names;
}

class TutorialExample : public ::testing::TestWithParam<std::string> {
 protected:
  std::string Beside(const char* ext) const { return kExamples + "/" + GetParam() + ext; }
  bool Has(const char* ext) const { return fs::exists(Beside(ext)); }
};

TEST_P(TutorialExample, CompilesAnalyzesAndPrintsWhatThePageShows) {
  TTempDir dir;
  std::string source = GetParam() + ".f";
  fs::copy_file(kExamples + "/" + source, dir / source);
  for (const std::string& part : Partners(GetParam())) {
    ASSERT_TRUE(fs::exists(kExamples + "/" + part)) << part;
    fs::copy_file(kExamples + "/" + part, dir / part);
    source += " " + part;
  }

  const bool program = Has(".out");
  std::string out;
  const int compiled = RunCommand(
      dir.Path(), program ? "gfortran -o prog " + source : "gfortran -c " + source, &out);
  bool mustFail = false;
  if (Has(".gfortran")) {
    for (const std::string& line : Lines(ReadFile(Beside(".gfortran")))) {
      EXPECT_NE(out.find(line), std::string::npos) << "compiler did not say: " << line << "\n"
                                                   << out;
      mustFail = mustFail || line.find("Error") != std::string::npos;
    }
  } else {
    EXPECT_EQ(out, "") << "the compiler has something to say";
  }
  EXPECT_EQ(compiled != 0, mustFail) << out;

  // ftnchek as the IDE runs it by default.
  RunCommand(dir.Path(), "ftnchek -nonovice -quiet -wrap=999 " + source, &out);
  if (Has(".ftnchek")) {
    for (const std::string& line : Lines(ReadFile(Beside(".ftnchek"))))
      EXPECT_NE(out.find(line), std::string::npos) << "ftnchek did not say: " << line << "\n"
                                                   << out;
  } else {
    for (const char* word : {"Warning", "Error", "Possibly", "warning", "error"})
      EXPECT_EQ(out.find(word), std::string::npos) << out;
  }

  if (program && compiled == 0) {
    EXPECT_EQ(RunCommand(dir.Path(), "./prog", &out), 0);
    EXPECT_EQ(out, ReadFile(Beside(".out")));
    // The file example removes the file it wrote.
    EXPECT_FALSE(fs::exists(dir / "squares.txt"));
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, TutorialExample, ::testing::ValuesIn(Examples()),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// Every file of the examples folder is shown by the tutorial: none is kept untested or unseen
// (a list of a program's files is the test's, not the reader's).
TEST(TutorialExamples, EveryFileIsIncludedByThePage) {
  const std::string page =
      ReadFile(std::string(VORTAN_SOURCE_DIR) + "/resources/doc/Tutorial.html.in");
  for (const auto& e : fs::directory_iterator(kExamples)) {
    if (e.path().extension() == ".with") continue;
    const std::string marker = "<!--#include examples/" + e.path().filename().string() + "-->";
    EXPECT_NE(page.find(marker), std::string::npos) << marker;
  }
}

}  // namespace
}  // namespace vortan
