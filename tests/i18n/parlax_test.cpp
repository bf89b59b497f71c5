#include "i18n/parlax.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace vortan {
namespace {

// Finds the value at a path of block names followed by a key; nullptr when any part is missing.
const std::string* Lookup(const TParlax& engine, std::initializer_list<std::string_view> blocks,
                          std::string_view key) {
  const TParlaxItem* item = &engine.Root();
  for (std::string_view name : blocks) {
    item = item->FindChild(name);
    if (!item) return nullptr;
  }
  return item->FindValue(key);
}

struct ParseCase {
  const char* name;
  std::string text;
  std::vector<std::string_view> blocks;
  const char* key;
  const char* expected;  // nullptr: the key must not be found
};

const std::string kWithNul = std::string("A { k = v\n j = w\n}") + '\0' + "B { x = y\n}";

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, GivesValue) {
  const ParseCase& c = GetParam();
  TParlax engine;
  engine.LoadFromText(c.text);
  const TParlaxItem* item = &engine.Root();
  for (std::string_view name : c.blocks) {
    item = item ? item->FindChild(name) : nullptr;
  }
  const std::string* value = item ? item->FindValue(c.key) : nullptr;
  if (c.expected == nullptr) {
    EXPECT_EQ(value, nullptr) << *value;
  } else {
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Parlax, ParseTest,
    testing::Values(
        ParseCase{"Unquoted", "A {\n  Caption =   &New  \r\n}", {"A"}, "Caption", "&New"},
        ParseCase{"QuotedKeepsBlanks",
                  "A {\n ParlaAuthor = \"Author: \"\n}",
                  {"A"},
                  "ParlaAuthor",
                  "Author: "},
        ParseCase{"Empty", "A {\n  Hint =\n  Caption = x\n}", {"A"}, "Hint", ""},
        ParseCase{"BraceBlockFinalBreak",
                  "A {\n k = {\"one\"\n       \"two\"\n       \"\"\n }\n}",
                  {"A"},
                  "k",
                  "one\r\ntwo\r\n"},
        ParseCase{"BraceBlockIgnoresUnquoted",
                  "A {\n k = { junk \"a\" more\n \"b\" }\n}",
                  {"A"},
                  "k",
                  "a\r\nb"},
        ParseCase{"DoubledQuotes",
                  "A {\n k = \"Search String \"\"%s\"\" not found\"\n}",
                  {"A"},
                  "k",
                  "Search String \"%s\" not found"},
        ParseCase{
            "QuotedBracesAndEquals", "A {\n k = \"a { b } = c\"\n}", {"A"}, "k", "a { b } = c"},
        ParseCase{"UnquotedEquals", "A {\n k = a = b\n}", {"A"}, "k", "a = b"},
        ParseCase{"OneLineBlock",
                  "Tab:Find { Caption = Find }\nNext { k = v\n}",
                  {"Tab:Find"},
                  "Caption",
                  "Find"},
        ParseCase{"OneLineBlockIsClosed",
                  "Tab:Find { Caption = Find }\nNext { k = v\n}",
                  {"Next"},
                  "k",
                  "v"},
        ParseCase{"FirstBlockWins", "INFO { k = 1\n}\nINFO { k = 2\n}", {"INFO"}, "k", "1"},
        ParseCase{"FirstKeyWins", "A { Caption = one\nCaption = two\n}", {"A"}, "Caption", "one"},
        ParseCase{"CaseInsensitive", "Form:Main { CAPTION = x\n}", {"form:main"}, "caption", "x"},
        ParseCase{"BomHidesFirstBlock", "\xEF\xBB\xBFINFO { k = v\n}", {"INFO"}, "k", nullptr},
        ParseCase{"TextAfterClosingQuote", "A { k = \"v\" tail\n j = w\n}", {"A"}, "j", nullptr},
        ParseCase{
            "TextAfterClosingQuoteKeepsValue", "A { k = \"v\" tail\n j = w\n}", {"A"}, "k", "v"},
        ParseCase{"CrOnlyBreaks", "A {\r k = v\r j = w\r}", {"A"}, "j", "w"},
        ParseCase{"UnclosedBlockKeepsValues", "A {\n B {\n k = v\n", {"A", "B"}, "k", "v"},
        ParseCase{"UnterminatedValueDropped", "A {\n k = v\n j = w", {"A"}, "j", nullptr},
        ParseCase{"UnterminatedQuoteDropped", "A {\n k = v\n j = {\"w\"", {"A"}, "j", nullptr},
        ParseCase{"StrayClosingBraces", "}}}\nA { k = v\n}}}\nB { j = w\n}", {"B"}, "j", "w"},
        ParseCase{"NulEndsParse", kWithNul, {"B"}, "x", nullptr},
        ParseCase{"NulKeepsEarlierValues", kWithNul, {"A"}, "j", "w"},
        ParseCase{"EmptyInput", "", {"A"}, "k", nullptr}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(Parlax, DuplicateBlocksAndLoadReplacesTree) {
  TParlax engine;
  engine.LoadFromText("INFO { k = 1\n}\nINFO { k = 2\n}");
  ASSERT_EQ(engine.Root().ChildCount(), 2u);
  EXPECT_EQ(*engine.Root().ChildAt(1).FindValue("k"), "2");

  engine.LoadFromText("OTHER { x = y\n}");
  EXPECT_EQ(engine.Root().ChildCount(), 1u);
  EXPECT_EQ(engine.Root().FindChild("INFO"), nullptr);
  EXPECT_FALSE(engine.Active);
}

TEST(Parlax, LookupsPresetAndFallBack) {
  TParlax engine;
  engine.LoadFromText("STRINGS { A = x\n}");
  std::string text = "preset";
  EXPECT_FALSE(engine.Root().Section(TParlaxSection::Strings).GetString("missing", text));
  EXPECT_EQ(text, "preset");
  EXPECT_TRUE(engine.Root().Section(TParlaxSection::Strings).GetString("a", text));
  EXPECT_EQ(text, "x");
  // A missing block is created empty, and lookups on it leave the preset.
  TParlaxItem& button =
      engine.Root().Section(TParlaxSection::Objects).ChildOf(TParlaxKind::Button, "Ok");
  EXPECT_FALSE(button.GetString("Caption", text));
  EXPECT_EQ(text, "x");
  EXPECT_NE(engine.Root().FindChild("OBJECTS")->FindChild("Button:Ok"), nullptr);
}

TEST(Parlax, GetIntegerForms) {
  TParlax engine;
  engine.LoadFromText(
      "A {\n d = $1F\n x = x1F\n h = 0x1F\n n = 12\n m = -7\n w = $FFFFFFFF\n"
      " bad = abc\n mixed = 12abc\n big = 99999999999\n none = \n dollar = $\n}");
  const TParlaxItem& a = engine.Root().Child("A");
  const std::pair<const char*, int> cases[] = {{"d", 31},  {"x", 31},   {"h", 31},    {"n", 12},
                                               {"m", -7},  {"w", -1},   {"bad", 0},   {"mixed", 0},
                                               {"big", 0}, {"none", 0}, {"dollar", 0}};
  for (const auto& [key, expected] : cases) {
    int value = 555;
    EXPECT_TRUE(a.GetInteger(key, value)) << key;
    EXPECT_EQ(value, expected) << key;
  }
  int value = 555;
  EXPECT_FALSE(a.GetInteger("missing", value));
  EXPECT_EQ(value, 555);
}

TEST(Parlax, ReadSection) {
  const std::string text =
      "info { Language = lower\n}\n"
      "EMPTY {\n}\n"
      "OUTER { INFO { Language = nested\n}\n}\n"
      "INFO {\n Language = Deutsch\n Sub { Language = skipped\n}\n Version = 2\n}\n"
      "INFO { Language = second\n}\n";
  std::unique_ptr<TParlaxItem> info = ReadSectionFromText(text, {"INFO"});
  ASSERT_NE(info, nullptr);
  ASSERT_EQ(info->ValueCount(), 2u);
  EXPECT_EQ(*info->FindValue("Language"), "Deutsch");
  EXPECT_EQ(*info->FindValue("Version"), "2");
  EXPECT_EQ(info->ChildCount(), 0u);

  EXPECT_EQ(ReadSectionFromText(text, {"EMPTY"}), nullptr);
  EXPECT_EQ(ReadSectionFromText(text, {"MISSING"}), nullptr);
  ASSERT_NE(ReadSectionFromText(text, {"OUTER", "INFO"}), nullptr);
  EXPECT_EQ(*ReadSectionFromText(text, {"OUTER", "INFO"})->FindValue("Language"), "nested");
  // A path whose first block closes without the rest is not completed in an unrelated block.
  EXPECT_EQ(ReadSectionFromText("A { }\nB { X { k = v\n}\n}", {"A", "X"}), nullptr);
  // An empty INFO is treated as missing, even when a later INFO has values.
  EXPECT_EQ(ReadSectionFromText("INFO {\n}\nINFO { k = v\n}", {"INFO"}), nullptr);
}

TEST(Parlax, FilesAndErrors) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("parlax_test_" + std::to_string(std::random_device{}()) + ".prlx");
  {
    std::ofstream out(path, std::ios::binary);
    out << "INFO {\r\n  Language = Nederlands\r\n}\r\n";
  }
  TParlax engine;
  engine.LoadFromFile(path.string());
  EXPECT_EQ(*Lookup(engine, {"INFO"}, "Language"), "Nederlands");
  std::unique_ptr<TParlaxItem> info = ReadSection(path.string(), {"INFO"});
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(*info->FindValue("language"), "Nederlands");
  std::filesystem::remove(path);

  EXPECT_THROW(engine.LoadFromFile(path.string()), std::runtime_error);
  EXPECT_EQ(*Lookup(engine, {"INFO"}, "Language"), "Nederlands");  // failed load keeps the tree
  EXPECT_THROW(ReadSection(path.string(), {"INFO"}), std::runtime_error);
}

TEST(Parlax, BuiltInTemplate) {
  EXPECT_FALSE(BuiltInTemplate().empty());
  TParlax engine;
  engine.LoadFromResource();
  const std::string* header = Lookup(engine, {"STRINGS"}, "strHeaderText");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(*header, "C\r\nC NAME: \r\nC AUTHOR: \r\nC DESCRIPTION: \r\nC DATE: \r\nC\r\n");
  EXPECT_EQ(*Lookup(engine, {"STRINGS"}, "ParlaAuthor"), "Author: ");
  EXPECT_EQ(*Lookup(engine, {"INFO"}, "Language"), "Language");
  EXPECT_NE(engine.Root().FindChild("OBJECTS"), nullptr);
}

TEST(Parlax, GarbageNeverCrashes) {
  std::mt19937 random(12345);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  // Weighted towards the bytes the scanner reacts to.
  std::string structured(1 << 20, ' ');
  const char special[] = "{}=\"\r\n ab";
  for (char& c : structured) c = special[random() % (sizeof(special) - 1)];

  const std::string deep = std::string(1000000, '{') + "k = v\n";
  const std::string deepValue = "k = " + std::string(1000000, '{') + "\"x\"";
  const std::string deepClosed = std::string(1000000, '{') + std::string(1000001, '}');
  const std::string* const texts[] = {&noise, &structured, &deep, &deepValue, &deepClosed};
  for (const std::string* text : texts) {
    TParlax engine;
    engine.LoadFromText(*text);
    ReadSectionFromText(*text, {"INFO"});
    ReadSectionFromText(*text, {"", "", ""});
  }
  TParlax engine;
  engine.LoadFromText(deep);
  const TParlaxItem* item = &engine.Root();
  for (int i = 0; i < 1000000; ++i) {
    ASSERT_EQ(item->ChildCount(), 1u);
    item = &item->ChildAt(0);
  }
  EXPECT_EQ(*item->FindValue("k"), "v");
}

}  // namespace
}  // namespace vortan
