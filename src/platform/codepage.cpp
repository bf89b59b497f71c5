#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vortan::platform {

namespace {

using TTable = std::array<char32_t, 256>;

// Bytes 0x00-0x7F are ASCII in both pages; only the upper halves differ.
constexpr TTable WithAsciiLowerHalf(const std::array<char32_t, 128>& upper) {
  TTable t{};
  for (int i = 0; i < 128; ++i) {
    t[i] = static_cast<char32_t>(i);
    t[i + 128] = upper[i];
  }
  return t;
}

// Windows-1252: 0x80-0x9F carry typographic characters, the five holes keep their C1 control;
// 0xA0-0xFF equal Latin-1.
constexpr TTable MakeAnsi() {
  std::array<char32_t, 128> u{
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
  };
  for (int i = 0x20; i < 0x80; ++i) u[i] = static_cast<char32_t>(0x80 + i);
  return WithAsciiLowerHalf(u);
}

constexpr TTable MakeOem() {
  return WithAsciiLowerHalf({
      0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80
      0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88
      0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90
      0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 98
      0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0
      0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8
      0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // B0
      0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // B8
      0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // C0
      0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // C8
      0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // D0
      0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // D8
      0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // E0
      0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // E8
      0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // F0
      0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // F8
  });
}

constexpr TTable kAnsi = MakeAnsi();
constexpr TTable kOem = MakeOem();

const TTable& TableOf(TCodePage page) { return page == TCodePage::Ansi ? kAnsi : kOem; }

// Code points sorted, each with its byte, for a binary-search reverse lookup.
using TReverse = std::array<std::pair<char32_t, unsigned char>, 256>;

TReverse MakeReverse(const TTable& t) {
  TReverse r{};
  for (int i = 0; i < 256; ++i) r[i] = {t[i], static_cast<unsigned char>(i)};
  std::sort(r.begin(), r.end());
  return r;
}

const TReverse& ReverseOf(TCodePage page) {
  static const TReverse ansi = MakeReverse(kAnsi);
  static const TReverse oem = MakeReverse(kOem);
  return page == TCodePage::Ansi ? ansi : oem;
}

// Simple (one-to-one) case mappings of the characters either page holds. Mappings whose
// result neither page holds (µ, ƒ) are left out: they could never be stored.
char32_t SimpleUpper(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  switch (c) {
    case 0x00FF:
      return 0x0178;  // ÿ
    case 0x0131:
      return U'I';  // dotless i
    case 0x0153:
      return 0x0152;  // œ
    case 0x0161:
      return 0x0160;  // š
    case 0x017E:
      return 0x017D;  // ž
    default:
      return c;
  }
}

char32_t SimpleLower(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  switch (c) {
    case 0x0178:
      return 0x00FF;
    case 0x0152:
      return 0x0153;
    case 0x0160:
      return 0x0161;
    case 0x017D:
      return 0x017E;
    default:
      return c;
  }
}

using TByteMap = std::array<unsigned char, 256>;

TByteMap MakeCaseMap(TCodePage page, char32_t (*convert)(char32_t)) {
  TByteMap m{};
  for (int b = 0; b < 256; ++b) {
    const auto target = FromUnicode(page, convert(ToUnicode(page, static_cast<unsigned char>(b))));
    m[b] = target ? *target : static_cast<unsigned char>(b);
  }
  return m;
}

TByteMap MakeTranscode(TCodePage from, TCodePage to) {
  TByteMap m{};
  for (int b = 0; b < 256; ++b)
    m[b] = FromUnicode(to, ToUnicode(from, static_cast<unsigned char>(b))).value_or('?');
  return m;
}

std::string Apply(const TByteMap& m, std::string_view bytes) {
  std::string out(bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    out[i] = static_cast<char>(m[static_cast<unsigned char>(bytes[i])]);
  return out;
}

// Decodes one character at `pos` and advances past it. A malformed sequence (bad lead byte,
// missing continuation, overlong form, surrogate, beyond U+10FFFF) gives nothing and advances
// one byte, so the caller can replace it and resynchronise.
std::optional<char32_t> NextUtf8(std::string_view s, std::size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(s[pos++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t c;
  char32_t min;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, min = 0x10000;
  } else {
    return std::nullopt;
  }
  if (s.size() - pos < static_cast<std::size_t>(extra)) return std::nullopt;
  for (int i = 0; i < extra; ++i) {
    const unsigned char b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  pos += extra;
  return c;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::u32string Utf8ToUnicode(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) out += NextUtf8(utf8, pos).value_or(U'\uFFFD');
  return out;
}

char32_t ToUnicode(TCodePage page, unsigned char byte) { return TableOf(page)[byte]; }

std::optional<unsigned char> FromUnicode(TCodePage page, char32_t ch) {
  if (ch < 0x80) return static_cast<unsigned char>(ch);
  const TReverse& r = ReverseOf(page);
  const auto it = std::lower_bound(r.begin(), r.end(), ch,
                                   [](const auto& entry, char32_t c) { return entry.first < c; });
  if (it == r.end() || it->first != ch) return std::nullopt;
  return it->second;
}

std::u32string Decode(TCodePage page, std::string_view bytes) {
  const TTable& t = TableOf(page);
  std::u32string out(bytes.size(), U'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = t[static_cast<unsigned char>(bytes[i])];
  return out;
}

std::string Encode(TCodePage page, std::u32string_view text, char replacement) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = FromUnicode(page, text[i]);
    out[i] = b ? static_cast<char>(*b) : replacement;
  }
  return out;
}

std::string BytesToUtf8(TCodePage page, std::string_view bytes) {
  const TTable& t = TableOf(page);
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) AppendUtf8(out, t[static_cast<unsigned char>(b)]);
  return out;
}

std::string Utf8ToBytes(TCodePage page, std::string_view utf8, bool* lossy) {
  std::string out;
  out.reserve(utf8.size());
  bool lost = false;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto c = NextUtf8(utf8, pos);
    const auto b = c ? FromUnicode(page, *c) : std::nullopt;
    if (!b) lost = true;
    out += b ? static_cast<char>(*b) : '?';
  }
  if (lossy) *lossy = lost;
  return out;
}

std::string OemToAnsi(std::string_view bytes) {
  static const TByteMap m = MakeTranscode(TCodePage::Oem, TCodePage::Ansi);
  return Apply(m, bytes);
}

std::string AnsiToOem(std::string_view bytes) {
  static const TByteMap m = MakeTranscode(TCodePage::Ansi, TCodePage::Oem);
  return Apply(m, bytes);
}

std::string ToUpper(TCodePage page, std::string_view bytes) {
  static const TByteMap ansi = MakeCaseMap(TCodePage::Ansi, SimpleUpper);
  static const TByteMap oem = MakeCaseMap(TCodePage::Oem, SimpleUpper);
  return Apply(page == TCodePage::Ansi ? ansi : oem, bytes);
}

namespace {

const TByteMap& LowerMap(TCodePage page) {
  static const TByteMap ansi = MakeCaseMap(TCodePage::Ansi, SimpleLower);
  static const TByteMap oem = MakeCaseMap(TCodePage::Oem, SimpleLower);
  return page == TCodePage::Ansi ? ansi : oem;
}

// Letters of the Latin ranges either page can hold: ASCII, Latin-1 (ª µ º and À-ÿ without
// × ÷), Latin Extended-A and ƒ.
bool IsLetter(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z')) return true;
  if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;
  if (c >= 0xC0 && c <= 0xFF) return c != 0xD7 && c != 0xF7;
  return (c >= 0x100 && c <= 0x17F) || c == 0x192;
}

using TByteFlags = std::array<bool, 256>;

TByteFlags MakeLetterOrDigit(TCodePage page) {
  TByteFlags f{};
  for (int b = 0; b < 256; ++b) {
    const char32_t c = ToUnicode(page, static_cast<unsigned char>(b));
    f[b] = (c >= U'0' && c <= U'9') || IsLetter(c);
  }
  return f;
}

}  // namespace

std::string ToLower(TCodePage page, std::string_view bytes) { return Apply(LowerMap(page), bytes); }

unsigned char LowerByte(TCodePage page, unsigned char byte) { return LowerMap(page)[byte]; }

bool IsLetterOrDigit(TCodePage page, unsigned char byte) {
  static const TByteFlags ansi = MakeLetterOrDigit(TCodePage::Ansi);
  static const TByteFlags oem = MakeLetterOrDigit(TCodePage::Oem);
  return (page == TCodePage::Ansi ? ansi : oem)[byte];
}

namespace {

using TSizes = std::array<unsigned char, 256>;

TSizes MakeSizes(TCodePage page) {
  TSizes s{};
  for (int b = 0; b < 256; ++b) {
    const char32_t c = ToUnicode(page, static_cast<unsigned char>(b));
    s[b] = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
  }
  return s;
}

const TSizes& SizesOf(TCodePage page) {
  static const TSizes ansi = MakeSizes(TCodePage::Ansi);
  static const TSizes oem = MakeSizes(TCodePage::Oem);
  return page == TCodePage::Ansi ? ansi : oem;
}

}  // namespace

int Utf8Size(TCodePage page, unsigned char byte) { return SizesOf(page)[byte]; }

std::size_t Utf8Length(TCodePage page, std::string_view bytes) {
  const TSizes& s = SizesOf(page);
  std::size_t n = 0;
  for (const char b : bytes) n += s[static_cast<unsigned char>(b)];
  return n;
}

std::size_t ByteOffsetOfUtf8(TCodePage page, std::string_view bytes, std::size_t utf8Offset) {
  const TSizes& s = SizesOf(page);
  std::size_t i = 0, reached = 0;
  while (i < bytes.size() && reached < utf8Offset)
    reached += s[static_cast<unsigned char>(bytes[i++])];
  return i;
}

}  // namespace vortan::platform
