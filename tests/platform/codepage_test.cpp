#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace vortan::platform;

namespace {

const char* NameOf(TCodePage page) { return page == TCodePage::Ansi ? "ANSI" : "OEM"; }

std::string AllBytes() {
  std::string s(256, '\0');
  for (int i = 0; i < 256; ++i) s[i] = static_cast<char>(i);
  return s;
}

}  // namespace

TEST(CodePage, EveryByteRoundTripsAndTableIsBijective) {
  const std::string all = AllBytes();
  for (TCodePage page : {TCodePage::Ansi, TCodePage::Oem}) {
    SCOPED_TRACE(NameOf(page));
    std::set<char32_t> seen;
    for (int b = 0; b < 256; ++b) {
      const char32_t c = ToUnicode(page, static_cast<unsigned char>(b));
      EXPECT_TRUE(seen.insert(c).second) << "code point of byte " << b << " used twice";
      EXPECT_EQ(FromUnicode(page, c), static_cast<unsigned char>(b)) << "byte " << b;
      if (b < 0x80) {
        EXPECT_EQ(c, static_cast<char32_t>(b)) << "ASCII byte " << b;
      }
    }

    const std::u32string decoded = Decode(page, all);
    ASSERT_EQ(decoded.size(), 256u);
    EXPECT_EQ(Encode(page, decoded), all);

    bool lossy = true;
    EXPECT_EQ(Utf8ToBytes(page, BytesToUtf8(page, all), &lossy), all);
    EXPECT_FALSE(lossy);
  }
}

TEST(CodePage, KnownMappings) {
  struct TCase {
    TCodePage page;
    unsigned char byte;
    char32_t ch;
  };
  const TCase cases[] = {
      {TCodePage::Ansi, 0x80, 0x20AC},  // €
      {TCodePage::Ansi, 0x81, 0x0081},  // undefined: its C1 control
      {TCodePage::Ansi, 0x8D, 0x008D}, {TCodePage::Ansi, 0x8F, 0x008F},
      {TCodePage::Ansi, 0x90, 0x0090}, {TCodePage::Ansi, 0x9D, 0x009D},
      {TCodePage::Ansi, 0x82, 0x201A}, {TCodePage::Ansi, 0x8A, 0x0160},
      {TCodePage::Ansi, 0x99, 0x2122}, {TCodePage::Ansi, 0x9F, 0x0178},
      {TCodePage::Ansi, 0xA0, 0x00A0}, {TCodePage::Ansi, 0xE9, 0x00E9},
      {TCodePage::Ansi, 0xFF, 0x00FF}, {TCodePage::Oem, 0x80, 0x00C7},
      {TCodePage::Oem, 0x81, 0x00FC},  {TCodePage::Oem, 0x82, 0x00E9},
      {TCodePage::Oem, 0x90, 0x00C9},  {TCodePage::Oem, 0x98, 0x00FF},
      {TCodePage::Oem, 0x9F, 0x0192},  {TCodePage::Oem, 0xB0, 0x2591},
      {TCodePage::Oem, 0xC5, 0x253C},  {TCodePage::Oem, 0xD5, 0x0131},
      {TCodePage::Oem, 0xE1, 0x00DF},  {TCodePage::Oem, 0xE9, 0x00DA},
      {TCodePage::Oem, 0xF2, 0x2017},  {TCodePage::Oem, 0xFE, 0x25A0},
      {TCodePage::Oem, 0xFF, 0x00A0},  {TCodePage::Oem, 0x1B, 0x001B},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ToUnicode(c.page, c.byte), c.ch) << NameOf(c.page) << " byte " << int(c.byte);
  }
}

