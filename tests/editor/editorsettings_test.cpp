#include "editor/editorsettings.h"

#include <gtest/gtest.h>

#include <functional>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

class EditorSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenStore(dir_ / "a.sqlite").Ok); }
  void TearDown() override { CloseStore(); }
  test::TTempDir dir_;
};

TEST_F(EditorSettingsTest, ReadsTheStoredValuesAndTheirDefaults) {
  const TEditorSettings defaults = TEditorSettings::Read(Store());
  EXPECT_EQ(defaults.GuideColumns, (std::vector<int>{6, 72}));
  EXPECT_EQ(defaults.GutterWidth, 30);
  EXPECT_EQ(defaults.FontName, "Courier New");
  EXPECT_TRUE(defaults.InsertMode);

  struct Case {
    const char* what;
    std::function<void()> write;
    std::function<bool(const TEditorSettings&)> holds;
  };
  const std::vector<Case> cases = {
      {"guides off", [] { WriteBool(sidShowVerticalLine, false); },
       [](const TEditorSettings& s) { return s.GuideColumns.empty(); }},
      {"guide list without a column", [] { WriteString(sidVerticalLineColumn, "x,y"); },
       [](const TEditorSettings& s) { return s.GuideColumns.empty(); }},
      {"caret shape out of range", [] { WriteInteger(sidOverwriteCaret, 9); },
       [](const TEditorSettings& s) { return s.OverwriteCaret == 3; }},
      {"font size zero", [] { WriteInteger(sidFontSize, 0); },
       [](const TEditorSettings& s) { return s.FontSize == 1; }},
      {"damaged gutter font", [] { WriteString(sidGutterFont, "Mono"); },
       [](const TEditorSettings& s) { return s.GutterFont.Name == "Terminal"; }},
      {"merged status bar", [] { WriteBool(sidMergeStatusbar, true); },
       [](const TEditorSettings& s) { return s.MergeStatusbar; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Store().DeleteRoot();
    c.write();
    EXPECT_TRUE(c.holds(TEditorSettings::Read(Store())));
  }
}

TEST_F(EditorSettingsTest, OneSnapshotIsSharedUntilTheStoreChanges) {
  const auto first = CurrentEditorSettings();
  EXPECT_EQ(CurrentEditorSettings(), first) << "nothing written: the same snapshot";
  EXPECT_FALSE(first->ShowSpecialChars);

  WriteBool(sidShowSpecialChars, true);
  const auto second = CurrentEditorSettings();
  EXPECT_TRUE(second->ShowSpecialChars);
  EXPECT_FALSE(first->ShowSpecialChars) << "a snapshot handed out never changes";
  EXPECT_EQ(CurrentEditorSettings(), second);

  // Another store file, even one with no write of its own, is read afresh.
  CloseStore();
  ASSERT_TRUE(OpenStore(dir_ / "b.sqlite").Ok);
  EXPECT_FALSE(CurrentEditorSettings()->ShowSpecialChars);
}

}  // namespace
}  // namespace vortan
