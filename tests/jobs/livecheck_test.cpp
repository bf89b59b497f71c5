// The background check of unsaved text: the real compiler and analyzer over temporary copies,
// and the fake tool for a tool that hangs, floods or is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <vector>

#include "jobs/livecheck.h"
#include "jobs/livechecker.h"
#include "platform/filebytes.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

TfrmEditor* Doc(int n) { return reinterpret_cast<TfrmEditor*>(static_cast<std::uintptr_t>(n)); }

bool OnPath(const char* tool) {
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t end = std::min(path.find(':', at), path.size());
    if (std::filesystem::exists(path.substr(at, end - at) + "/" + tool)) return true;
    at = end + 1;
  }
  return false;
}

TLiveSource Source(TfrmEditor* editor, const std::string& file, const std::string& text) {
  return TLiveSource{editor, file, std::filesystem::path(file).filename().string(), text};
}

const TLiveFinding* FindingAt(const TLiveResult& r, const std::string& tool, int line) {
  for (const TLiveFinding& f : r.Findings)
    if (f.Tool == tool && f.Line == line) return &f;
  return nullptr;
}

const char kGood[] =
    "      PROGRAM T\n"
    "      INTEGER I\n"
    "      I = 1\n"
    "      PRINT *, I\n"
    "      END\n";
// Line 3 lacks the operand after "+"; what is on disk stays the good text.
const char kTyped[] =
    "      PROGRAM T\n"
    "      INTEGER I\n"
    "      I = 1 + (\n"
    "      PRINT *, I\n"
    "      END\n";

class LiveCheckRealTools : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("gfortran") || !OnPath("ftnchek")) GTEST_SKIP() << "gfortran or ftnchek missing";
    tools.Compiler = "gfortran";
    tools.Analyzer = "ftnchek";
  }
  test::TTempDir dir;
  TLiveTools tools;
};

TEST_F(LiveCheckRealTools, UnsavedErrorIsMarkedInTheUsersFileWhichStaysUntouched) {
  const std::string file = dir.Write("prog.f", kGood);
  const TLiveResult typed = RunLiveCheck({{Source(Doc(1), file, kTyped)}}, tools, nullptr);
  ASSERT_FALSE(typed.Stopped);
  const TLiveFinding* error = FindingAt(typed, "gfortran", 3);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->Kind, mkError);
  EXPECT_EQ(error->Editor, Doc(1));
  EXPECT_EQ(error->File, file);
  EXPECT_GT(error->Column, 6);
  EXPECT_NE(FindingAt(typed, "ftnchek", 3), nullptr);

  // The file on disk was never written, and nothing was left beside it.
  std::string bytes, why;
  ASSERT_TRUE(platform::ReadFileBytes(file, bytes, why));
  EXPECT_EQ(bytes, kGood);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

  // The fix clears the error.
  const TLiveResult fixed = RunLiveCheck({{Source(Doc(1), file, kGood)}}, tools, nullptr);
  for (const TLiveFinding& f : fixed.Findings) EXPECT_NE(f.Kind, mkError) << f.Text;
}

TEST_F(LiveCheckRealTools, IncludesAreFoundInTheSourcesFolder) {
  dir.Write("src/common.inc", "      INTEGER N\n      COMMON /C/ N\n");
  const std::string file = dir.Write("src/prog.f", "");
  const std::string text =
      "      PROGRAM T\n"
      "      INCLUDE 'common.inc'\n"
      "      N = 1\n"
      "      PRINT *, N\n"
      "      END\n";
  const TLiveResult r = RunLiveCheck({{Source(Doc(1), file, text)}}, tools, nullptr);
  for (const TLiveFinding& f : r.Findings) EXPECT_NE(f.Kind, mkError) << f.Tool << ": " << f.Text;
}

TEST_F(LiveCheckRealTools, OpenSetShowsAnArgumentCountMismatchBetweenFiles) {
  const std::string main = dir.Write("main.f", "");
  const std::string sub = dir.Write("sub.f", "");
  const std::string mainText =
      "      PROGRAM T\n"
      "      CALL S(1, 2)\n"
      "      END\n";
  const std::string subText =
      "      SUBROUTINE S(A)\n"
      "      INTEGER A\n"
      "      PRINT *, A\n"
      "      END\n";
  auto mismatch = [](const TLiveResult& r) {
    for (const TLiveFinding& f : r.Findings)
      if (f.Tool == "ftnchek" && f.Text.find("number of arguments") != std::string::npos)
        return true;
    return false;
  };
  tools.Compiler.clear();
  const TLiveResult alone = RunLiveCheck({{Source(Doc(1), main, mainText)}}, tools, nullptr);
  EXPECT_FALSE(mismatch(alone));
  const TLiveResult both = RunLiveCheck(
      {{Source(Doc(1), main, mainText), Source(Doc(2), sub, subText)}}, tools, nullptr);
  EXPECT_TRUE(mismatch(both));
}

