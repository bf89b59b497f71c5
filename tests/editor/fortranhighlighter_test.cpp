#include "editor/fortranhighlighter.h"

#include <gtest/gtest.h>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

THighlightAttribute Attr(std::optional<TColor> fg, bool bold = false, bool italic = false) {
  THighlightAttribute a;
  a.Foreground = fg;
  a.Bold = bold;
  a.Italic = italic;
  return a;
}

class FortranHighlighterStore : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.Open(dir / "registry.sqlite").Ok); }
  test::TTempDir dir;
  TSettingsStore store;
};

TEST(FortranHighlighter, BeforeLoadingOnlyCommentIsItalicAndKeyBold) {
  TSynFortranSyn h;
  for (int i = 0; i < FortranAttributeCount; ++i) {
    const THighlightAttribute expected = Attr(std::nullopt, i == faKey, i == faComment);
    EXPECT_EQ(h.Attribute(i), expected) << h.AttributeName(i);
  }
  EXPECT_STREQ(h.AttributeName(faKey), "Reserved Word");
  EXPECT_EQ(&h.GetDefaultAttribute(TGenericAttribute::Keyword), &h.Attribute(faKey));
  EXPECT_EQ(&h.GetDefaultAttribute(TGenericAttribute::Whitespace), &h.Attribute(faSpace));
}

TEST(FortranHighlighter, TokensArePaintedWithTheirAttribute) {
  TSynFortranSyn h;
  const std::string line = "      X\xE9 = 'A' ! C";
  std::vector<std::pair<TTokenKind, const THighlightAttribute*>> seen;
  for (h.SetLine(line, 1); !h.GetEol(); h.Next())
    seen.emplace_back(h.GetTokenKind(), h.GetTokenAttribute());
  EXPECT_EQ(h.GetTokenAttribute(), nullptr);  // end of line
  ASSERT_EQ(seen.size(), 9u);
  EXPECT_EQ(seen[1].second, &h.Attribute(faIdentifier));  // X
  EXPECT_EQ(seen[2].first, TTokenKind::Unknown);
  EXPECT_EQ(seen[2].second, &h.Attribute(faIdentifier));
  EXPECT_EQ(seen[6].second, &h.Attribute(faString));
  EXPECT_EQ(seen[7].second, &h.Attribute(faSpace));
  EXPECT_EQ(seen[8].second, &h.Attribute(faComment));
}

TEST_F(FortranHighlighterStore, LoadsTheStoredDefaultsAndDamagedTextsFallBack) {
  store.WriteString(sidHighlightSymbol, "garbage");
  TSynFortranSyn h;
  h.LoadAttributes(store);
  EXPECT_EQ(h.Attribute(faComment), Attr(0xC0C0C0, false, true));
  EXPECT_EQ(h.Attribute(faIdentifier), Attr(std::nullopt));
  EXPECT_EQ(h.Attribute(faKey), Attr(0xFF0000, true));
  EXPECT_EQ(h.Attribute(faNumber), Attr(0x0000FF));
  EXPECT_EQ(h.Attribute(faSpace), Attr(std::nullopt));
  EXPECT_EQ(h.Attribute(faString), Attr(0x0000FF));
  EXPECT_EQ(h.Attribute(faSymbol), Attr(std::nullopt));
  // Text past column 72 reads as ignored: grey on a lighter ground.
  EXPECT_EQ(h.IgnoredAttribute().Foreground, TColor(0x808080));
  EXPECT_EQ(h.IgnoredAttribute().Background, TColor(0xF0F0F0));
}

TEST_F(FortranHighlighterStore, PastColumn72IsStoredLikeTheOthers) {
  TSynFortranSyn h;
  h.SetIgnoredAttribute(Attr(0x00404040, false, true));
  h.SaveAttributes(store);
  EXPECT_EQ(store.ReadString(sidFixedFormPastColumn72), ",$00404040,0,1,0,0");
  TSynFortranSyn other;
  other.LoadAttributes(store);
  EXPECT_EQ(other.IgnoredAttribute(), h.IgnoredAttribute());
}

TEST_F(FortranHighlighterStore, SavedAttributesLoadBackInTheirOwnSettings) {
  TSynFortranSyn h;
  THighlightAttribute number = Attr(0x00808000, false, false);
  number.Background = 0x00FFFFFF;
  number.Underline = true;
  h.SetAttribute(faNumber, number);
  h.SetAttribute(faSymbol, Attr(0x80000008, true));
  h.SaveAttributes(store);
  EXPECT_EQ(store.ReadString(sidHighlightNumber), "$00FFFFFF,$00808000,0,0,1,0");

  TSynFortranSyn other;
  other.LoadAttributes(store);
  EXPECT_EQ(other.Attributes(), h.Attributes());
}

TEST(FortranHighlighter, ChangesNotifyTheRegisteredControls) {
  TSynFortranSyn h;
  int first = 0, second = 0;
  const int id = h.AddChangeHandler([&] { ++first; });
  h.AddChangeHandler([&] { ++second; });
  h.SetAttribute(faKey, Attr(0xFF));
  h.SetAttributes(h.Attributes());
  h.RemoveChangeHandler(id);
  h.SetAttribute(faKey, Attr(0xFF00));
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 3);
}

TEST(FortranHighlighter, IdentityAndWordCharacters) {
  TSynFortranSyn h;
  EXPECT_EQ(TSynFortranSyn::GetLanguageName(), "Fortran");
  EXPECT_EQ(h.DefaultFilter(), "Fortran Files (*.for)|*.for");
  std::string word;
  for (int c = 0; c < 256; ++c)
    if (TSynFortranSyn::IsWordChar(static_cast<unsigned char>(c))) word += static_cast<char>(c);
  std::string expected = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
  for (int c = 192; c < 256; ++c)
    if (c != 215 && c != 247) expected += static_cast<char>(c);
  EXPECT_EQ(word, expected);
}

}  // namespace
}  // namespace vortan
