#include "config/headerfooter.h"

#include <gtest/gtest.h>

#include <random>

namespace vortan {
namespace {

std::string Bytes(std::initializer_list<unsigned char> b) {
  return std::string(b.begin(), b.end());
}

THeaderFooter ThreeItemHeader() {
  THeaderFooter hf;
  hf.FrameKinds = 0x07;
  hf.ShadedColor = 0x00C4C4C4;
  hf.LineColor = 0x00000080;
  hf.RomanNumbers = true;
  hf.MirrorPosition = true;
  hf.DefaultFont = {"Arial", 10, 0x80000008, 0, -13, 1, true, false, false, false};
  hf.Items = {
      {"$TITLE$",
       1,
       {"Arial", 10, 0x00000000, 0, -13, 1, true, false, false, false},
       THFAlignment::Left},
      {"$PAGENUM$/$PAGECOUNT$",
       1,
       {"Times", 12, 0x00FF0000, 1, 0, 2, false, true, true, true},
       THFAlignment::Right},
      {"",
       2,
       {"", -6, 0x80000012, 255, 2147483647, 0, false, false, true, false},
       THFAlignment::Center},
  };
  return hf;
}

TEST(HeaderFooter, ThreeItemsRoundTrip) {
  const THeaderFooter original = ThreeItemHeader();
  THeaderFooter loaded;
  loaded.Items.push_back({});  // decoding must clear what was there
  ASSERT_TRUE(DecodeHeaderFooter(EncodeHeaderFooter(original), loaded));
  EXPECT_EQ(loaded, original);
}

TEST(HeaderFooter, EncodesExactLittleEndianLayout) {
  THeaderFooter hf;
  hf.FrameKinds = 0x05;
  hf.ShadedColor = 0x00C4C4C4;
  hf.LineColor = 0x000000FF;
  hf.RomanNumbers = true;
  hf.MirrorPosition = false;
  hf.DefaultFont = {"Ab", 8, 0x80000008, 0, -11, 2, true, false, false, true};
  hf.Items = {{"$D", 2, {"", -6, 0, 255, 0, 0, false, true, true, false}, THFAlignment::Center}};

  const std::string expected = Bytes({
      0x05,                    // frame kinds
      0xC4, 0xC4, 0xC4, 0x00,  // shaded colour
      0xFF, 0x00, 0x00, 0x00,  // line colour
      0x01, 0x00,              // roman, mirror
      // default font: charset, colour, height, name, pitch, size, style
      0x00, 0x08, 0x00, 0x00, 0x80, 0xF5, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 'A', 'b', 0x02,
      0x08, 0x00, 0x00, 0x00, 0x09, 0x01, 0x00, 0x00, 0x00,  // item count
      0x02, 0x00, 0x00, 0x00, '$', 'D',                      // text
      0x02, 0x00, 0x00, 0x00,                                // line number
      0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFA,
      0xFF, 0xFF, 0xFF, 0x06,  // item font
      0x02,                    // alignment
  });
  EXPECT_EQ(EncodeHeaderFooter(hf), expected);

  THeaderFooter decoded;
  ASSERT_TRUE(DecodeHeaderFooter(expected, decoded));
  EXPECT_EQ(decoded, hf);
}

TEST(HeaderFooter, EveryTruncationIsRejected) {
  const std::string full = EncodeHeaderFooter(ThreeItemHeader());
  for (std::size_t len = 0; len < full.size(); ++len) {
    THeaderFooter hf;
    EXPECT_FALSE(DecodeHeaderFooter(std::string_view(full).substr(0, len), hf)) << len;
  }
}

TEST(HeaderFooter, DamagedLengthsAndValuesAreRejected) {
  const std::string full = EncodeHeaderFooter(ThreeItemHeader());
  const std::size_t nameLengthAt = 11 + 1 + 4 + 4;
  const std::size_t countAt = 11 + 1 + 4 + 4 + 4 + 5 + 1 + 4 + 1;
  struct Case {
    const char* what;
    std::size_t at;
    std::string bytes;
  } cases[] = {
      {"name length beyond the end", nameLengthAt, Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
      {"name length of 4 GiB", nameLengthAt, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
      {"item count far too high", countAt, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
      {"item count one too high", countAt, Bytes({0x04, 0x00, 0x00, 0x00})},
      {"alignment out of range", full.size() - 1, Bytes({0x03})},
  };
  for (const Case& c : cases) {
    std::string damaged = full;
    damaged.replace(c.at, c.bytes.size(), c.bytes);
    THeaderFooter hf;
    EXPECT_FALSE(DecodeHeaderFooter(damaged, hf)) << c.what;
  }
}

TEST(HeaderFooter, RandomBytesNeverCrash) {
  std::mt19937 rng(12345);
  const std::string valid = EncodeHeaderFooter(ThreeItemHeader());
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = valid;
    // Flip a few bytes of a valid encoding, or use pure noise.
    if (round % 2 == 0) {
      for (int i = 0; i < 4; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
    } else {
      bytes.resize(rng() % 200);
      for (char& b : bytes) b = static_cast<char>(rng());
    }
    THeaderFooter hf;
    DecodeHeaderFooter(bytes, hf);
  }
}

}  // namespace
}  // namespace vortan
