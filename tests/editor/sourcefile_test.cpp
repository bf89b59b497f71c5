#include "editor/sourcefile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/tempdir.h"

namespace vortan {
namespace {

struct TSplitCase {
  std::string bytes;
  std::string text;
  std::size_t lines;
  TLineBreak lineBreak;
};

TEST(SourceFile, SplitsAtEveryBreakAndRemembersTheConvention) {
  const std::vector<TSplitCase> cases = {
      {"", "", 0, TLineBreak::CRLF},
      {"A", "A", 1, TLineBreak::CRLF},
      {"A\r\nB\r\n", "A\nB", 2, TLineBreak::CRLF},
      {"A\nB", "A\nB", 2, TLineBreak::LF},
      {"A\rB\r", "A\nB", 2, TLineBreak::CR},
      {"A\r\nB\nC\rD", "A\nB\nC\nD", 4, TLineBreak::CRLF},
      {"A\nB\rC\n", "A\nB\nC", 3, TLineBreak::CRLF},
      {"\n", "", 1, TLineBreak::LF},
      {"\n\n", "\n", 2, TLineBreak::LF},
      {"\r\r\n", "\n", 2, TLineBreak::CRLF},
      {std::string("A\0B\n", 4), "A\nB", 2, TLineBreak::LF},
      {std::string("\0", 1), "", 1, TLineBreak::CRLF},
  };
  for (const TSplitCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    const TSplitSource s = SplitSource(c.bytes);
    EXPECT_EQ(s.Text, c.text);
    EXPECT_EQ(s.LineCount, c.lines);
    EXPECT_EQ(s.LineBreak, c.lineBreak);
  }
}

TEST(SourceFile, JoinWritesEveryLineWithTheBreak) {
  EXPECT_EQ(JoinSource("", 0, TLineBreak::CRLF), "");
  EXPECT_EQ(JoinSource("", 1, TLineBreak::CRLF), "\r\n");
  EXPECT_EQ(JoinSource("A\n\nB", 3, TLineBreak::CR), "A\r\rB\r");
  EXPECT_EQ(JoinSource("A\nB", 2, TLineBreak::LF), "A\nB\n");
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SourceFile, ReplacingWritesThroughALinkAndKeepsIt) {
  test::TTempDir dir;
  const std::string target = dir.Write("real.f", "OLD");
  const std::string link = dir / "link.f";
  ASSERT_EQ(::symlink("real.f", link.c_str()), 0);
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(link, "NEW", error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(target), "NEW");
}

TEST(SourceFile, ANewFileGetsTheUsualPermissions) {
  test::TTempDir dir;
  const mode_t mask = ::umask(022);
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(dir / "new.f", "X", error)) << error;
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat((dir / "new.f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST(SourceFile, ReadingADirectoryFails) {
  test::TTempDir dir;
  std::string bytes = "unchanged", error;
  EXPECT_FALSE(ReadFileBytes(dir.Path(), bytes, error));
  EXPECT_EQ(bytes, "unchanged");
  EXPECT_EQ(error, "Is a directory");
}

}  // namespace
}  // namespace vortan
