#include "print/rtfexporter.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vortan {

namespace {

void AppendChar(std::string& out, char32_t c) {
  if (c == '\\' || c == '{' || c == '}') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c == '\t') {
    out += "\\tab ";
  } else if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
  } else if (const auto ansi =
                 c >= 0xA0 ? platform::FromUnicode(platform::TCodePage::Ansi, c) : std::nullopt) {
    // Letters of the Windows page as \'hh, which every reader knows; \u for the rest.
    static const char hex[] = "0123456789abcdef";
    out += "\\'";
    out += hex[*ansi >> 4];
    out += hex[*ansi & 15];
  } else if (c < 0x10000) {
    // \u takes a signed 16-bit number; '?' is what a reader without Unicode shows.
    out += "\\u" + std::to_string(static_cast<int16_t>(static_cast<uint16_t>(c))) + "?";
  } else {
    const char32_t v = c - 0x10000;
    AppendChar(out, 0xD800 + (v >> 10));
    AppendChar(out, 0xDC00 + (v & 0x3FF));
  }
}

std::string Escaped(std::u32string_view text) {
  std::string out;
  for (char32_t ch : text) AppendChar(out, ch);
  return out;
}

}  // namespace

std::string ExportRtf(const TExportSource& source) {
  std::string out;
  std::size_t size = 0;
  for (const std::string& l : *source.Lines) size += l.size() + 6;
  out.reserve(1024 + size * 2);
  // One character of Courier New 10 points is 120 twips wide.
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\\deftab" + std::to_string(120 * source.TabWidth) +
         "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\n";

  // Colour table entry of each attribute (0: the default, black); no table without attributes.
  int colorIndex[FortranAttributeCount] = {};
  if (source.Attributes) {
    out += "{\\colortbl;";
    std::vector<long> colors;
    for (int i = 0; i < FortranAttributeCount; ++i) {
      const auto& fg = (*source.Attributes)[static_cast<std::size_t>(i)].Foreground;
      const long rgb = fg ? ExportColor(*fg) : -1;
      if (rgb < 0) continue;
      std::size_t at = 0;
      while (at < colors.size() && colors[at] != rgb) ++at;
      if (at == colors.size()) {
        colors.push_back(rgb);
        out += "\\red" + std::to_string((rgb >> 16) & 0xFF) + "\\green" +
               std::to_string((rgb >> 8) & 0xFF) + "\\blue" + std::to_string(rgb & 0xFF) + ";";
      }
      colorIndex[i] = static_cast<int>(at) + 1;
    }
    out += "}\n";
  }
  out += "{\\info{\\title " + Escaped(platform::Utf8ToUnicode(source.Title)) + "}{\\doccomm " +
         Escaped(platform::Utf8ToUnicode(source.Comment)) + "}}\n";
  out += "\\pard\\plain\\f0\\fs20\n";

  const platform::TCodePage page = source.CodePage;
  ForEachRun(
      source,
      [&](int attr, std::string_view bytes) {
        std::string codes;
        if (attr >= 0) {
          const THighlightAttribute& a = (*source.Attributes)[static_cast<std::size_t>(attr)];
          if (colorIndex[attr]) codes += "\\cf" + std::to_string(colorIndex[attr]);
          if (a.Bold) codes += "\\b";
          if (a.Italic) codes += "\\i";
          if (a.Underline) codes += "\\ul";
          if (a.StrikeOut) codes += "\\strike";
        }
        if (!codes.empty()) out += "{" + codes + " ";
        for (char b : bytes)
          AppendChar(out, platform::ToUnicode(page, static_cast<unsigned char>(b)));
        if (!codes.empty()) out += "}";
      },
      [&] { out += "\\par\n"; });
  out += "}\n";
  return out;
}

}  // namespace vortan
