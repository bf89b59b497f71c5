#include "print/htmlexporter.h"

#include <cstdio>

namespace vortan {

namespace {

void AppendEscaped(std::string& out, char32_t c) {
  switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      platform::AppendUtf8(out, c);
  }
}

std::string Escaped(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendEscaped(out, c);
  return out;
}

// An HTML comment may not hold "--".
std::string CommentText(std::string text) {
  for (std::size_t at; (at = text.find("--")) != std::string::npos;) text.replace(at, 2, "- -");
  return text;
}

std::string Hex(long rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06lX", rgb);
  return buf;
}

// The rule of one attribute; empty when it changes nothing (no span is written for it).
std::string Rule(const THighlightAttribute& a) {
  std::string r;
  if (a.Foreground && ExportColor(*a.Foreground) >= 0)
    r += " color: " + Hex(ExportColor(*a.Foreground)) + ";";
  if (a.Bold) r += " font-weight: bold;";
  if (a.Italic) r += " font-style: italic;";
  if (a.Underline || a.StrikeOut)
    r += std::string(" text-decoration:") + (a.Underline ? " underline" : "") +
         (a.StrikeOut ? " line-through" : "") + ";";
  return r;
}

}  // namespace

std::string ExportHtml(const TExportSource& source) {
  std::string out;
  out.reserve(1024 + [&] {
    std::size_t n = 0;
    for (const std::string& l : *source.Lines) n += l.size() + 1;
    return n * 2;
  }());
  out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  out += Escaped(platform::Utf8ToUnicode(source.Title));
  out += "</title>\n<!-- ";
  out += CommentText(source.Comment);
  out += " -->\n<style type=\"text/css\">\n";
  // Black text is the reader's default: no colour is written unless an attribute has one.
  out += "pre { font-family: 'Courier New', monospace; font-size: 10pt; tab-size: " +
         std::to_string(source.TabWidth) + "; }\n";
  bool used[FortranAttributeCount] = {};
  if (source.Attributes) {
    for (int i = 0; i < FortranAttributeCount; ++i) {
      const std::string rule = Rule((*source.Attributes)[static_cast<std::size_t>(i)]);
      used[i] = !rule.empty();
      if (used[i]) out += ".a" + std::to_string(i) + " {" + rule + " }\n";
    }
  }
  out += "</style>\n</head>\n<body>\n<pre>";
  const platform::TCodePage page = source.CodePage;
  // A parser drops the break right after <pre>; this one is written for it to drop, so a
  // document starting with an empty line keeps it.
  out += '\n';
  ForEachRun(
      source,
      [&](int attr, std::string_view bytes) {
        const bool span = attr >= 0 && used[attr];
        if (span) out += "<span class=\"a" + std::to_string(attr) + "\">";
        for (char b : bytes)
          AppendEscaped(out, platform::ToUnicode(page, static_cast<unsigned char>(b)));
        if (span) out += "</span>";
      },
      [&] { out += '\n'; });
  out += "</pre>\n</body>\n</html>\n";
  return out;
}

}  // namespace vortan
