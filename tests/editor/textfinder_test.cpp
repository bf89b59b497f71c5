// The search for an ASCII text in a document's UTF-8 text, both ways, with and without case,
// beside a plain search of every position; and the code-page facts it rests on.
#include "editor/textfinder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/codepage.h"

using namespace vortan;

namespace {

bool Same(char a, char b, bool matchCase) {
  auto low = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return matchCase ? a == b : low(a) == low(b);
}

bool At(const std::string& text, std::size_t at, const std::string& search, bool matchCase) {
  for (std::size_t i = 0; i < search.size(); ++i)
    if (!Same(text[at + i], search[i], matchCase)) return false;
  return true;
}

std::size_t PlainNext(const std::string& text, std::size_t from, const std::string& search,
                      bool matchCase) {
  for (std::size_t at = from; at + search.size() <= text.size(); ++at)
    if (At(text, at, search, matchCase)) return at;
  return std::string::npos;
}

std::size_t PlainPrevious(const std::string& text, std::size_t end, const std::string& search,
                          bool matchCase) {
  end = std::min(end, text.size());
  for (std::size_t at = end; at-- > 0;)
    if (at + search.size() <= end && At(text, at, search, matchCase)) return at;
  return std::string::npos;
}

}  // namespace

TEST(TextFinder, FindsWhatAPlainSearchFinds) {
  struct TCase {
    const char* name;
    std::string text, search;
    bool matchCase;
  };
  const TCase cases[] = {
      {"at both ends", "RELAX  x RELAX", "RELAX", true},
      {"either case", "call Relax(u)\nCALL RELAX(U)", "relax", false},
      {"case kept", "call Relax(u)\nCALL RELAX(U)", "RELAX", true},
      {"repeated letters shift short", "aaaabaaab", "aab", false},
      {"overlapping occurrences", "ababababa", "aba", true},
      {"one character", "x\ny\nX", "x", false},
      {"beside UTF-8 bytes", "caf\xC3\xA9 CAFE caf\xC3\x89", "cafe", false},
      {"longer than the text", "ab", "abc", true},
      {"not there", "      X = Y + 1\n", "RELAX", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TTextFinder f(c.search, c.matchCase);
    for (std::size_t from = 0; from <= c.text.size() + 1; ++from) {
      EXPECT_EQ(f.Next(c.text, from), PlainNext(c.text, from, c.search, c.matchCase))
          << "from " << from;
      EXPECT_EQ(f.Previous(c.text, from), PlainPrevious(c.text, from, c.search, c.matchCase))
          << "end " << from;
    }
  }
  // Random texts of few letters, where partial matches and skips abound.
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    auto make = [&](int length) {
      std::string s;
      for (int i = 0; i < length; ++i) s += "abAB\n"[random() % 5];
      return s;
    };
    const std::string text = make(static_cast<int>(random() % 60));
    const std::string search = make(1 + static_cast<int>(random() % 4));
    const bool matchCase = random() % 2 == 0;
    const TTextFinder f(search, matchCase);
    const std::size_t from = random() % (text.size() + 1);
    ASSERT_EQ(f.Next(text, from), PlainNext(text, from, search, matchCase))
        << text << " / " << search;
    ASSERT_EQ(f.Previous(text, from), PlainPrevious(text, from, search, matchCase))
        << text << " / " << search;
  }
}

TEST(TextFinder, OnlyAsciiTextIsHandled) {
  EXPECT_TRUE(TTextFinder::Handles("RELAX 1"));
  EXPECT_FALSE(TTextFinder::Handles(""));
  EXPECT_FALSE(TTextFinder::Handles("caf\x82"));
}

TEST(TextFinder, NoByteBeyondAsciiLowersToAscii) {
  // The search compares lowered bytes and the finder ASCII only: a byte of either page that
  // lowered to an ASCII letter would match where the finder sees none.
  for (const auto page : {platform::TCodePage::Ansi, platform::TCodePage::Oem})
    for (int b = 0; b < 256; ++b)
      EXPECT_EQ(b < 0x80, platform::LowerByte(page, static_cast<unsigned char>(b)) < 0x80) << b;
}
