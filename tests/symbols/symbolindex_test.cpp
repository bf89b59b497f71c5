#include "symbols/symbolindex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sqlite3.h>

#include "support/tempdir.h"

namespace vortan {
namespace {

const char* kCaller =
    "      PROGRAM MAIN\n"
    "      CALL WORK(1)\n"
    "      X = TWICE(2.0)\n"
    "      END\n";
const char* kCallee =
    "C     Does the work.\n"
    "      SUBROUTINE WORK(N)\n"
    "      COMMON /SHARED/ A\n"
    "      END\n"
    "      REAL FUNCTION TWICE(Y)\n"
    "      TWICE = 2*Y\n"
    "      END\n";

class SymbolIndexFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    caller_ = dir_.Write("src/main.f", kCaller);
    callee_ = dir_.Write("src/work.f", kCallee);
  }
  TIndexOptions Options() const {
    TIndexOptions o;
    o.CacheFolder = dir_ / "cache";
    return o;
  }
  std::string CacheFile() const { return dir_ / "cache/symbols.sqlite"; }
  test::TTempDir dir_;
  std::string caller_, callee_;
};

TEST_F(SymbolIndexFixture, AnswersDefinitionsReferencesCallersAndTips) {
  TSymbolIndex index(Options());
  index.IndexFolders({dir_ / "src"});
  ASSERT_EQ(index.FileCount(), 2u);
  EXPECT_EQ(index.Definitions(caller_, 2, "work"),
            (std::vector<TSymbolLocation>{{callee_, 2, 18, "WORK"}}));
  EXPECT_EQ(index.Definitions(callee_, 3, "SHARED"),
            (std::vector<TSymbolLocation>{{callee_, 3, 15, "SHARED"}}));
  EXPECT_EQ(index.UnitReferences("TWICE"),
            (std::vector<TSymbolLocation>{{caller_, 3, 11, "TWICE"}}));
  ASSERT_EQ(index.Callers("WORK").size(), 1u);
  EXPECT_EQ(index.Callers("WORK")[0].Name, "MAIN");
  const auto callees = index.Callees("MAIN");
  ASSERT_EQ(callees.size(), 2u);
  EXPECT_EQ(callees[0].Name, "TWICE");
  EXPECT_EQ(callees[1].Name, "WORK");
  EXPECT_EQ(index.UnitTip("WORK"), "C     Does the work.\n      SUBROUTINE WORK(N)\n");
}

TEST_F(SymbolIndexFixture, TheEditorsTextReplacesTheFile) {
  TSymbolIndex index;
  index.IndexFiles({caller_, callee_});
  index.UpdateFile(caller_, "      PROGRAM MAIN\n      CALL OTHER\n      END\n");
  EXPECT_TRUE(index.UnitReferences("WORK").empty());
  EXPECT_EQ(index.UnitReferences("OTHER").size(), 1u);
}

TEST_F(SymbolIndexFixture, ASecondStartReadsTheCache) {
  { TSymbolIndex(Options()).IndexFolders({dir_ / "src"}); }
  TSymbolIndex warm(Options());
  warm.IndexFolders({dir_ / "src"});
  EXPECT_EQ(warm.CachedCount(), 2u);
  EXPECT_EQ(warm.UnitDefinitions("TWICE").size(), 1u);
  // A changed file is read again, not taken from the cache.
  dir_.Write("src/work.f", std::string(kCallee) + "      SUBROUTINE MORE\n      END\n");
  TSymbolIndex changed(Options());
  changed.IndexFolders({dir_ / "src"});
  EXPECT_EQ(changed.CachedCount(), 1u);
  EXPECT_EQ(changed.UnitDefinitions("MORE").size(), 1u);
}

