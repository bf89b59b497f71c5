#include "jobs/compilermessages.h"

#include <cctype>

#include "platform/textlines.h"

namespace vortan {

namespace {

bool IsError(std::string_view text) {
  const std::size_t at = text.find_first_not_of(' ');
  if (at == std::string_view::npos) return false;
  text.remove_prefix(at);
  return text.rfind("Error:", 0) == 0 || text.rfind("Fatal Error:", 0) == 0;
}

// "file:12:7:" -> file, 12, 7 and the rest after the last colon of the place.
bool ReadPlace(std::string_view line, TCompilerError& place, std::string_view& rest) {
  // The number fields are searched from the file's end: a file name may hold colons itself.
  for (std::size_t colon = line.find(':'); colon != std::string_view::npos;
       colon = line.find(':', colon + 1)) {
    std::size_t i = colon + 1;
    auto number = [&](int& value) {
      const std::size_t start = i;
      value = 0;
      while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && i - start < 9)
        value = value * 10 + (line[i++] - '0');
      return i > start && i < line.size() && line[i] == ':';
    };
    if (colon == 0 || !number(place.Line)) continue;
    ++i;
    const std::size_t afterLine = i;
    if (number(place.Column))
      ++i;
    else
      i = afterLine, place.Column = 0;
    place.File = std::string(line.substr(0, colon));
    rest = line.substr(i);
    return true;
  }
  return false;
}

}  // namespace

std::vector<TCompilerError> CompilerErrors(std::string_view output) {
  std::vector<TCompilerError> errors;
  TCompilerError pending;
  bool open = false;
  TTextLines lines(output);
  for (std::string_view line; lines.Next(line);) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    TCompilerError place;
    std::string_view rest;
    if (!line.empty() && line[0] != ' ' && ReadPlace(line, place, rest)) {
      if (IsError(rest)) {
        errors.push_back(place);
        open = false;
      } else {
        pending = place;
        open = rest.find_first_not_of(' ') == std::string_view::npos;
      }
      continue;
    }
    if (open && IsError(line)) {
      errors.push_back(pending);
      open = false;
    }
  }
  return errors;
}

}  // namespace vortan
