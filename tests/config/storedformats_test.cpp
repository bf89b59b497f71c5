#include "config/storedformats.h"

#include <gtest/gtest.h>

#include <functional>

namespace vortan {
namespace {

using Fields = std::vector<std::string>;

TEST(StoredFormats, SplitFields) {
  struct Case {
    const char* text;
    Fields fields;
  } cases[] = {
      {"", {""}},
      {"a", {"a"}},
      {"a,", {"a", ""}},
      {",", {"", ""}},
      {"0,,,,,", {"0", "", "", "", "", ""}},
      {"6,x,72", {"6", "x", "72"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitFields(c.text), c.fields) << c.text;
}

TEST(StoredFormats, ScalarFields) {
  EXPECT_TRUE(TextToBool("1"));
  EXPECT_TRUE(TextToBool("1x"));
  EXPECT_FALSE(TextToBool("0"));
  EXPECT_FALSE(TextToBool(""));

  struct IntCase {
    const char* text;
    bool ok;
    int value;
  } ints[] = {
      {"-11", true, -11},       {" 72 ", true, 72},
      {"+5", true, 5},          {"2147483647", true, 2147483647},
      {"2147483648", false, 0}, {"99999999999999999999", false, 0},
      {"", false, 0},           {"-", false, 0},
      {"+-1", false, 0},        {"1x", false, 0},
      {"0x10", false, 0},
  };
  for (const IntCase& c : ints) {
    int v = 0;
    EXPECT_EQ(TextToInteger(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }

  struct ColorCase {
    const char* text;
    bool ok;
    TColor value;
  } colors[] = {
      {"$80000008", true, 0x80000008},
      {"$C0C0C0", true, 0x00C0C0C0},
      {"$00ffffff", true, 0x00FFFFFF},
      {"12632256", true, 0x00C0C0C0},
      {"$", false, 0},
      {"$123456789", false, 0},
      {"$GG", false, 0},
      {"$-1", false, 0},
      {"", false, 0},
      {"red", false, 0},
  };
  for (const ColorCase& c : colors) {
    TColor v = 0;
    EXPECT_EQ(TextToColor(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
  EXPECT_EQ(ColorToText(0x00C0C0C0), "$00C0C0C0");
  EXPECT_EQ(ColorToText(0x80000008), "$80000008");
}

TEST(StoredFormats, DefaultFontReadsAndWritesBack) {
  const char* text = "Terminal,8,$80000008,255,-11,0,0,0,0,0";
  TFontSpec font;
  ASSERT_TRUE(TextToFont(text, font));
  EXPECT_EQ(font, (TFontSpec{"Terminal", 8, 0x80000008, 255, -11, 0, false, false, false, false}));
  EXPECT_EQ(FontToText(font), text);

  for (const char* t :
       {"Terminal,8,$80000008,1,-11,0,0,0,0,0", "Courier New,10,$000000FF,0,-13,2,1,0,1,1",
        "Arial,9,$00FFFFFF,0,0,1,0,1,0,0"}) {
    ASSERT_TRUE(TextToFont(t, font)) << t;
    EXPECT_EQ(FontToText(font), t);
  }
  ASSERT_TRUE(TextToFont("Courier New,10,$000000FF,0,-13,2,1,0,1,1", font));
  EXPECT_TRUE(font.Bold && !font.Italic && font.Underline && font.StrikeOut);
  EXPECT_EQ(font.Pitch, 2);
}

TEST(StoredFormats, Attributes) {
  struct Case {
    const char* text;
    THighlightAttribute attr;
    const char* written;
  } cases[] = {
      {",,1,0,0,0", {std::nullopt, std::nullopt, true, false, false, false}, ",,1,0,0,0"},
      {"$00000080,$00FFFFFF,0,0,0,0",
       {0x00000080, 0x00FFFFFF, false, false, false, false},
       "$00000080,$00FFFFFF,0,0,0,0"},
      {",$C0C0C0,0,1,0,0",
       {std::nullopt, 0x00C0C0C0, false, true, false, false},
       ",$00C0C0C0,0,1,0,0"},
      {",$FF0000,1,0,0,0",
       {std::nullopt, 0x00FF0000, true, false, false, false},
       ",$00FF0000,1,0,0,0"},
      {"$00000000,,0,0,1,1",
       {0x00000000, std::nullopt, false, false, true, true},
       "$00000000,,0,0,1,1"},
  };
  for (const Case& c : cases) {
    THighlightAttribute attr;
    ASSERT_TRUE(TextToAttribute(c.text, attr)) << c.text;
    EXPECT_EQ(attr, c.attr) << c.text;
    EXPECT_EQ(AttributeToText(attr), c.written) << c.text;
  }
}

TEST(StoredFormats, Columns) {
  struct Case {
    const char* text;
    std::vector<int> columns;
  } cases[] = {
      {"6,72", {6, 72}},
      {"6,x,72", {6, 72}},
      {"6,72,", {6, 72}},
      {"72,6,80", {72, 6, 80}},
  };
  for (const Case& c : cases) {
    std::vector<int> columns;
    ASSERT_TRUE(TextToColumns(c.text, columns)) << c.text;
    EXPECT_EQ(columns, c.columns) << c.text;
  }
  EXPECT_EQ(ColumnsToText({6, 72}), "6,72");
  EXPECT_EQ(ColumnsFromStored("x,,y", "6,72"), (std::vector<int>{6, 72}));

  std::string target = "6,72";
  ColumnsToText({}, target);
  EXPECT_EQ(target, "6,72");
  ColumnsToText({10}, target);
  EXPECT_EQ(target, "10");
}

TEST(StoredFormats, Placement) {
  TWindowPlacement p;
  ASSERT_TRUE(TextToPlacement("0,,,,,", p));
  EXPECT_EQ(p, TWindowPlacement{});
  EXPECT_EQ(PlacementToText(p), "0,,,,,");

  ASSERT_TRUE(TextToPlacement("1,2,-8,10,800,600", p));
  EXPECT_EQ(p, (TWindowPlacement{true, 2, -8, 10, 800, 600}));
  EXPECT_EQ(PlacementToText(p), "1,2,-8,10,800,600");

  // A maximised window without a rectangle keeps its state.
  EXPECT_EQ(PlacementToText(TWindowPlacement{false, 2, {}, {}, {}, {}}), "0,2,,,,");
  EXPECT_EQ(PlacementToText(TWindowPlacement{false, 0, 0, 0, 640, 480}), "0,0,0,0,640,480");
}

TEST(StoredFormats, BarLayoutDefaultsRoundTrip) {
  for (const char* text : {"1,TopDock,TopDock,0,0,0,0,0,0", "1,LeftDock,LeftDock,0,0,0,0,112,218",
                           "1,BottomDock,BottomDock,0,0,0,0,590,80", "0,,,0,0,,,,",
                           "1,TopDock,TopDock,1,0,0,0,0,0", "1,TopDock,TopDock,1,24,0,0,0,0",
                           "1,TopDock,TopDock,1,72,0,0,0,0", "1,,TopDock,0,0,300,-20,0,0"}) {
    TBarLayout bar;
    ASSERT_TRUE(TextToBarLayout(text, bar)) << text;
    EXPECT_EQ(BarLayoutToText(bar), text);
  }
  TBarLayout output;
  ASSERT_TRUE(TextToBarLayout("0,,,0,0,,,,", output));
  EXPECT_EQ(output, (TBarLayout{false, "", "", 0, 0, {}, {}, {}, {}}));

  TBarLayout floating;
  ASSERT_TRUE(TextToBarLayout("1,,TopDock,0,0,300,-20,0,0", floating));
  EXPECT_EQ(floating.CurrentDock, "");
  EXPECT_EQ(floating.LastDock, "TopDock");
  EXPECT_EQ(floating.FloatTop, -20);
}

TEST(StoredFormats, WrittenNamesNeverBreakTheFields) {
  TFontSpec font;
  font.Name = "Odd,Name";
  TFontSpec back;
  ASSERT_TRUE(TextToFont(FontToText(font), back));
  EXPECT_EQ(back.Name, "OddName");
  EXPECT_EQ(back.Size, font.Size);
}

// Damaged texts are rejected without touching the target, and the stored-value readers
// return the default instead.
TEST(StoredFormats, DamagedTextsFallBackToDefault) {
  struct Format {
    std::function<bool(std::string_view)> rejectsKeepingTarget;
    std::function<std::string(std::string_view, std::string_view)> readWrite;
  };
  auto check = [](auto parse, auto write, auto fromStored) {
    return Format{[=](std::string_view t) {
                    decltype(fromStored("", "")) target{}, before{};
                    return !parse(t, target) && target == before;
                  },
                  [=](std::string_view t, std::string_view d) { return write(fromStored(t, d)); }};
  };
  Format formats[] = {
      check([](std::string_view t, TFontSpec& v) { return TextToFont(t, v); }, FontToText,
            FontFromStored),
      check([](std::string_view t, THighlightAttribute& v) { return TextToAttribute(t, v); },
            AttributeToText, AttributeFromStored),
      check([](std::string_view t, std::vector<int>& v) { return TextToColumns(t, v); },
            [](const std::vector<int>& v) { return ColumnsToText(v); }, ColumnsFromStored),
      check([](std::string_view t, TWindowPlacement& v) { return TextToPlacement(t, v); },
            PlacementToText, PlacementFromStored),
      check([](std::string_view t, TBarLayout& v) { return TextToBarLayout(t, v); },
            BarLayoutToText, BarLayoutFromStored),
  };
  const char* defaults[] = {"Terminal,8,$80000008,255,-11,0,0,0,0,0", ",$00FF0000,1,0,0,0", "6,72",
                            "0,,,,,", "1,LeftDock,LeftDock,0,0,0,0,112,218"};
  struct Case {
    int format;
    const char* text;
  } cases[] = {
      {0, ""},
      {0, "Terminal,8,$80000008"},
      {0, "Terminal,eight,$80000008,255,-11,0,0,0,0,0"},
      {0, "Terminal,8,$8000000800,255,-11,0,0,0,0,0"},
      {0, "Terminal,8,$80000008,256,-11,0,0,0,0,0"},
      {0, "Terminal,8,$80000008,255,-99999999999,0,0,0,0,0"},
      {0, ",8,$80000008,255,-11,0,0,0,0,0"},
      {1, ""},
      {1, ",,0,0,0"},
      {1, "blue,,0,0,0,0"},
      {1, "$00FF0000,$XYZ,0,0,0,0"},
      {2, ""},
      {2, "x,y,,"},
      {2, "99999999999"},
      {3, ""},
      {3, "0,,,,"},
      {3, "0,3,0,0,640,480"},
      {3, "0,0,left,0,640,480"},
      {3, "0,0,0,0,-640,480"},
      {3, "\xff\xfe garbage"},
      {4, ""},
      {4, "1,TopDock,TopDock,0,0,0,0,0"},
      {4, "1,TopDock,TopDock,row,0,0,0,0,0"},
      {4, "1,TopDock,TopDock,0,0,0,0,4294967296,0"},
      {4, "1,TopDock,TopDock,-1,0,0,0,0,0"},
  };
  for (const Case& c : cases) {
    const Format& f = formats[c.format];
    EXPECT_TRUE(f.rejectsKeepingTarget(c.text)) << c.format << ": " << c.text;
    EXPECT_EQ(f.readWrite(c.text, defaults[c.format]), defaults[c.format])
        << c.format << ": " << c.text;
  }
}

}  // namespace
}  // namespace vortan