// A cache of another schema, or one that is no database, is thrown away and rebuilt.
TEST_F(SymbolIndexFixture, ADamagedOrOldCacheIsRebuilt) {
  auto setVersion = [&](int v) {
    sqlite3* db = nullptr;
    sqlite3_open(CacheFile().c_str(), &db);
    sqlite3_exec(db, ("PRAGMA user_version=" + std::to_string(v)).c_str(), nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
  };
  auto damage = [&](int) {
    std::fstream f(CacheFile(), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(0);
    f << "garbage, not the header of a database at all";
  };
  for (auto spoil : {std::function<void(int)>(setVersion), std::function<void(int)>(damage)}) {
    { TSymbolIndex(Options()).IndexFolders({dir_ / "src"}); }
    spoil(TSymbolCache::kSchemaVersion + 1);
    TSymbolIndex again(Options());
    EXPECT_FALSE(again.CacheDiscarded().empty());
    again.IndexFolders({dir_ / "src"});
    EXPECT_EQ(again.CachedCount(), 0u);
    EXPECT_EQ(again.UnitDefinitions("WORK").size(), 1u);
    TSymbolIndex third(Options());
    EXPECT_TRUE(third.CacheDiscarded().empty());
    third.IndexFolders({dir_ / "src"});
    EXPECT_EQ(third.CachedCount(), 2u);
  }
}

TEST(SymbolCache, RowsSurviveTheirEncodingAndDamageIsRefused) {
  TFileSymbols s;
  s.Units.push_back({TUnitKind::Function, "F", "REAL", {"X"}, {1, 20}, 1, 0, 3});
  s.Calls.push_back({"G", 0, {2, 12}});
  std::string bytes = TSymbolCache::Encode(s);
  TFileSymbols back;
  ASSERT_TRUE(TSymbolCache::Decode(bytes, back));
  EXPECT_EQ(back.Units[0].Name, "F");
  EXPECT_EQ(back.Calls[0].Pos.Column, 12);
  bytes[bytes.size() / 2] ^= 0x5A;
  EXPECT_FALSE(TSymbolCache::Decode(bytes, back));
}

// Junk, an unreadable size and an INCLUDE loop are said once each; the rest is indexed.
TEST(SymbolIndexInput, BadFilesAreSkippedAndSaidOnce) {
  test::TTempDir dir;
  const std::string good =
      dir.Write("good.f", "      SUBROUTINE GOOD\n      CALL A((\n      END\n");
  const std::string junk = dir.Write("junk.f", std::string("\x7f"
                                                           "ELF\0\0\x01\x02",
                                                           8));
  const std::string big = dir.Write("big.f", std::string(4096, ' ') + "\n");
  const std::string cp =
      dir.Write("cp850.f", "C     Gr\x81\xe1 \x84\n      SUBROUTINE CP\n      END\n");
  const std::string a =
      dir.Write("a.f", "      SUBROUTINE LOOP\n      INCLUDE 'b.inc'\n      END\n");
  dir.Write("b.inc", "      INCLUDE 'a.f'\n      COMMON /FROMB/ X\n");
  TIndexOptions o;
  o.MaxFileBytes = 1024;
  TSymbolIndex index(o);
  index.IndexFolders({dir.Path()});
  index.IndexFolders({dir.Path()});
  EXPECT_EQ(index.UnitDefinitions("GOOD").size(), 1u);
  EXPECT_EQ(index.UnitDefinitions("CP").size(), 1u);
  EXPECT_EQ(index.CommonBlocks("FROMB").size(), 1u);
  int junkSaid = 0, bigSaid = 0, loopSaid = 0;
  for (const auto& p : index.Problems()) {
    junkSaid += p.File == junk;
    bigSaid += p.File == big;
    loopSaid += p.Text.rfind("INCLUDE loop", 0) == 0;
  }
  EXPECT_EQ(junkSaid, 1);
  EXPECT_EQ(bigSaid, 1);
  EXPECT_GE(loopSaid, 1);
  EXPECT_EQ(index.IncludedFiles(a), std::vector<std::string>{dir / "b.inc"});
}

#ifdef VORTAN_LAPACK_CORPUS
TEST(SymbolIndexLapack, GoToDefinitionAndReferencesOnTheReferenceSources) {
  const std::string root = VORTAN_LAPACK_CORPUS;
  if (!std::filesystem::exists(root + "/SRC/dgesv.f"))
    GTEST_SKIP() << "the reference LAPACK sources are not in " << root;
  TSymbolIndex index;
  index.IndexFolders({root + "/SRC", root + "/BLAS/SRC"});
  // dgesv.f: "      CALL DGETRF( N, N, A, LDA, IPIV, INFO )" on line 165.
  // SRC/VARIANTS holds three more DGETRF; dgetrf.f's SUBROUTINE line is among them.
  const auto defs = index.Definitions(root + "/SRC/dgesv.f", 165, "DGETRF");
  EXPECT_EQ(defs.size(), 4u);
  EXPECT_NE(std::find(defs.begin(), defs.end(),
                      TSymbolLocation{root + "/SRC/dgetrf.f", 105, 18, "DGETRF"}),
            defs.end());
  // Counted by hand: lines outside comments holding "CALL DGEMM(" below SRC and BLAS/SRC
  // (grep -r -i -E '^[^cC*!#].*CALL +DGEMM *\(' over *.f and *.F).
  EXPECT_EQ(index.UnitReferences("DGEMM").size(), 348u);
}
#endif

}  // namespace
}  // namespace vortan
