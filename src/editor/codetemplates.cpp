#include "editor/codetemplates.h"

#include <cstdio>

namespace vortan {

std::string FormatTemplateDateTime(const std::tm& local) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d %02d:%02d", local.tm_mday, local.tm_mon + 1,
                (local.tm_year + 1900) % 100, local.tm_hour, local.tm_min);
  return buffer;
}

std::string TemplateText(int tag, std::string_view headerText, const std::tm& local) {
  switch (static_cast<TCodeTemplate>(tag)) {
    case TCodeTemplate::Header:
      return std::string(headerText);
    case TCodeTemplate::DateTime:
      return "C " + FormatTemplateDateTime(local);
    case TCodeTemplate::IfThen:
      return "      IF () THEN\r\n\r\n      ENDIF\r\n";
    case TCodeTemplate::DoWhile:
      return "      DO WHILE ()\r\n\r\n      END DO\r\n";
    case TCodeTemplate::DoContinue:
      return "      DO ,,\r\n\r\n      CONTINUE\r\n";
    case TCodeTemplate::StopEnd:
      return "      STOP\r\n      END\r\n";
  }
  return {};
}

std::string ToControlBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
      continue;
    }
    out += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

}  // namespace vortan
