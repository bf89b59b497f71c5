#include "print/pagemacros.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(PageMacros, Expansion) {
  TMacroValues v;
  v.Page = 2;
  v.PageCount = 3;
  v.Title = "prog.f";
  v.Date = "05/06/2024";
  v.Time = "14:07";
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"$TITLE$", "prog.f"},
      {"$PAGENUM$/$PAGECOUNT$", "2/3"},
      {"$pagenum$ of $PageCount$", "2 of 3"},
      {"$DATE$ $TIME$", "05/06/2024 14:07"},
      {"$DATETIME$", "05/06/2024 14:07"},
      {"$TIMEDATE$", "14:07 05/06/2024"},
      {"$X$", "$X$"},
      {"$X$PAGENUM$", "$X2"},
      {"cost $5 $PAGENUM$", "cost $5 2"},
      {"$$TITLE$$", "$prog.f$"},
      {"$TITLE", "$TITLE"},
      {"", ""},
      {"no macros", "no macros"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandPageMacros(c.text, v), c.expected) << c.text;
}

TEST(PageMacros, PageCountIsRightOnEveryPage) {
  TMacroValues v;
  v.PageCount = 3;
  for (int page = 1; page <= 3; ++page) {
    v.Page = page;
    EXPECT_EQ(ExpandPageMacros("$PAGENUM$/$PAGECOUNT$", v), std::to_string(page) + "/3");
  }
}

TEST(PageMacros, RomanNumbers) {
  struct Case {
    int n;
    const char* roman;
  } cases[] = {{1, "i"},   {4, "iv"},         {9, "ix"}, {14, "xiv"},
               {40, "xl"}, {1999, "mcmxcix"}, {0, "0"}};
  for (const Case& c : cases) EXPECT_EQ(RomanNumber(c.n), c.roman) << c.n;
  TMacroValues v;
  v.Page = 3;
  v.PageCount = 12;
  v.RomanNumbers = true;
  EXPECT_EQ(ExpandPageMacros("$PAGENUM$/$PAGECOUNT$", v), "iii/xii");
}

}  // namespace
}  // namespace vortan
