// Which files Compile All compiles, where their objects go and which one is the main program.
#include "jobs/buildplan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "jobs/mainprogram.h"
#include "support/tempdir.h"
#include "system/sourcefilenames.h"

using namespace vortan;
using vortan::test::TTempDir;

namespace {

TEST(MainProgram, FoundByTheUnitsASourceHolds) {
  struct Case {
    const char* name;
    const char* text;
    bool main;
  };
  const Case cases[] = {
      {"program statement", "      PROGRAM HELLO\n      PRINT *, 'HI'\n      END\n", true},
      {"lower case, label field blank", "      program hello\n      end\n", true},
      {"unnamed main program", "C     no header\n      PRINT *, 'HI'\n      END\n", true},
      {"subroutines only",
       "      SUBROUTINE A\n      END\n      SUBROUTINE B(X)\n      X = 1\n      END\n", false},
      {"typed functions and block data",
       "      DOUBLE PRECISION FUNCTION F(X)\n      F = X\n      END\n"
       "      CHARACTER*(*) FUNCTION G(S)\n      G = S\n      END\n"
       "      REAL*8 FUNCTION H()\n      H = 1\n      END\n"
       "      BLOCK DATA INIT\n      COMMON /C/ X\n      DATA X /1.0/\n      END\n",
       false},
      {"a main program after a subroutine",
       "      SUBROUTINE A\n      END\n      PROGRAM P\n      CALL A\n      END\n", true},
      {"comments, blank lines and ENDIF do not end a unit",
       "* header\n\n      SUBROUTINE A(X)\n      IF (X .GT. 0) THEN\n      X = 0\n      ENDIF\n"
       "c     PROGRAM IN A COMMENT\n      END\n",
       false},
      {"keyword inside a string", "      SUBROUTINE A\n      PRINT *, 'PROGRAM'\n      END\n",
       false},
      {"continuation line is no statement of its own",
       "      SUBROUTINE LONG(A,\n     &                B)\n      END\n", false},
      {"text past column 72 is not read",
       "      SUBROUTINE A                                                      PROGRAM\n      "
       "END\n",
       false},
      {"tab form", "\tSUBROUTINE A\n\tEND\n\tPROGRAM B\n\tEND\n", true},
      {"statement label before the program", "10    PROGRAM P\n      END\n", true},
      {"empty file", "", false},
      {"comments only", "C only a comment\n* and another\n", false},
      {"CR LF line ends", "      SUBROUTINE A\r\n      END\r\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(HoldsMainProgram(c.text), c.main) << c.name;
}

// A unit's header with the prefixes a compiler takes is a subprogram's, however it is spelt
// and split.
TEST(MainProgram, HeadersWithPrefixesAreSubprograms) {
  struct Case {
    const char* header;  // statement field and continuation lines, without END
    bool main;
  };
  const Case cases[] = {
      {"      RECURSIVE SUBROUTINE DGETRF2( M, N, A, LDA, IPIV, INFO )", false},
      {"      recursive subroutine foo(n)", false},
      {"      Recursive Subroutine Foo", false},
      {"      PURE SUBROUTINE S(X)", false},
      {"      ELEMENTAL SUBROUTINE S(X)", false},
      {"      PURE ELEMENTAL SUBROUTINE S(X)", false},
      {"      ELEMENTAL PURE SUBROUTINE S(X)", false},
      {"      IMPURE ELEMENTAL SUBROUTINE S(X)", false},
      {"      NON_RECURSIVE SUBROUTINE S(X)", false},
      {"      RECURSIVE FUNCTION F(N)", false},
      {"      RECURSIVE INTEGER FUNCTION F(N)", false},
      {"      INTEGER RECURSIVE FUNCTION F(N)", false},
      {"      PURE DOUBLE PRECISION FUNCTION F(X)", false},
      {"      DOUBLE PRECISION PURE FUNCTION F(X)", false},
      {"      ELEMENTAL REAL*8 FUNCTION F(X)", false},
      {"      RECURSIVE CHARACTER*(*) FUNCTION F(S)", false},
      {"      PURE REAL(KIND=8) FUNCTION F(X)", false},
      {"      RECURSIVE\n     $SUBROUTINE FOO(N)", false},
      {"      RECURSIVE SUB\n     1ROUTINE FOO(N)", false},
      {"      PURE\nC     a comment between the lines\n     & INTEGER\n     & FUNCTION F(N)",
       false},
      {"\tRECURSIVE\n\t1SUBROUTINE FOO(N)", false},
      {"      SUBROUTINE LONG(A,\n     &                B)", false},
      // No header: assignments to variables whose names begin like one, and a type
      // statement that declares no function.
      {"      PURE = 1", true},
      {"      RECURSIVE = 2", true},
      {"      PROGRAM MAIN", true},
      {"      INTEGER RECURSIVE", true},
      {"      PROGRAM\n     &MAIN", true},
  };
  for (const Case& c : cases) {
    const std::string alone = std::string(c.header) + "\n      END\n";
    EXPECT_EQ(HoldsMainProgram(alone), c.main) << c.header;
    // Its END is still seen: the unit after it is read as a unit's start.
    EXPECT_EQ(HoldsMainProgram(alone + "      SUBROUTINE NEXT\n      END\n"), c.main) << c.header;
    EXPECT_TRUE(HoldsMainProgram(alone + "      PROGRAM P\n      END\n")) << c.header;
  }
}

TEST(SourceNames, FortranExtensionsInAnyCase) {
  const std::pair<const char*, bool> cases[] = {
      {"/p/prog.f", true},  {"/p/prog.for", true},   {"/p/prog.f77", true},   {"/p/prog.ftn", true},
      {"/p/PROG.F", true},  {"/p/PROG.FOR", true},   {"/p/notes.txt", false}, {"/p/prog", false},
      {"/p.f/prog", false}, {"/p/prog.f90x", false},
  };
  for (const auto& [name, fortran] : cases) EXPECT_EQ(IsFortranSourceName(name), fortran) << name;
}

TEST(CompilerSource, FixedFormWordsOnlyWhereTheExtensionDoesNotSaySo) {
  const std::pair<const char*, const char*> cases[] = {
      {"/p/a.f", "\"/p/a.f\""},
      {"/p/A.FOR", "\"/p/A.FOR\""},
      {"/p/a.ftn", "\"/p/a.ftn\""},
      {"/p/a.f77", "-x f77 \"/p/a.f77\" -x none"},
      {"/p/a.F77", "-x f77 \"/p/a.F77\" -x none"},
  };
  for (const auto& [source, words] : cases) EXPECT_EQ(CompilerSourceArgument(source), words);
}

TEST(RouteDocument, EachDocumentReachesTheToolsFromItsFileOrACopy) {
  TTempDir dir;
  const std::string saved = dir.Write("saved.f", "      END\n");
  const std::string upper = dir.Write("OLD.FOR", "      END\n");
  const std::string notes = dir.Write("notes.txt", "text\n");
  const std::string gone = dir / "gone.f";
  const std::string tmp = dir.Path() + "/tmp/";
  struct Case {
    const char* name;
    TDocumentFacts facts;
    TSourceRoute route;
    std::string document, source;
    bool missing;
  };
  const Case cases[] = {
      {"saved", {saved, "saved.f", false, false}, TSourceRoute::File, saved, saved, false},
      {"upper-case fixed form",
       {upper, "OLD.FOR", false, false},
       TSourceRoute::File,
       upper,
       upper,
       false},
      {"modified",
       {saved, "saved.f", true, false},
       TSourceRoute::TempCopy,
       saved,
       dir / "~saved.f",
       false},
      {"untitled",
       {"", "Source2.f", true, false},
       TSourceRoute::TempCopy,
       tmp + "Source2.f",
       tmp + "~Source2.f",
       false},
      {"untitled and empty",
       {"", "Source1.f", false, true},
       TSourceRoute::Skipped,
       tmp + "Source1.f",
       "",
       false},
      {"not Fortran", {notes, "notes.txt", false, false}, TSourceRoute::Skipped, notes, "", false},
      {"gone from disk",
       {gone, "gone.f", false, false},
       TSourceRoute::TempCopy,
       gone,
       dir / "~gone.f",
       true},
  };
  for (const Case& c : cases) {
    const TBuildSource s = RouteDocument(c.facts, tmp);
    EXPECT_EQ(s.Route, c.route) << c.name;
    EXPECT_EQ(s.Document, c.document) << c.name;
    EXPECT_EQ(s.Source, c.source) << c.name;
    EXPECT_EQ(s.MissingOnDisk, c.missing) << c.name;
  }
}

TEST(ObjectFileName, SameBaseNameInTwoFoldersGetsTwoObjects) {
  const std::string a = ObjectFileName("/tmp/o/", "/home/u/one/util.f");
  const std::string b = ObjectFileName("/tmp/o/", "/home/u/two/util.f");
  EXPECT_NE(a, b);
  EXPECT_EQ(a, ObjectFileName("/tmp/o/", "/home/u/one/util.f"));
  EXPECT_EQ(a.rfind("/tmp/o/util-", 0), 0u) << a;
  EXPECT_EQ(a.substr(a.size() - 2), ".o");
}

TBuildSource Saved(const std::string& file) {
  TBuildSource s;
  s.Document = s.Source = file;
  return s;
}

// Makes what a clean compile leaves: the object and its stamp.
void Compiled(const TBuildUnit& unit) {
  std::ofstream(unit.Object) << "object";
  ASSERT_TRUE(WriteStamp(unit.Stamp, unit.Fingerprint));
}

TEST(BuildPlan, RecompilesOnlyWhatChangedByContent) {
  TTempDir dir;
  const std::string main = dir.Write(
      "src/main.f", "      PROGRAM P\n      INCLUDE 'sizes.inc'\n      CALL S\n      END\n");
  const std::string subs = dir.Write("src/subs.f", "      SUBROUTINE S\n      END\n");
  const std::string inc = dir.Write("src/sizes.inc", "      INTEGER N\n      PARAMETER (N = 10)\n");
  TBuildTools tools;
  tools.Compiler = "gfortran";
  tools.Options = "-g";
  tools.ObjectDir = dir.MakeDir("obj") + "/";
  const std::vector<TBuildSource> set = {Saved(main), Saved(subs)};

  TBuildPlan cold = MakeBuildPlan(set, tools);
  ASSERT_EQ(cold.Units.size(), 2u);
  EXPECT_EQ(cold.CompileCount(), 2u);
  ASSERT_TRUE(cold.CanLink());
  EXPECT_EQ(cold.Program, dir / "src/main");
  EXPECT_NE(
      cold.Units[0].Parameters.find("-g -c \"" + main + "\" -o \"" + cold.Units[0].Object + "\""),
      std::string::npos)
      << cold.Units[0].Parameters;
  for (const TBuildUnit& u : cold.Units) Compiled(u);

  EXPECT_EQ(MakeBuildPlan(set, tools).CompileCount(), 0u);

  struct Step {
    const char* name;
    std::function<void()> change;
    bool mainAgain, subsAgain;
  };
  const Step steps[] = {
      {"same text written again (only the time changes)",
       [&] { dir.Write("src/subs.f", "      SUBROUTINE S\n      END\n"); }, false, false},
      {"one file's text changes",
       [&] { dir.Write("src/subs.f", "      SUBROUTINE S\n      X = 1\n      END\n"); }, false,
       true},
      {"an included file changes",
       [&] { dir.Write("src/sizes.inc", "      INTEGER N\n      PARAMETER (N = 20)\n"); }, true,
       false},
      {"an object is gone",
       [&] { std::filesystem::remove(MakeBuildPlan(set, tools).Units[0].Object); }, true, false},
      {"the options change", [&] { tools.Options = "-O2"; }, true, true},
  };
  for (const Step& step : steps) {
    step.change();
    const TBuildPlan plan = MakeBuildPlan(set, tools);
    EXPECT_EQ(!plan.Units[0].UpToDate, step.mainAgain) << step.name;
    EXPECT_EQ(!plan.Units[1].UpToDate, step.subsAgain) << step.name;
    for (const TBuildUnit& u : plan.Units) Compiled(u);
  }
  (void)inc;
}

TEST(BuildPlan, TemporaryCopyOfUnchangedTextReusesTheObject) {
  TTempDir dir;
  const std::string text = "      SUBROUTINE S\n      END\n";
  const std::string file = dir.Write("s.f", text);
  TBuildTools tools;
  tools.Compiler = "gfortran";
  tools.ObjectDir = dir.Path() + "/";
  const TBuildPlan saved = MakeBuildPlan({Saved(file)}, tools);
  Compiled(saved.Units[0]);

  TBuildSource copy;
  copy.Route = TSourceRoute::TempCopy;
  copy.Document = file;
  copy.Source = dir.Write("~s.f", text);
  const TBuildPlan fromCopy = MakeBuildPlan({copy}, tools);
  EXPECT_EQ(fromCopy.Units[0].Object, saved.Units[0].Object);
  EXPECT_TRUE(fromCopy.Units[0].UpToDate);
  EXPECT_FALSE(fromCopy.CanLink());
}

TEST(BuildPlan, MainProgramsDecideWhetherAndWhatToLink) {
  TTempDir dir;
  const std::string a = dir.Write("a.f", "      PROGRAM A\n      END\n");
  const std::string b = dir.Write("b.for", "      PROGRAM B\n      END\n");
  const std::string s = dir.Write("s.f", "      SUBROUTINE S\n      END\n");
  TBuildSource missing = Saved(dir / "missing.f");
  TBuildSource skipped = Saved(dir / "notes.txt");
  skipped.Route = TSourceRoute::Skipped;
  TBuildTools tools;
  tools.Compiler = "gfortran";
  tools.ObjectDir = dir.Path() + "/";
  struct Case {
    const char* name;
    std::vector<TBuildSource> set;
    std::size_t mains;
    std::string program;
  };
  const Case cases[] = {
      {"one main", {Saved(s), Saved(b), skipped}, 1, dir / "b"},
      {"none", {Saved(s)}, 0, ""},
      {"two", {Saved(a), Saved(s), Saved(b)}, 2, ""},
      {"unreadable file", {Saved(a), missing}, 1, dir / "a"},
  };
  for (const Case& c : cases) {
    const TBuildPlan plan = MakeBuildPlan(c.set, tools);
    EXPECT_EQ(plan.MainUnits.size(), c.mains) << c.name;
    EXPECT_EQ(plan.Program, c.program) << c.name;
  }
  const TBuildPlan withMissing = MakeBuildPlan({Saved(a), missing}, tools);
  EXPECT_TRUE(withMissing.Units[1].Unreadable);
}

}  // namespace
