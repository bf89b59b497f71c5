#include "jobs/commandline.h"

namespace vortan {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view text) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = text.size();
  for (;;) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i == n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(text[i]))) {
      const char c = text[i];
      if (c == '\\') {
        std::size_t run = 0;
        while (i + run < n && text[i + run] == '\\') ++run;
        i += run;
        if (i < n && text[i] == '"') {
          arg.append(run / 2, '\\');
          if (run % 2 == 1) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(run, '\\');
        }
      } else if (c == '"') {
        quoted = !quoted;
        ++i;
      } else {
        arg += c;
        ++i;
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteArgument(std::string_view argument) {
  std::string out = "\"";
  std::size_t i = 0;
  while (i < argument.size()) {
    if (argument[i] == '\\') {
      std::size_t run = 0;
      while (i + run < argument.size() && argument[i + run] == '\\') ++run;
      i += run;
      // Backslashes before a quote (ours at the end included) must be doubled to stay literal.
      const bool beforeQuote = i == argument.size() || argument[i] == '"';
      out.append(beforeQuote ? run * 2 : run, '\\');
    } else if (argument[i] == '"') {
      out += "\\\"";
      ++i;
    } else {
      out += argument[i++];
    }
  }
  out += '"';
  return out;
}

std::string FormatArguments(std::string_view format, const std::vector<std::string>& arguments) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        if (next < arguments.size()) out += arguments[next];
        ++next;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace vortan
