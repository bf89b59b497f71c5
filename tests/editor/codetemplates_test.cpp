// Edit > Insert texts, Edit > Convert and the Go to box's number.
#include <gtest/gtest.h>

#include <climits>

#include "editor/codetemplates.h"
#include "editor/gotoline.h"
#include "editor/textconversion.h"

using namespace vortan;
using platform::TCodePage;

namespace {

std::tm Local(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

}  // namespace

TEST(CodeTemplates, TextOfEachEntry) {
  const std::tm when = Local(2026, 3, 8, 14, 5);
  const std::string header = "C\r\nC NAME: \r\nC AUTHOR: \r\nC DESCRIPTION: \r\nC DATE: \r\nC\r\n";
  struct TCase {
    int tag;
    std::string text;
  };
  const TCase cases[] = {
      {0, header},
      {1, "C 08/03/26 14:05"},
      {2, "      IF () THEN\r\n\r\n      ENDIF\r\n"},
      {3, "      DO WHILE ()\r\n\r\n      END DO\r\n"},
      {4, "      DO ,,\r\n\r\n      CONTINUE\r\n"},
      {5, "      STOP\r\n      END\r\n"},
      {6, ""},
      {-1, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(TemplateText(c.tag, header, when), c.text);
  }
}

TEST(CodeTemplates, DateAndTimeFormat) {
  struct TCase {
    std::tm when;
    const char* text;
  };
  const TCase cases[] = {
      {Local(2026, 3, 8, 14, 5), "08/03/26 14:05"},
      {Local(2000, 12, 31, 0, 0), "31/12/00 00:00"},
      {Local(1999, 1, 1, 23, 59), "01/01/99 23:59"},
  };
  for (const TCase& c : cases) EXPECT_EQ(FormatTemplateDateTime(c.when), c.text);
}

TEST(CodeTemplates, BreaksBecomeTheControlsBreaks) {
  struct TCase {
    std::string in, out;
  };
  const TCase cases[] = {
      {"A\r\nB\r\n", "A\nB\n"}, {"A\rB", "A\nB"}, {"A\nB", "A\nB"}, {"\r\r\n", "\n\n"}, {"", ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(ToControlBreaks(c.in), c.out) << c.in;
}

TEST(TextConversion, EachConversionByteForByte) {
  struct TCase {
    const char* name;
    int tag;
    TCodePage page;
    std::string in, out;
  };
  const TCase cases[] = {
      {"upper, ASCII", 1, TCodePage::Oem, "do 10 i = 1, n", "DO 10 I = 1, N"},
      {"lower, ASCII", 2, TCodePage::Ansi, "DO 10 I = 1, N", "do 10 i = 1, n"},
      // é (OEM 0x82) becomes É (OEM 0x90); in ANSI é is 0xE9 and É 0xC9.
      {"upper, accented OEM", 1, TCodePage::Oem, "caf\x82", "CAF\x90"},
      {"upper, accented ANSI", 1, TCodePage::Ansi, "caf\xE9", "CAF\xC9"},
      {"lower, accented OEM", 2, TCodePage::Oem, "CAF\x90", "caf\x82"},
      {"upper keeps what has no case", 1, TCodePage::Ansi, "1.0E-6 'x'", "1.0E-6 'X'"},
      {"to ANSI", 3, TCodePage::Oem, "caf\x82", "caf\xE9"},
      {"to OEM", 4, TCodePage::Ansi, "caf\xE9", "caf\x82"},
      {"to OEM of a character OEM lacks", 4, TCodePage::Ansi, "\x80", "?"},
      {"unknown number", 9, TCodePage::Ansi, "abc", "abc"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ConvertBytes(c.tag, c.page, c.in), c.out);
  }
}

TEST(TextConversion, OemThenAnsiReturnsLettersBothPagesHold) {
  const std::string ansi = "AEIOU aeiou \xC0\xC1\xC9\xE0\xE9\xE7\xF1\xFC";
  EXPECT_EQ(ConvertBytes(3, TCodePage::Oem, ConvertBytes(4, TCodePage::Ansi, ansi)), ansi);
}

TEST(GotoLine, EnteredNumber) {
  struct TCase {
    const char* text;
    int line;
  };
  const TCase cases[] = {
      {"10", 10},
      {"", 0},
      {"0", 0},
      {"000", 0},
      {"007", 7},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"123456789012345678901234567890", INT_MAX},
      {"1a", 0},
      {"-3", 0},
      {" 4", 0},
  };
  for (const TCase& c : cases) EXPECT_EQ(EnteredLineNumber(c.text), c.line) << '"' << c.text << '"';
}
