#include "config/optionbindings.h"

#include <gtest/gtest.h>

#include <set>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

TEST(OptionBindings, EveryRowNamesOneControlAndASettingOfTheMatchingType) {
  std::set<std::string_view> controls;
  std::set<int> settings;
  for (const TOptionBinding& b : OptionBindings()) {
    SCOPED_TRACE(std::string(b.Control));
    EXPECT_TRUE(controls.insert(b.Control).second) << "control bound twice";
    EXPECT_TRUE(settings.insert(b.Setting).second) << "setting bound twice";
    const TSettingType t = SettingsTable[std::size_t(b.Setting)].Type;
    const bool isText =
        b.Kind == TBindKind::Text || b.Kind == TBindKind::Columns || b.Kind == TBindKind::FontName;
    if (b.Kind == TBindKind::Check)
      EXPECT_EQ(t, TSettingType::Bool);
    else if (isText)
      EXPECT_EQ(t, TSettingType::String);
    else
      EXPECT_EQ(t, TSettingType::Integer);
    if (b.History >= 0) {
      EXPECT_EQ(SettingsTable[std::size_t(b.History)].Type, TSettingType::Object);
    }
  }
  // The ten combo boxes with a history.
  std::set<int> histories;
  for (const TOptionBinding& b : OptionBindings())
    if (b.History >= 0) histories.insert(b.History);
  EXPECT_EQ(histories, (std::set<int>{154, 155, 156, 157, 158, 159, 164, 165, 166, 167}));
}

TEST(OptionBindings, TypedCharactersAreFilteredByTheBoxKind) {
  struct Case {
    TInputFilter filter;
    char32_t c;
    bool ctrl;
    bool accepted;
  } cases[] = {
      {TInputFilter::Digits, U'7', false, true},   {TInputFilter::Digits, U'a', false, false},
      {TInputFilter::Digits, U'-', false, false},  {TInputFilter::Digits, U',', false, false},
      {TInputFilter::Digits, U'\b', false, true},  // Backspace
      {TInputFilter::Digits, U'v', true, true},    // Ctrl+V passes
      {TInputFilter::Columns, U',', false, true},  {TInputFilter::Columns, U' ', false, false},
      {TInputFilter::Decimal, U',', false, true},  // the locale's separator here is ','
      {TInputFilter::Decimal, U'.', false, false}, {TInputFilter::Decimal, U'-', false, false},
      {TInputFilter::None, U'-', false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AcceptsTyped(c.filter, c.c, U',', c.ctrl), c.accepted)
        << int(c.filter) << " '" << char(c.c) << "' ctrl=" << c.ctrl;
}

TEST(OptionBindings, OnlyWholeNumbersInRangeAndRealColumnListsCanBeApplied) {
  struct Case {
    const char* control;
    const char* text;
    TValueError error;
    const char* field;
  } cases[] = {
      {"cbxUndoLimit", "0", TValueError::None, ""},
      {"cbxUndoLimit", "2147483647", TValueError::None, ""},
      {"cbxUndoLimit", "2147483648", TValueError::OutOfRange, "2147483648"},
      {"cbxUndoLimit", "99999999999999999999999", TValueError::OutOfRange,
       "99999999999999999999999"},
      {"cbxUndoLimit", "12a", TValueError::NotANumber, "12a"},
      {"cbxUndoLimit", "-5", TValueError::NotANumber, "-5"},
      {"cbxUndoLimit", "", TValueError::NotANumber, ""},
      {"cbxTabStops", "0", TValueError::OutOfRange, "0"},
      {"cbxSize", "0", TValueError::OutOfRange, "0"},
      {"cbxVLine", "6,72,80", TValueError::None, ""},
      {"cbxVLine", "6,,72", TValueError::None, ""},
      {"cbxVLine", "6,,72,abc,999999", TValueError::NotANumber, "abc"},
      {"cbxVLine", "6,,72,999999", TValueError::OutOfRange, "999999"},
      {"cbxVLine", "0", TValueError::OutOfRange, "0"},
      {"cbxVLine", ",,", TValueError::NotANumber, ",,"},
      {"cbxCompilerOptions", "-O2 -Wall", TValueError::None, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.control) + " '" + c.text + "'");
    const TOptionBinding* b = FindBinding(c.control);
    ASSERT_NE(b, nullptr);
    const TValueCheck r = CheckBindingText(*b, c.text);
    EXPECT_EQ(r.Error, c.error);
    if (!r) {
      EXPECT_EQ(r.Field, c.field);
    }
  }
  EXPECT_EQ(NormalizeColumnList("6,,72,"), "6,72");
}

TEST(OptionBindings, DecimalTextsReadWithTheLocaleSeparatorAndWriteTheShortestForm) {
  EXPECT_EQ(ParseDecimalText("2,5", ','), 2.5);
  EXPECT_EQ(ParseDecimalText("25", '.'), 25.0);
  EXPECT_EQ(ParseDecimalText(".5", '.'), 0.5);
  for (const char* bad : {"", ",", "2,5,1", "1e3", "-1", "2.5"})
    EXPECT_FALSE(ParseDecimalText(bad, ',')) << bad;
  EXPECT_EQ(DecimalText(2.5, ','), "2,5");
  EXPECT_EQ(DecimalText(25.0, '.'), "25");
  EXPECT_EQ(DecimalText(0.1 + 0.2, '.'), "0.30000000000000004");
  // Whatever is written reads back unchanged, even far beyond any page.
  for (double v : {0.984251968503937, 1e22, 0.0}) {
    EXPECT_EQ(ParseDecimalText(DecimalText(v, ','), ','), v) << v;
  }
}

class OptionStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.Open(dir / "registry.sqlite").Ok); }
  test::TTempDir dir;
  TSettingsStore store;
};

TEST_F(OptionStoreTest, EveryKindOfRowWritesAndReadsBackItsText) {
  struct Case {
    const char* control;
    const char* text;
    const char* readBack;
  } cases[] = {
      {"chkNewWindowMaximized", "0", "0"},
      {"chkSmartTabDelete", "1", "1"},
      {"cbxUndoLimit", "32767", "32767"},
      {"cbxVLine", "6,,72,80", "6,72,80"},
      {"cbxFont", "Courier New", "Courier New"},
      {"cbxInsertCaret", "2", "2"},
      {"grpRunWith", "3", "3"},
      {"TrackBar1", "6", "6"},
      {"btnVerticalLineColor", "255", "255"},
      {"cbxDebuggerParameters", "-nx", "-nx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    const TOptionBinding* b = FindBinding(c.control);
    ASSERT_NE(b, nullptr);
    WriteBindingText(store, *b, c.text);
    EXPECT_EQ(ReadBindingText(store, *b), c.readBack);
  }
  EXPECT_EQ(store.ReadString(sidVerticalLineColumn), "6,72,80");
}

}  // namespace
}  // namespace vortan
