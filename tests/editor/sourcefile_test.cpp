#include "editor/sourcefile.h"

#include <gtest/gtest.h>

#include <string>

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
  // Only a NUL makes the lines differ from the file they came from.
  EXPECT_TRUE(SplitSource(std::string("A\0B\n", 4)).HadNul);
  EXPECT_FALSE(SplitSource("A\r\nB\rC\n").HadNul);
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

}  // namespace
}  // namespace vortan