TEST(CodePage, TypedCharacterIsStoredInActivePage) {
  EXPECT_EQ(FromUnicode(TCodePage::Oem, U'é'), 0x82);
  EXPECT_EQ(FromUnicode(TCodePage::Ansi, U'é'), 0xE9);
  EXPECT_EQ(Utf8ToBytes(TCodePage::Oem, "caf\xC3\xA9"), "caf\x82");
  EXPECT_EQ(Utf8ToBytes(TCodePage::Ansi, "caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(BytesToUtf8(TCodePage::Oem, "\x82\xB0"), "\xC3\xA9\xE2\x96\x91");  // é░

  // Characters the page lacks cannot be stored.
  EXPECT_EQ(FromUnicode(TCodePage::Oem, U'€'), std::nullopt);
  EXPECT_EQ(FromUnicode(TCodePage::Ansi, U'░'), std::nullopt);
  EXPECT_EQ(FromUnicode(TCodePage::Oem, 0x81), std::nullopt);
  EXPECT_EQ(Encode(TCodePage::Oem, U"a€b", '#'), "a#b");
}

TEST(CodePage, Utf8ToBytesReplacesWhatItCannotStore) {
  struct TCase {
    const char* name;
    std::string utf8;
    std::string bytes;
  };
  const TCase cases[] = {
      {"plain ASCII", "x = 1", "x = 1"},
      {"character missing from the page",
       "a\xE2\x96\x91"
       "b",
       "a?b"},  // ░
      {"stray continuation byte",
       "a\x80"
       "b",
       "a?b"},
      {"truncated sequence at end", "a\xC3", "a?"},
      {"lead byte without continuation",
       "\xC3"
       "a",
       "?a"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"supplementary character", "\xF0\x9F\x98\x80", "?"},
  };
  for (const TCase& c : cases) {
    bool lossy = false;
    EXPECT_EQ(Utf8ToBytes(TCodePage::Ansi, c.utf8, &lossy), c.bytes) << c.name;
    EXPECT_EQ(lossy, c.bytes != c.utf8) << c.name;
  }
}

TEST(CodePage, OemAnsiConversion) {
  EXPECT_EQ(OemToAnsi("caf\x82 \x90t\xE9"), "caf\xE9 \xC9t\xDA");
  EXPECT_EQ(AnsiToOem("caf\xE9 \xC9t\xDA"), "caf\x82 \x90t\xE9");
  EXPECT_EQ(OemToAnsi("\x9F"), "\x83");  // ƒ exists in both
  // Box drawing, dotless i and double low line have no ANSI byte; the length is kept.
  EXPECT_EQ(OemToAnsi("\xB0\xD5\xF2x"), "???x");
  // €, Š and an undefined ANSI byte have no OEM byte.
  EXPECT_EQ(AnsiToOem("\x80\x8A\x81x"), "???x");
  EXPECT_EQ(AnsiToOem(std::string("a\0b", 3)), std::string("a\0b", 3));

  // To OEM then To ANSI gives back every ANSI character that OEM also holds.
  const std::string all = AllBytes();
  const std::string oem = AnsiToOem(all);
  const std::string back = OemToAnsi(oem);
  ASSERT_EQ(back.size(), all.size());
  int kept = 0;
  for (int b = 0; b < 256; ++b) {
    if (FromUnicode(TCodePage::Oem, ToUnicode(TCodePage::Ansi, b))) {
      EXPECT_EQ(back[b], all[b]) << "ANSI byte " << b;
      ++kept;
    } else {
      EXPECT_EQ(oem[b], '?') << "ANSI byte " << b;
    }
  }
  EXPECT_EQ(kept, 256 - 32 + 1);  // all but 0x80-0x9F, where only ƒ is shared
}

TEST(CodePage, CaseConversion) {
  struct TCase {
    TCodePage page;
    std::string in;
    std::string upper;
    std::string lower;
  };
  const TCodePage A = TCodePage::Ansi, O = TCodePage::Oem;
  const TCase cases[] = {
      {A, "Do 10 i=1,n", "DO 10 I=1,N", "do 10 i=1,n"},
      {A, "\xE9\xC9", "\xC9\xC9", "\xE9\xE9"},  // é É
      {O, "\x82\x90", "\x90\x90", "\x82\x82"},  // é É
      {O, "\xE9\xA3", "\xE9\xE9", "\xA3\xA3"},  // Ú ú: not the ANSI meaning of the bytes
      {O, "\xD0\xD1", "\xD1\xD1", "\xD0\xD0"},  // ð Ð
      {A, "\xFF\x9F", "\x9F\x9F", "\xFF\xFF"},  // ÿ Ÿ
      {O, "\x98", "\x98", "\x98"},              // ÿ: OEM has no Ÿ
      {A, "\x9A\x8A\x9C\x8C\x9E\x8E", "\x8A\x8A\x8C\x8C\x8E\x8E", "\x9A\x9A\x9C\x9C\x9E\x9E"},
      {A, "\xDF", "\xDF", "\xDF"},                                      // ß
      {O, "\xE1", "\xE1", "\xE1"},                                      // ß
      {O, "\xD5", "I", "\xD5"},                                         // dotless i
      {A, "\xF7\xD7\xB5\xAA", "\xF7\xD7\xB5\xAA", "\xF7\xD7\xB5\xAA"},  // ÷ × µ ª
      {O, "\xB0\xF6\x9F", "\xB0\xF6\x9F", "\xB0\xF6\x9F"},              // ░ ÷ ƒ
      {A, "\x81\x83", "\x81\x83", "\x81\x83"},                          // undefined byte, ƒ
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(NameOf(c.page)) + " " + BytesToUtf8(c.page, c.in));
    EXPECT_EQ(ToUpper(c.page, c.in), c.upper);
    EXPECT_EQ(ToLower(c.page, c.in), c.lower);
  }
}

TEST(CodePage, ByteOffsetsAndTheirUtf8Positions) {
  // Every byte 0x80-0xFF before "X": the position of X in the UTF-8 form, and back.
  std::string line;
  for (int b = 0x80; b <= 0xFF; ++b) line += static_cast<char>(b);
  line += "X";
  for (TCodePage page : {TCodePage::Ansi, TCodePage::Oem}) {
    SCOPED_TRACE(NameOf(page));
    const std::string utf8 = BytesToUtf8(page, line);
    const std::size_t x = Utf8Length(page, std::string_view(line).substr(0, 128));
    EXPECT_EQ(utf8.substr(x), "X");
    EXPECT_EQ(Utf8Length(page, line), utf8.size());
    EXPECT_EQ(ByteOffsetOfUtf8(page, line, x), 128u);
    for (std::size_t i = 0; i <= line.size(); ++i)
      EXPECT_EQ(ByteOffsetOfUtf8(page, line, Utf8Length(page, line.substr(0, i))), i);
  }
}

TEST(CodePage, LettersAndDigits) {
  struct TCase {
    TCodePage page;
    unsigned char byte;
    bool alnum;
  };
  const TCase cases[] = {
      {TCodePage::Ansi, 'a', true},   {TCodePage::Ansi, 'Z', true},  {TCodePage::Ansi, '7', true},
      {TCodePage::Ansi, '_', false},  {TCodePage::Ansi, ' ', false}, {TCodePage::Ansi, 0xE9, true},
      {TCodePage::Ansi, 0xD7, false}, {TCodePage::Ansi, 0x8A, true}, {TCodePage::Ansi, 0x82, false},
      {TCodePage::Oem, 0x82, true},   {TCodePage::Oem, 0xE9, true},  {TCodePage::Oem, 0xC9, false},
      {TCodePage::Oem, 0xB0, false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(IsLetterOrDigit(c.page, c.byte), c.alnum)
        << NameOf(c.page) << " byte " << int(c.byte);
}
