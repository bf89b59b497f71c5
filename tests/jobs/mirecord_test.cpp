#include "jobs/mirecord.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(MiRecordTest, ReadsRecordKindsTokensAndClasses) {
  struct TCase {
    const char* Line;
    TMiRecord::TType Type;
    long Token;
    const char* Class;
  };
  const TCase cases[] = {
      {"12^done,value=\"32\"", TMiRecord::Result, 12, "done"},
      {"^running", TMiRecord::Result, -1, "running"},
      {"*stopped,reason=\"end-stepping-range\"", TMiRecord::ExecAsync, -1, "stopped"},
      {"=thread-group-added,id=\"i1\"", TMiRecord::NotifyAsync, -1, "thread-group-added"},
      {"~\"text\\n\"", TMiRecord::Console, -1, ""},
      {"&\"warning\"", TMiRecord::Log, -1, ""},
      {"(gdb) ", TMiRecord::Prompt, -1, ""},
      // Cut off or not MI at all.
      {"^done,value=\"3", TMiRecord::Invalid, -1, ""},
      {"^done,bkpt={number=\"1\"", TMiRecord::Invalid, -1, ""},
      {"Hello from the program", TMiRecord::Invalid, -1, ""},
      {"", TMiRecord::Invalid, -1, ""},
      {"^done,a=", TMiRecord::Invalid, -1, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Line);
    const TMiRecord r = ParseMiRecord(c.Line);
    EXPECT_EQ(r.Type, c.Type);
    if (r.Type == TMiRecord::Invalid) continue;
    EXPECT_EQ(r.Token, c.Token);
    EXPECT_EQ(r.Class, c.Class);
  }
}

TEST(MiRecordTest, ReadsNestedTuplesListsAndEscapes) {
  const TMiRecord r = ParseMiRecord(
      "*stopped,reason=\"breakpoint-hit\",frame={func=\"MAIN__\",args=[],"
      "file=\"a b.f\",line=\"23\"},stack=[frame={level=\"0\"},frame={level=\"1\"}],"
      "list=[\"x\",\"y\"],value=\"'it\\\\s \\\"q\\\"'\\t\\303\\251\"");
  ASSERT_EQ(r.Type, TMiRecord::ExecAsync);
  EXPECT_EQ(r.Results.Str("reason"), "breakpoint-hit");
  EXPECT_EQ(r.Results["frame"].Str("file"), "a b.f");
  EXPECT_EQ(r.Results["frame"].Num("line"), 23);
  EXPECT_EQ(r.Results["frame"]["args"].Kind, TMiValue::List);
  ASSERT_EQ(r.Results["stack"].Items.size(), 2u);
  EXPECT_EQ(r.Results["stack"].Items[1].first, "frame");
  EXPECT_EQ(r.Results["stack"].Items[1].second.Str("level"), "1");
  ASSERT_EQ(r.Results["list"].Items.size(), 2u);
  EXPECT_EQ(r.Results["list"].Items[1].second.Text, "y");
  // Octal escapes are bytes: UTF-8 "é" arrives as \303\251.
  EXPECT_EQ(r.Results.Str("value"), "'it\\s \"q\"'\t\xC3\xA9");
  EXPECT_EQ(r.Results.Str("missing"), "");
  EXPECT_EQ(r.Results.Num("reason", -7), -7);
}

TEST(MiRecordTest, DeepNestingIsRefusedNotOverflowed) {
  std::string line = "^done,v=";
  for (int i = 0; i < 100000; ++i) line += '[';
  EXPECT_EQ(ParseMiRecord(line).Type, TMiRecord::Invalid);
}

TEST(MiRecordTest, QuotedArgumentsReadBackUnchanged) {
  for (const std::string text : {"plain", "a b", "say \"hi\"", "back\\slash", "two\nlines"}) {
    SCOPED_TRACE(text);
    const TMiRecord r = ParseMiRecord("^done,v=" + MiQuote(text));
    ASSERT_EQ(r.Type, TMiRecord::Result);
    EXPECT_EQ(r.Results.Str("v"), text);
  }
}

}  // namespace
}  // namespace vortan
