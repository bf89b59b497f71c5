#include "config/headerfooter.h"

#include <cstddef>
#include <utility>

namespace vortan {

namespace {

// Smallest stored font: charset, colour, height, empty name, pitch, size, style.
constexpr std::size_t MinFontSize = 1 + 4 + 4 + 4 + 1 + 4 + 1;
// Smallest stored item: empty text, line number, font, alignment.
constexpr std::size_t MinItemSize = 4 + 4 + MinFontSize + 1;

enum : uint8_t { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };

void PutU8(std::string& out, uint8_t v) { out.push_back(static_cast<char>(v)); }

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, const std::string& text) {
  PutU32(out, static_cast<uint32_t>(text.size()));
  out += text;
}

void PutFont(std::string& out, const TFontSpec& f) {
  PutU8(out, f.Charset);
  PutU32(out, f.Color);
  PutU32(out, static_cast<uint32_t>(f.Height));
  PutText(out, f.Name);
  PutU8(out, f.Pitch);
  PutU32(out, static_cast<uint32_t>(f.Size));
  PutU8(out, static_cast<uint8_t>((f.Bold ? StyleBold : 0) | (f.Italic ? StyleItalic : 0) |
                                  (f.Underline ? StyleUnderline : 0) |
                                  (f.StrikeOut ? StyleStrikeOut : 0)));
}

// Bounds-checked cursor over the stored bytes; every read fails once the bytes run out.
class TReader {
 public:
  explicit TReader(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - pos_; }

  bool U8(uint8_t& v) {
    if (Left() < 1) return false;
    v = static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }

  bool U32(uint32_t& v) {
    if (Left() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
      v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return true;
  }

  bool I32(int32_t& v) {
    uint32_t u;
    if (!U32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
  }

  bool Bool(bool& v) {
    uint8_t b;
    if (!U8(b)) return false;
    v = b != 0;
    return true;
  }

  // A length longer than what is left is damage, never an allocation request.
  bool Text(std::string& v) {
    uint32_t len;
    if (!U32(len) || len > Left()) return false;
    v.assign(bytes_.substr(pos_, len));
    pos_ += len;
    return true;
  }

  bool Font(TFontSpec& f) {
    uint8_t style;
    if (!U8(f.Charset) || !U32(f.Color) || !I32(f.Height) || !Text(f.Name) || !U8(f.Pitch) ||
        !I32(f.Size) || !U8(style))
      return false;
    f.Bold = style & StyleBold;
    f.Italic = style & StyleItalic;
    f.Underline = style & StyleUnderline;
    f.StrikeOut = style & StyleStrikeOut;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string EncodeHeaderFooter(const THeaderFooter& hf) {
  std::string out;
  PutU8(out, hf.FrameKinds);
  PutU32(out, hf.ShadedColor);
  PutU32(out, hf.LineColor);
  PutU8(out, hf.RomanNumbers ? 1 : 0);
  PutU8(out, hf.MirrorPosition ? 1 : 0);
  PutFont(out, hf.DefaultFont);
  PutU32(out, static_cast<uint32_t>(hf.Items.size()));
  for (const THeaderFooterItem& item : hf.Items) {
    PutText(out, item.Text);
    PutU32(out, static_cast<uint32_t>(item.LineNumber));
    PutFont(out, item.Font);
    PutU8(out, static_cast<uint8_t>(item.Alignment));
  }
  return out;
}

bool DecodeHeaderFooter(std::string_view bytes, THeaderFooter& hf) {
  hf.Clear();
  TReader in(bytes);
  uint32_t count;
  if (!in.U8(hf.FrameKinds) || !in.U32(hf.ShadedColor) || !in.U32(hf.LineColor) ||
      !in.Bool(hf.RomanNumbers) || !in.Bool(hf.MirrorPosition) || !in.Font(hf.DefaultFont) ||
      !in.U32(count))
    return false;
  // A count that the remaining bytes cannot hold is damage; checked before any item is read.
  if (count > in.Left() / MinItemSize) return false;
  for (uint32_t i = 0; i < count; ++i) {
    THeaderFooterItem item;
    uint8_t alignment;
    if (!in.Text(item.Text) || !in.I32(item.LineNumber) || !in.Font(item.Font) ||
        !in.U8(alignment) || alignment > static_cast<uint8_t>(THFAlignment::Center))
      return false;
    item.Alignment = static_cast<THFAlignment>(alignment);
    hf.Items.push_back(std::move(item));
  }
  return true;
}

}  // namespace vortan
