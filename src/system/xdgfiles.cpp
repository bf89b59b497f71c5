#include "system/xdgfiles.h"

#include <cstdlib>
#include <fstream>

#include "platform/childprocess.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace vortan::xdg {

namespace {

std::string Home() { return platform::GetEnv("HOME"); }

// An XDG base directory: the variable when it holds an absolute path (relative values are
// invalid and ignored), else the fallback below the home directory.
std::string BaseDir(const char* variable, const char* fallback) {
  const std::string v = platform::GetEnv(variable);
  if (!v.empty() && v.front() == '/') return platform::IncludeTrailingSeparator(v);
  const std::string home = Home();
  return home.empty() ? std::string() : platform::IncludeTrailingSeparator(home) + fallback;
}

}  // namespace

std::string DataHome() { return BaseDir("XDG_DATA_HOME", ".local/share/"); }
std::string ConfigHome() { return BaseDir("XDG_CONFIG_HOME", ".config/"); }

std::vector<std::string> DataDirs() {
  std::string list = platform::GetEnv("XDG_DATA_DIRS");
  if (list.empty()) list = "/usr/local/share/:/usr/share/";
  std::vector<std::string> dirs;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string dir = list.substr(start, end - start);
    if (!dir.empty() && dir.front() == '/') dirs.push_back(platform::IncludeTrailingSeparator(dir));
    start = end + 1;
  }
  return dirs;
}

std::string EscapeValue(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      // Readers drop blanks at the start of a value.
      case ' ':
        out += i == 0 ? "\\s" : " ";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ExecArgument(std::string_view argument) {
  constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
  const bool quote = argument.empty() || argument.find_first_of(reserved) != std::string_view::npos;
  std::string out;
  if (quote) out += '"';
  for (char c : argument) {
    if (c == '%') {
      out += "%%";
      continue;
    }
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c;
  }
  if (quote) out += '"';
  return out;
}

std::string ExecLine(const std::string& program, const std::vector<std::string>& arguments,
                     std::string_view fieldCodes) {
  std::string line = ExecArgument(program);
  for (const std::string& a : arguments) line += ' ' + ExecArgument(a);
  if (!fieldCodes.empty()) {
    line += ' ';
    line += fieldCodes;
  }
  return EscapeValue(line);
}

std::string LookupMimeType(std::string extension) {
  if (extension.empty()) return std::string();
  if (extension.front() != '.') extension.insert(0, 1, '.');
  const std::string exact = "*" + extension;
  const std::string folded = LowerAscii(exact);

  struct TMatch {
    int Weight = -1;
    std::string Type;
  };
  // A glob that matches the name as written wins over one that matches only after folding.
  TMatch exactMatch, foldedMatch;
  std::vector<std::string> dirs = DataDirs();
  dirs.insert(dirs.begin(), DataHome());
  for (const std::string& dir : dirs) {
    if (dir.empty()) continue;
    bool weighted = true;
    std::ifstream in(dir + "mime/globs2");
    if (!in) {
      in.open(dir + "mime/globs");
      weighted = false;
    }
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line.front() == '#') continue;
      std::vector<std::string> fields;
      size_t start = 0;
      for (size_t colon; (colon = line.find(':', start)) != std::string::npos; start = colon + 1)
        fields.push_back(line.substr(start, colon - start));
      fields.push_back(line.substr(start));
      int weight = 50;
      size_t at = 0;
      if (weighted) {
        if (fields.size() < 3) continue;
        weight = std::atoi(fields[0].c_str());
        at = 1;
      } else if (fields.size() < 2) {
        continue;
      }
      const std::string& type = fields[at];
      const std::string& glob = fields[at + 1];
      const bool caseSensitive =
          fields.size() > at + 2 && fields[at + 2].find("cs") != std::string::npos;
      // Earlier directories win among equal weights: only a higher weight replaces.
      if (glob == exact && weight > exactMatch.Weight) exactMatch = {weight, type};
      if (!caseSensitive && glob == folded && weight > foldedMatch.Weight)
        foldedMatch = {weight, type};
    }
  }
  return !exactMatch.Type.empty() ? exactMatch.Type : foldedMatch.Type;
}

bool RunTool(const std::string& program, const std::vector<std::string>& arguments) {
  TChildStart how;
  how.Arguments.reserve(arguments.size() + 1);
  how.Arguments.push_back(program);
  how.Arguments.insert(how.Arguments.end(), arguments.begin(), arguments.end());
  // The tools' chatter is no concern of the user.
  how.NullStdio = true;
  TChildProcess child;
  if (!child.Start(how)) return false;
  child.Wait(-1, -1);
  return child.ExitCode() == 0;
}

}  // namespace vortan::xdg
