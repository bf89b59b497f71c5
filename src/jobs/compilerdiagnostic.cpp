#include "jobs/compilerdiagnostic.h"

#include <cctype>

#include "platform/text.h"
#include "platform/textlines.h"

namespace vortan {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view TrimLeft(std::string_view text) {
  const std::size_t at = text.find_first_not_of(' ');
  return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

// "Error: x", "Fatal Error: x", "Warning: x" (and the lower-case forms of the driver and
// the linker): the kind and the message after the word.
bool ReadSeverity(std::string_view text, TMessageKind& kind, std::string_view& message) {
  struct TWord {
    std::string_view Word;
    TMessageKind Kind;
  };
  static constexpr TWord kWords[] = {{"Error:", mkError},       {"Fatal Error:", mkError},
                                     {"Warning:", mkWarning},   {"error:", mkError},
                                     {"fatal error:", mkError}, {"warning:", mkWarning}};
  for (const TWord& w : kWords) {
    if (StartsWith(text, w.Word)) {
      kind = w.Kind;
      message = TrimLeft(text.substr(w.Word.size()));
      return true;
    }
  }
  return false;
}

// The program that wrote a line "program: rest" (its path taken off), and the rest.
bool ReadProgram(std::string_view line, std::string_view& program, std::string_view& rest) {
  const std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string_view path = line.substr(0, colon);
  if (path.find(' ') != std::string_view::npos) return false;
  const std::size_t slash = path.rfind('/');
  program = slash == std::string_view::npos ? path : path.substr(slash + 1);
  rest = line.substr(colon + 2);
  return true;
}

bool IsLinker(std::string_view program) { return program == "ld" || StartsWith(program, "ld."); }

constexpr std::string_view kUndefined = "undefined reference to";

}  // namespace

std::optional<TSourcePlace> ReadSourcePlace(std::string_view line, std::size_t* restAt) {
  // The numbers are looked for after each colon in turn: a file name may hold colons itself.
  for (std::size_t colon = line.find(':'); colon != std::string_view::npos;
       colon = line.find(':', colon + 1)) {
    if (colon == 0) continue;
    std::size_t i = colon + 1;
    auto number = [&](int& value) {
      const std::size_t start = i;
      value = 0;
      while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])) && i - start < 9)
        value = value * 10 + (line[i++] - '0');
      return i > start && i < line.size() && line[i] == ':';
    };
    TSourcePlace place;
    if (!number(place.Line)) continue;
    ++i;
    const std::size_t afterLine = i;
    if (number(place.Column))
      ++i;
    else
      i = afterLine, place.Column = 0;
    place.File = std::string(line.substr(0, colon));
    if (restAt) *restAt = i;
    return place;
  }
  return std::nullopt;
}

std::vector<TCompilerDiagnostic> ParseCompilerOutput(std::string_view output) {
  std::vector<TCompilerDiagnostic> found;
  std::optional<TSourcePlace> pending;  // a place whose message is still to come
  std::vector<std::string> details;     // lines printed since that place
  std::vector<std::string> included;    // "In file included from" lines before it
  std::string linkObject, linkFunction;

  auto add = [&](TMessageKind kind, std::string tool, const TSourcePlace* place,
                 std::string_view text) {
    TCompilerDiagnostic d;
    d.Kind = kind;
    d.Tool = std::move(tool);
    if (place) d.File = place->File, d.Line = place->Line, d.Column = place->Column;
    d.Text = std::string(text);
    d.Details = std::move(included);
    d.Details.insert(d.Details.end(), details.begin(), details.end());
    found.push_back(std::move(d));
    pending.reset();
    details.clear();
    included.clear();
  };
  // "file:12: undefined reference to `foo_'", or "file:(.text+0x1e): ..." without debugging
  // data: the calling source as far as the linker knows it.
  auto undefined = [&](std::string_view where, std::string_view text) {
    TSourcePlace place;
    if (auto p = ReadSourcePlace(std::string(where) + ":"))
      place = *p;
    else
      place.File = std::string(where.substr(0, where.find(":(")));
    add(mkError, "ld", &place, text);
    TCompilerDiagnostic& d = found.back();
    d.Object = linkObject;
    if (!linkFunction.empty()) d.Details.push_back(linkFunction);
  };

  TTextLines lines(output);
  for (std::string_view line; lines.Next(line);) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (TrimLeft(line).empty()) continue;
    TMessageKind kind;
    std::string_view message;
    if (StartsWith(line, "In file included from ") ||
        (!included.empty() && StartsWith(TrimLeft(line), "from "))) {
      included.push_back(std::string(TrimLeft(line)));
      continue;
    }
    if (ReadSeverity(line, kind, message)) {
      add(kind, "gfortran", pending ? &*pending : nullptr, message);
      continue;
    }
    if (pending && (line[0] == ' ' || StartsWith(line, "..."))) {
      details.push_back(std::string(line));
      continue;
    }
    const std::size_t undefinedAt = line.find(kUndefined);
    std::string_view program, rest;
    if (line[0] != ' ' && ReadProgram(line, program, rest)) {
      if (IsLinker(program)) {
        const std::size_t in = rest.find(": in function ");
        if (in != std::string_view::npos) {
          linkObject = std::string(rest.substr(0, in));
          linkFunction = std::string(rest.substr(in + 2));
          if (!linkFunction.empty() && linkFunction.back() == ':') linkFunction.pop_back();
        } else if (const std::size_t u = rest.find(kUndefined); u != std::string_view::npos) {
          std::string_view where = rest.substr(0, u);
          while (!where.empty() && (where.back() == ' ' || where.back() == ':'))
            where.remove_suffix(1);
          linkObject = std::string(where.substr(0, where.find(":(")));
          linkFunction.clear();
          undefined(where, rest.substr(u));
        } else if (ReadSeverity(rest, kind, message)) {
          add(kind, "ld", nullptr, message);
        } else {
          add(mkError, "ld", nullptr, rest);
        }
        continue;
      }
      if (program == "collect2") continue;  // the linker's findings are above it
      if (ReadSeverity(rest, kind, message) && !ReadSourcePlace(line)) {
        add(kind, "gfortran", nullptr, message);
        continue;
      }
    }
    std::size_t restAt = 0;
    if (line[0] != ' ') {
      if (auto place = ReadSourcePlace(line, &restAt)) {
        const std::string_view after = TrimLeft(line.substr(restAt));
        if (after.empty()) {
          pending = place;
          details.clear();
        } else if (ReadSeverity(after, kind, message)) {
          add(kind, "gfortran", &*place, message);
        } else if (StartsWith(after, kUndefined)) {
          undefined(line.substr(0, restAt - 1), after);
        }
        continue;
      }
      if (undefinedAt != std::string_view::npos) {
        std::string_view where = line.substr(0, undefinedAt);
        while (!where.empty() && (where.back() == ' ' || where.back() == ':'))
          where.remove_suffix(1);
        undefined(where, line.substr(undefinedAt));
        continue;
      }
    }
  }
  return found;
}

}  // namespace vortan
