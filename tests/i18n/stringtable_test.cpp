#include "i18n/stringtable.h"

#include <gtest/gtest.h>

#include "i18n/parlax.h"

namespace vortan {
namespace {

class StringTableTest : public testing::Test {
 protected:
  void SetUp() override { ResetStringTable(); }
  void TearDown() override { ResetStringTable(); }
};

TEST_F(StringTableTest, EveryKeyComesFromTheTemplate) {
  TParlax engine;
  engine.LoadFromResource();
  const TParlaxItem* strings = engine.Root().FindChild("STRINGS");
  ASSERT_NE(strings, nullptr);
  for (int i = 0; i < StringCount; ++i) {
    const TStr s = static_cast<TStr>(i);
    if (s == TStr::MsgDlgCustom) continue;
    const std::string* key = strings->FindKeySpelling(StringKey(s));
    ASSERT_NE(key, nullptr) << StringKey(s);
    EXPECT_EQ(*key, StringKey(s));  // spelled exactly as the table names it
    EXPECT_EQ(*strings->FindValue(StringKey(s)), StringDefault(s)) << StringKey(s);
    EXPECT_EQ(Str(s), StringDefault(s));
  }
  EXPECT_STREQ(StringKey(TStr::MsgDlgCustom), "");
  EXPECT_STREQ(StringDefault(TStr::MsgDlgCustom), "Vortan 2.0");
}

TEST_F(StringTableTest, BuiltInDefaults) {
  const std::pair<TStr, const char*> cases[] = {
      {TStr::strAnalyzed, "Done.       Analyzed."},
      {TStr::strMsgFileMissing,
       "The file %s is missing.\r\n(Reinstall the %s to resolve this problem)\r\n"
       "Do you wish continue? (Compilation will be not possible)"},
      {TStr::strMsgExtensionNotFound,
       "Sorry, extension not found. Please download it at:\r\n\r\n\r\n%s\r\n\r\n\r\n"
       "Go to %s Project website?"},
      {TStr::strMsgStoreDamaged,
       "The settings file %s could not be read.\r\n"
       "It was kept as %s and the settings start again from their defaults."},
      {TStr::strMsgStringNotFound, "Search String '%s' not found"},
      {TStr::MsgDlgYesToAll, "Yes to &All"},
      {TStr::MsgDlgHelp, "&Help"},
      {TStr::PriorityTimeCritical, "TimeCritical"},
      {TStr::ParlaFilename, "Filename: "},
  };
  for (const auto& [s, text] : cases) EXPECT_STREQ(StringDefault(s), text) << StringKey(s);
}

TEST_F(StringTableTest, LoadOnlyWhenActiveAndKeepMissing) {
  TParlax first;
  first.LoadFromText(
      "STRINGS {\n strOK = Gut\n strNone = (keins)\n MsgDlgYes = &Ja\n"
      " ParlaAuthor = \"Autor: \"\n  = custom title\n}");
  LoadStringTable(first);
  EXPECT_EQ(Str(TStr::strOK), "OK");  // inactive: nothing changes

  first.Active = true;
  LoadStringTable(first);
  EXPECT_EQ(Str(TStr::strOK), "Gut");
  EXPECT_EQ(Str(TStr::MsgDlgYes), "&Ja");
  EXPECT_EQ(Str(TStr::ParlaAuthor), "Autor: ");
  EXPECT_EQ(Str(TStr::strAnalyzed), "Done.       Analyzed.");
  EXPECT_EQ(Str(TStr::MsgDlgCustom), "Vortan 2.0");  // never read from files

  // A second language lacking keys leaves the texts of the first in place.
  TParlax second;
  second.LoadFromText("STRINGS {\n strok = Bien\n}\nOTHER { strNone = wrong\n}");
  second.Active = true;
  LoadStringTable(second);
  EXPECT_EQ(Str(TStr::strOK), "Bien");
  EXPECT_EQ(Str(TStr::strNone), "(keins)");

  TParlax noStrings;
  noStrings.Active = true;
  LoadStringTable(noStrings);
  EXPECT_EQ(Str(TStr::strOK), "Bien");

  ResetStringTable();
  EXPECT_EQ(Str(TStr::strOK), "OK");
  EXPECT_EQ(Str(TStr::strNone), "(none)");
}

TEST(FormatStr, Placeholders) {
  struct Case {
    const char* format;
    std::initializer_list<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {"The file %s is missing (%s).",
       {"G77.EXE", "Vortan"},
       "The file G77.EXE is missing (Vortan)."},
      {"Waiting... %d", {"5"}, "Waiting... 5"},
      {"100%% of %s", {"x"}, "100% of x"},
      {"%s and %s", {"one"}, "one and %s"},
      {"no placeholders", {"unused"}, "no placeholders"},
      {"%x %5d % %", {"a"}, "%x %5d % %"},
      {"trailing %", {}, "trailing %"},
      {"%s", {"%s%d"}, "%s%d"},  // filled texts are not scanned again
      {"", {"a"}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatStr(c.format, c.args), c.expected) << c.format;
}

}  // namespace
}  // namespace vortan
