#include "config/printsettings.h"

#include <gtest/gtest.h>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

class PrintSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.Open(dir / "registry.sqlite").Ok); }
  test::TTempDir dir;
  TSettingsStore store;
};

TEST(PrintSettings, MarginConversionBetweenUnits) {
  struct Case {
    double value;
    TMarginUnit from, to;
    double expected;
  } cases[] = {
      {25.4, TMarginUnit::Millimeters, TMarginUnit::Inches, 1.0},
      {25.0, TMarginUnit::Millimeters, TMarginUnit::Centimeters, 2.5},
      {1.0, TMarginUnit::Inches, TMarginUnit::Thousandths, 1000.0},
      {500.0, TMarginUnit::Thousandths, TMarginUnit::Millimeters, 12.7},
      {2.5, TMarginUnit::Centimeters, TMarginUnit::Millimeters, 25.0},
      {7.0, TMarginUnit::Inches, TMarginUnit::Inches, 7.0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(ConvertMargin(c.value, c.from, c.to), c.expected, 1e-9)
        << c.value << " " << int(c.from) << "->" << int(c.to);
}

TEST(PrintSettings, ChangingTheUnitKeepsEveryMarginsLength) {
  TPrintSettings s;
  s.SetUnit(TMarginUnit::Inches);
  EXPECT_EQ(s.Unit, TMarginUnit::Inches);
  EXPECT_NEAR(s.Left, 25.0 / 25.4, 1e-9);
  EXPECT_NEAR(s.HFInternal, 0.5 / 25.4, 1e-9);
  EXPECT_NEAR(s.ToMillimeters(s.Right), 15.0, 1e-9);
  s.SetUnit(TMarginUnit::Millimeters);
  EXPECT_NEAR(s.Top, 25.0, 1e-9);
}

TEST(PrintSettings, DefaultHeaderAndFooterAreTheBuiltInOnes) {
  const THeaderFooter h = DefaultPrintHeader();
  ASSERT_EQ(h.Items.size(), 3u);
  EXPECT_EQ(h.Items[0].Text, "$TITLE$");
  EXPECT_EQ(h.Items[0].Alignment, THFAlignment::Left);
  EXPECT_EQ(h.Items[1].Text, "$PAGENUM$/$PAGECOUNT$");
  EXPECT_EQ(h.Items[1].Alignment, THFAlignment::Right);
  EXPECT_EQ(h.Items[2].Text, "$DATE$ $TIME$");
  EXPECT_EQ(h.Items[2].LineNumber, 2);
  EXPECT_EQ(h.Items[2].Font.Size, 6);
  EXPECT_EQ(h.DefaultFont.Name, "Arial");
  EXPECT_EQ(h.DefaultFont.Color, 0u);
  const THeaderFooter f = DefaultPrintFooter();
  ASSERT_EQ(f.Items.size(), 1u);
  EXPECT_EQ(f.Items[0].Text, "$PAGENUM$/$PAGECOUNT$");
  EXPECT_EQ(f.Items[0].Alignment, THFAlignment::Right);
}

TEST_F(PrintSettingsTest, AFreshStoreLoadsTheDefaults) {
  TPrintSettings loaded;
  loaded.PageHeader.Items.clear();  // proves the header stays when nothing is stored
  TPrintSettings expected;
  expected.PageHeader.Items.clear();
  loaded.Load(store);
  EXPECT_EQ(loaded, expected);
}

TEST_F(PrintSettingsTest, SavedSettingsLoadBackInTheirUnit) {
  TPrintSettings s;
  s.SetUnit(TMarginUnit::Centimeters);
  s.Left = 3.25;
  s.Gutter = 1.0;
  s.MirrorMargins = true;
  s.LineNumbers = false;
  s.LineNumbersInMargin = true;
  s.SyntaxPrint = false;
  s.UseColors = false;
  s.WrapLines = false;
  s.PageHeader.Items.pop_back();
  s.PageHeader.FrameKinds = 2 | 4;  // box and shading, no line
  s.PageHeader.LineColor = 0x000000FF;
  s.PageHeader.ShadedColor = 0x00ABCDEF;
  s.PageHeader.MirrorPosition = true;
  s.PageFooter.FrameKinds = 0;
  s.Save(store);
  EXPECT_EQ(store.ReadInteger(sidMarginUnits), 1);
  EXPECT_FALSE(store.ReadBool(sidHeaderLine));
  EXPECT_TRUE(store.ReadBool(sidHeaderBox));

  TPrintSettings loaded;
  loaded.Load(store);
  EXPECT_EQ(loaded, s);
}

TEST_F(PrintSettingsTest, FlagSettingsOverrideTheFrameOfAStoredHeader) {
  // The flags 128/130/131 decide the frame, whatever the stored object says.
  THeaderFooter hf = DefaultPrintHeader();
  hf.FrameKinds = 7;
  store.WriteObject(sidHeaderText, hf);
  store.WriteBool(sidHeaderLine, false);
  store.WriteBool(sidHeaderShadow, true);
  TPrintSettings loaded;
  loaded.Load(store);
  EXPECT_EQ(loaded.PageHeader.FrameKinds, 4);
  EXPECT_EQ(loaded.PageHeader.Items, hf.Items);
}

TEST_F(PrintSettingsTest, AnUnknownUnitReadsAsMillimetres) {
  store.WriteInteger(sidMarginUnits, 9);
  TPrintSettings loaded;
  loaded.Load(store);
  EXPECT_EQ(loaded.Unit, TMarginUnit::Millimeters);
}

}  // namespace
}  // namespace vortan