TEST_F(LiveCheckRealTools, AFormatWithoutTheSourcesPlaceStillNamesTheCopies) {
  const std::string file = dir.Write("prog.f", kGood);
  tools.Compiler.clear();
  tools.AnalyzerFormat = "";
  tools.TimeLimitMs = 3000;
  const TLiveResult r = RunLiveCheck({{Source(Doc(1), file, kTyped)}}, tools, nullptr);
  // Before, the analyzer read its standard input until it was cut.
  EXPECT_EQ(r.Analyzer, TLiveToolState::Ran);
}

// A script standing in for a tool: the fake tool with the given actions, whatever the
// arguments.
std::string FakeTool(const test::TTempDir& dir, const std::string& name,
                     const std::string& actions) {
  const std::string path = dir.Write(name, "#!/bin/sh\nexec " VORTAN_FAKETOOL " " + actions + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

struct TCollector {
  std::mutex mutex;
  std::vector<std::pair<std::uint64_t, TLiveResult>> results;
  TLiveChecker::TDeliver Deliver() {
    return [this](TfrmEditor*, std::uint64_t ticket, TLiveResult result) {
      std::lock_guard lock(mutex);
      results.emplace_back(ticket, std::move(result));
    };
  }
};

TEST(LiveChecker, BadToolsAreCutAndSaidOnce) {
  test::TTempDir dir;
  const std::string file = dir.Write("prog.f", kGood);
  struct TCase {
    const char* actions;
    TLiveToolState first;
  } cases[] = {
      {"hang", TLiveToolState::TimedOut},
      {"bytes 400000000", TLiveToolState::Flooded},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.actions);
    TCollector collector;
    TLiveChecker checker(collector.Deliver());
    TLiveTools tools;
    tools.Compiler = FakeTool(dir, "tool", c.actions);
    tools.TimeLimitMs = 1500;
    tools.OutputLimit = 64 * 1024;
    checker.SetTools(tools);
    const auto start = std::chrono::steady_clock::now();
    checker.Request({{Source(Doc(1), file, kGood)}});
    ASSERT_TRUE(checker.WaitIdle(10000));
    checker.Request({{Source(Doc(1), file, kGood)}});
    ASSERT_TRUE(checker.WaitIdle(10000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    ASSERT_EQ(collector.results.size(), 2u);
    EXPECT_EQ(collector.results[0].second.Compiler, c.first);
    EXPECT_EQ(collector.results[1].second.Compiler, TLiveToolState::Ran);
  }
}

TEST(LiveChecker, MissingToolIsSaidOnceAndLeftOut) {
  test::TTempDir dir;
  const std::string file = dir.Write("prog.f", kGood);
  TCollector collector;
  TLiveChecker checker(collector.Deliver());
  TLiveTools tools;
  tools.Compiler = dir / "no-such-compiler";
  checker.SetTools(tools);
  for (int i = 0; i < 2; ++i) {
    checker.Request({{Source(Doc(1), file, kGood)}});
    ASSERT_TRUE(checker.WaitIdle(10000));
  }
  ASSERT_EQ(collector.results.size(), 2u);
  EXPECT_EQ(collector.results[0].second.Compiler, TLiveToolState::Missing);
  EXPECT_EQ(collector.results[1].second.Compiler, TLiveToolState::Ran);
}

TEST(LiveChecker, ANewerRequestStopsTheRunningCheckAndOnlyTheNewestIsDelivered) {
  test::TTempDir dir;
  const std::string file = dir.Write("prog.f", kGood);
  const std::string marker = dir / "started";
  TCollector collector;
  TLiveChecker checker(collector.Deliver());
  TLiveTools tools;
  // Each run says it started, then takes longer than the test waits for a stop.
  tools.Compiler =
      dir.Write("tool", "#!/bin/sh\ntouch " + marker + "\nexec " VORTAN_FAKETOOL " sleep 5000\n");
  std::filesystem::permissions(tools.Compiler, std::filesystem::perms::owner_all);
  tools.TimeLimitMs = 60000;
  checker.SetTools(tools);

  checker.Request({{Source(Doc(1), file, kTyped)}});
  while (!std::filesystem::exists(marker)) std::this_thread::yield();
  const auto start = std::chrono::steady_clock::now();
  checker.Request({{Source(Doc(1), file, kGood)}});
  checker.Cancel(Doc(1));  // an edit after the second request: neither result is wanted
  ASSERT_TRUE(checker.WaitIdle(10000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_TRUE(collector.results.empty());

  tools.Compiler = FakeTool(dir, "quick", "out done");
  checker.SetTools(tools);
  checker.Request({{Source(Doc(1), file, kTyped)}});
  const std::uint64_t newest = checker.Request({{Source(Doc(1), file, kGood)}});
  ASSERT_TRUE(checker.WaitIdle(10000));
  ASSERT_EQ(collector.results.size(), 1u);
  EXPECT_EQ(collector.results[0].first, newest);
}

}  // namespace
}  // namespace vortan
