#include "jobs/fortranvalue.h"

#include <charconv>
#include <limits>

#include "platform/text.h"

namespace vortan {

namespace {

bool ReadLong(std::string_view text, long& value) {
  text = Trim(text);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "(3,4)" or "(0:5,-1:1)" -> the bounds; false when the text is no bounds list.
bool ReadBounds(std::string_view text, std::vector<std::pair<long, long>>& bounds) {
  if (text.size() < 3 || text.front() != '(' || text.back() != ')') return false;
  text = text.substr(1, text.size() - 2);
  while (true) {
    const auto comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    const auto colon = part.find(':');
    long low = 1;
    long high = 0;
    if (colon == std::string_view::npos) {
      if (!ReadLong(part, high)) return false;
    } else if (!ReadLong(part.substr(0, colon), low) || !ReadLong(part.substr(colon + 1), high)) {
      return false;
    }
    bounds.emplace_back(low, high);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

std::string BaseName(std::string_view base) {
  base = Trim(base);
  const auto paren = base.find("(kind=");
  if (paren == std::string_view::npos) return UpperAscii(std::string(base));
  std::string name = UpperAscii(std::string(Trim(base.substr(0, paren))));
  long kind = 0;
  const auto close = base.find(')', paren);
  if (close == std::string_view::npos || !ReadLong(base.substr(paren + 6, close - paren - 6), kind))
    return UpperAscii(std::string(base));
  // COMPLEX*8 holds two REAL*4: its size is twice its kind.
  if (name == "COMPLEX") kind *= 2;
  return name + "*" + std::to_string(kind);
}

}  // namespace

std::string TFortranType::Text() const {
  if (Bounds.empty()) return Base;
  std::string text = Base + " (";
  for (std::size_t i = 0; i < Bounds.size(); ++i) {
    if (i) text += ',';
    if (Bounds[i].first != 1) text += std::to_string(Bounds[i].first) + ':';
    text += std::to_string(Bounds[i].second);
  }
  return text + ')';
}

long long TFortranType::Elements() const {
  if (Bounds.empty()) return 0;
  long long count = 1;
  for (const auto& [low, high] : Bounds) {
    const long long extent = high >= low ? static_cast<long long>(high) - low + 1 : 0;
    if (extent && count > std::numeric_limits<long long>::max() / extent)
      return std::numeric_limits<long long>::max();
    count *= extent;
  }
  return count;
}

TFortranType ParseFortranType(std::string_view gdbType) {
  TFortranType type;
  gdbType = Trim(gdbType);
  // The bounds follow the base after a blank: "real(kind=4) (3,4)".
  const auto blank = gdbType.rfind(" (");
  if (blank != std::string_view::npos && ReadBounds(gdbType.substr(blank + 1), type.Bounds)) {
    type.Base = BaseName(gdbType.substr(0, blank));
  } else {
    type.Bounds.clear();
    type.Base = BaseName(gdbType);
  }
  return type;
}

std::string FortranValueText(std::string_view value) {
  std::string text(Trim(value));
  if (text == ".TRUE." || text == ".FALSE." || text.empty() || text.front() == '\'') return text;
  // A COMPLEX scalar: "(re,im)" with two numbers.
  if (text.front() == '(' && text.back() == ')') {
    const std::string_view inner = std::string_view(text).substr(1, text.size() - 2);
    const auto comma = inner.find(',');
    if (comma != std::string_view::npos && inner.find(',', comma + 1) == std::string_view::npos &&
        inner.find('(') == std::string_view::npos)
      return "(" + std::string(Trim(inner.substr(0, comma))) + ", " +
             std::string(Trim(inner.substr(comma + 1))) + ")";
  }
  return text;
}

std::string SubscriptText(std::string_view name, std::size_t rank, const std::vector<long>& fixed) {
  std::string text = std::string(name) + "(";
  for (std::size_t dim = 0; dim < rank; ++dim) {
    if (dim) text += ',';
    // fixed[0] is the last dimension's subscript, fixed[1] the one before ...
    const std::size_t fromRight = rank - 1 - dim;
    text += fromRight < fixed.size() ? std::to_string(fixed[fromRight]) : std::string(":");
  }
  return text + ")";
}

std::string RoutineName(std::string_view gdbName) {
  if (gdbName == "MAIN__") return "MAIN";
  std::string name(gdbName);
  if (!name.empty() && name.back() == '_') name.pop_back();
  return UpperAscii(name);
}

}  // namespace vortan
