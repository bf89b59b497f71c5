#include "editor/reindenter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "editor/fixedformline.h"
#include "platform/childprocess.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "platform/platformprofile.h"

namespace vortan {

namespace {

namespace fs = std::filesystem;

// A folder of its own under the temporary folder: its name cannot be taken over by another
// user's file, since creating it fails when it exists.
fs::path NewWorkDir() {
  std::random_device random;
  std::error_code ec;
  for (int attempt = 0; attempt < 20; ++attempt) {
    const fs::path dir =
        fs::temp_directory_path(ec) / ("vortan-reindent-" + std::to_string(random()));
    if (!ec && fs::create_directory(dir, ec) && !ec) return dir;
  }
  return {};
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    std::string line = text.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = nl + 1;
  }
  return lines;
}

}  // namespace

std::string TReindenter::FindTool(const std::string& binDir) {
  if (!binDir.empty()) {
    const std::string beside =
        platform::IncludeTrailingSeparator(binDir) + platform::ReindentFileName;
    if (platform::FileExists(beside)) return beside;
  }
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "";
  while (!dirs.empty()) {
    const auto colon = dirs.find(':');
    const std::string dir(dirs.substr(0, colon));
    dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    if (dir.empty()) continue;
    const std::string candidate =
        platform::IncludeTrailingSeparator(dir) + platform::ReindentFileName;
    if (platform::FileExists(candidate)) return candidate;
  }
  return {};
}

std::vector<std::string> TReindenter::CompiledView(const std::vector<std::string>& lines) {
  std::vector<std::string> view;
  std::string current;
  bool open = false;
  char quote = 0;
  auto flush = [&] {
    if (open) view.push_back(current);
    current.clear();
    open = false;
    quote = 0;
  };
  for (const std::string& line : lines) {
    const TFixedFormLine info = TFixedFormLine::Of(line);
    if (info.Kind == TFixedLineKind::Blank) continue;
    if (info.Kind == TFixedLineKind::Comment) {
      // A comment between continuation lines does not end the statement.
      const auto first = line.find_first_not_of(' ');
      const auto last = line.find_last_not_of(' ');
      view.push_back("C:" + line.substr(first, last - first + 1));
      continue;
    }
    if (info.Kind == TFixedLineKind::Initial) {
      flush();
      current = "L" + std::to_string(info.Label) + ":";
      open = true;
    }
    // The statement field runs to column 72; a constant open at its end takes the blanks that
    // pad the line to it.
    std::string field = line.substr(static_cast<std::size_t>(info.TextStart),
                                    static_cast<std::size_t>(info.TextEnd - info.TextStart));
    for (char c : field) {
      if (quote) {
        current += c;
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
        current += c;
      } else if (c != ' ' && c != '\t') {
        current += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      }
    }
    if (quote)
      current.append(static_cast<std::size_t>(TFixedFormLine::kLastColumn - info.TextEnd), ' ');
    // Text past column 72 is not read, but moving it there would lose it.
    if (static_cast<int>(line.size()) > TFixedFormLine::kLastColumn)
      current += "|" + line.substr(TFixedFormLine::kLastColumn);
  }
  flush();
  return view;
}

TReindentResult TReindenter::Run(const std::vector<std::string>& lines, bool fromFirstLine) const {
  TReindentResult result;
  if (tool_.empty() || !platform::FileExists(tool_)) {
    result.Status = TReindentResult::ToolMissing;
    result.Detail = platform::ReindentFileName;
    return result;
  }
  const fs::path dir = NewWorkDir();
  if (dir.empty()) {
    result.Detail = "no temporary folder";
    return result;
  }
  const std::string in = (dir / "in.f").string(), out = (dir / "out.f").string();
  {
    std::ofstream file(in, std::ios::binary);
    for (const std::string& line : lines) file << line << '\n';
  }
  // The options are split into words by the shell, never expanded: no globbing, no variables
  // substituted inside them.
  TChildStart how;
  how.Arguments = {"/bin/sh", "-c",  "set -f; exec \"$1\" -ifixed -ofixed $2 $3 < \"$4\" > \"$5\"",
                   "sh",      tool_, fromFirstLine ? "-Ia" : "",
                   options_,  in,    out};
  how.NullStdio = true;
  TChildProcess child;
  std::string text, error;
  const bool ran = child.Start(how) && child.Wait(-1, -1) && child.ExitCode() == 0 &&
                   platform::ReadFileBytes(out, text, error);
  std::error_code ec;
  fs::remove_all(dir, ec);
  if (!ran) {
    result.Detail = "findent failed";
    return result;
  }
  std::vector<std::string> indented = SplitLines(text);
  if (indented.size() != lines.size()) {
    result.Status = TReindentResult::ProgramChanged;
    result.Detail = "the number of lines changed";
    return result;
  }
  const std::vector<std::string> was = CompiledView(lines), is = CompiledView(indented);
  if (was != is) {
    std::size_t i = 0;
    while (i < was.size() && i < is.size() && was[i] == is[i]) ++i;
    result.Status = TReindentResult::ProgramChanged;
    result.Detail = "\"" + (i < was.size() ? was[i] : std::string()) + "\" would read \"" +
                    (i < is.size() ? is[i] : std::string()) + "\"";
    return result;
  }
  result.Status = TReindentResult::Ok;
  result.Lines = std::move(indented);
  return result;
}

}  // namespace vortan
