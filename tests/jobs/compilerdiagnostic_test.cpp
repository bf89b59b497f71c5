// The compiler's findings read from real gfortran 12 output (captured by
// tests/data/gfortran/capture.sh), and the Messages entries they become.
#include "jobs/compilerdiagnostic.h"

#include <gtest/gtest.h>

#include "jobs/compilerfindings.h"
#include "support/files.h"

namespace vortan {
namespace {

// One line per finding, its details below it: what the expected files hold.
std::string Render(const std::vector<TCompilerDiagnostic>& found) {
  std::string out;
  for (const TCompilerDiagnostic& d : found) {
    out += (d.Kind == mkError ? "Error " : "Warning ") + d.Tool + " " + d.File + ":" +
           std::to_string(d.Line) + ":" + std::to_string(d.Column) + ": " + d.Text;
    if (!d.Object.empty()) out += " [object " + d.Object + "]";
    out += "\n";
    for (const std::string& detail : d.Details) out += "  | " + detail + "\n";
  }
  return out;
}

std::string CaseFile(const std::string& name, const char* file) {
  return test::ReadFile(std::string(VORTAN_TEST_DATA) + "/gfortran/" + name + "/" + file);
}

class RealGfortranOutput : public ::testing::TestWithParam<const char*> {};

TEST_P(RealGfortranOutput, GivesTheExpectedFindings) {
  const std::string input = CaseFile(GetParam(), "input");
  ASSERT_FALSE(input.empty());
  EXPECT_EQ(Render(ParseCompilerOutput(input)), CaseFile(GetParam(), "expected"));
}

INSTANTIATE_TEST_SUITE_P(Cases, RealGfortranOutput,
                         ::testing::Values("syntax", "callmismatch", "label", "include", "wall",
                                           "truncation", "unresolved", "unresolved-nodebug",
                                           "libmissing", "fatal", "multi", "overflow"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::erase(name, '-');
                           return name;
                         });

TEST(CompilerOutput, OtherFormsAndLineEnds) {
  struct TCase {
    const char* Name;
    std::string Input;
    std::string Expected;
  };
  const TCase cases[] = {
      {"nested include, CR LF",
       "In file included from main.F:2:\r\n                 from top.F:7:\r\ninc.h:3:9:\r\n\r\n"
       "    3 |       K = = 2\r\n      |         1\r\nError: Invalid character in name at (1)\r\n",
       "Error gfortran inc.h:3:9: Invalid character in name at (1)\n"
       "  | In file included from main.F:2:\n  | from top.F:7:\n  |     3 |       K = = 2\n"
       "  |       |         1\n"},
      {"one-line forms and a driver error",
       "dir:with:colons/a.f:12:3: Warning: Nonconforming tab character\n"
       "gfortran: error: nosuch.f: No such file or directory\n"
       "gfortran: fatal error: no input files\ncompilation terminated.\n",
       "Warning gfortran dir:with:colons/a.f:12:3: Nonconforming tab character\n"
       "Error gfortran :-1:0: nosuch.f: No such file or directory\n"
       "Error gfortran :-1:0: no input files\n"},
      {"not findings", "gfortran -g -c \"a b.f\" -o \"a b\"\n 12 | text\nrandom words\n", ""},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Render(ParseCompilerOutput(c.Input)), c.Expected) << c.Name;
}

TEST(CompilerOutput, FindingsBecomeOneGroupPerToolAndDocumentWithTheirPlaces) {
  const std::string input = CaseFile("multi", "input") + CaseFile("unresolved", "input");
  int resolved = 0;
  auto resolve = [&](const TCompilerDiagnostic& d) {
    ++resolved;
    return TFindingTarget{"/work/" + d.File.substr(d.File.rfind('/') + 1), nullptr};
  };
  const std::vector<TMessageNode> groups =
      CompilerMessageNodes(ParseCompilerOutput(input), resolve, "Error", "Warning");
  EXPECT_EQ(resolved, 4);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].Data.Text, "gfortran: source.f");
  EXPECT_EQ(groups[0].Data.Kind, mkError);
  EXPECT_EQ(groups[0].Data.Line, -1);
  ASSERT_EQ(groups[0].Children.size(), 3u);
  const TMessageNode& second = groups[0].Children[1];
  EXPECT_EQ(second.Data.Text, "[Error] source.f(5:10): Too many arguments in call to ‘mod’ at (1)");
  EXPECT_EQ(second.Data.Line, 5);
  EXPECT_EQ(second.Data.Column, 10);
  ASSERT_EQ(second.Children.size(), 2u);
  EXPECT_EQ(second.Children[1].Data.Kind, mkDetail);
  EXPECT_EQ(second.Children[1].Data.Line, 5) << "a detail opens its finding's place";
  EXPECT_EQ(second.Children[1].Data.Column, 10);
  EXPECT_EQ(groups[1].Data.Text, "ld: source.f");
  EXPECT_EQ(groups[1].Children[0].Data.Text,
            "[Error] source.f(2): undefined reference to `nosuch_'");
}

}  // namespace
}  // namespace vortan
