#include "jobs/buildplan.h"

#include <cctype>
#include <cstdio>

#include "jobs/commandline.h"
#include "jobs/mainprogram.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "platform/textlines.h"
#include "system/sourcefilenames.h"

namespace vortan {

namespace {

std::string Upper(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != ' ' && c != '\t')
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The files named by INCLUDE lines, found beside the source: a change in one of them must
// recompile the file that includes it.
std::string IncludedText(std::string_view text, const std::string& dir) {
  std::string included;
  TTextLines lines(text);
  for (std::string_view line; lines.Next(line);) {
    if (line.size() < 7 || line[0] == 'C' || line[0] == 'c' || line[0] == '*') continue;
    const std::string_view field = line.substr(6);
    const std::size_t word = field.find_first_not_of(" \t");
    if (word == std::string_view::npos || Upper(field.substr(word, 7)) != "INCLUDE") continue;
    const std::size_t open = field.find_first_of("'\"", word + 7);
    if (open == std::string_view::npos) continue;
    const std::size_t close = field.find(field[open], open + 1);
    if (close == std::string_view::npos) continue;
    std::string name(field.substr(open + 1, close - open - 1));
    if (name.empty()) continue;
    if (name[0] != platform::PathSeparator) name = dir + name;
    std::string bytes, error;
    included += name;
    included += '\0';
    if (platform::ReadFileBytes(name, bytes, error)) included += bytes;
    included += '\0';
  }
  return included;
}

}  // namespace

TBuildSource RouteDocument(const TDocumentFacts& facts, const std::string& tempDir) {
  TBuildSource out;
  out.Editor = facts.Editor;
  out.Document = facts.FileName.empty() ? tempDir + facts.Caption : facts.FileName;
  if (!IsFortranSourceName(out.Document) || (facts.FileName.empty() && facts.Empty)) {
    out.Route = TSourceRoute::Skipped;
    return out;
  }
  out.MissingOnDisk = !facts.FileName.empty() && !platform::FileExists(facts.FileName);
  if (facts.Modified || facts.FileName.empty() || out.MissingOnDisk) {
    out.Route = TSourceRoute::TempCopy;
    out.Source = DirectoryPart(out.Document) + "~" + FileNamePart(out.Document);
  } else {
    out.Route = TSourceRoute::File;
    out.Source = out.Document;
  }
  return out;
}

std::string HashText(std::string_view text, std::uint64_t seed) {
  std::uint64_t h = seed;
  for (unsigned char c : text) {
    h ^= c;
    h *= 0x100000001b3ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

std::string ObjectFileName(const std::string& objectDir, const std::string& document) {
  std::string stem = FileNamePart(document);
  const std::string ext = FileExtension(stem);
  stem.resize(stem.size() - ext.size());
  if (!stem.empty() && stem[0] == '~') stem.erase(0, 1);
  return objectDir + stem + "-" + HashText(platform::AbsolutePath(document)) + ".o";
}

std::string CompilerSourceArgument(const std::string& source) {
  // The compiler takes these as fixed-form Fortran by themselves (upper case: preprocessed).
  static constexpr const char* Known[] = {".f", ".for", ".ftn", ".F", ".FOR", ".FTN"};
  const std::string ext = FileExtension(source);
  for (const char* k : Known)
    if (ext == k) return QuoteArgument(source);
  // Any other name would go to the linker as it stands; "-x none" keeps what follows as it was.
  return "-x f77 " + QuoteArgument(source) + " -x none";
}

std::size_t TBuildPlan::CompileCount() const {
  std::size_t n = 0;
  for (const TBuildUnit& u : Units)
    if (!u.UpToDate) ++n;
  return n;
}

TBuildPlan MakeBuildPlan(const std::vector<TBuildSource>& sources, const TBuildTools& tools) {
  TBuildPlan plan;
  const std::string compiler = QuoteArgument(tools.Compiler);
  const std::string options = tools.Options.empty() ? "-c" : tools.Options + " -c";
  std::string linkFingerprint;
  for (const TBuildSource& source : sources) {
    if (source.Route == TSourceRoute::Skipped) continue;
    TBuildUnit unit;
    unit.File = source;
    unit.Object = ObjectFileName(tools.ObjectDir, source.Document);
    unit.Stamp = unit.Object + ".stamp";
    unit.ProgramPath = compiler;
    unit.Parameters = FormatArguments(tools.Format, {options, CompilerSourceArgument(source.Source),
                                                     QuoteArgument(unit.Object), std::string()});
    unit.WorkingDirectory = DirectoryPart(source.Source);

    std::string text, error;
    unit.Unreadable = !platform::ReadFileBytes(source.Source, text, error);
    if (!unit.Unreadable) {
      unit.Main = HoldsMainProgram(text);
      // The command without the source's own name: a temporary copy and the saved file of
      // one text give one fingerprint.
      const std::string command =
          compiler + '\0' +
          FormatArguments(tools.Format,
                          {options, CompilerSourceArgument(FileExtension(source.Source)),
                           std::string(), std::string()});
      unit.Fingerprint =
          HashText(text + '\0' + IncludedText(text, unit.WorkingDirectory) + '\0' + command);
      unit.UpToDate =
          platform::FileExists(unit.Object) && ReadStamp(unit.Stamp) == unit.Fingerprint;
    }
    if (unit.Main) plan.MainUnits.push_back(plan.Units.size());
    linkFingerprint += unit.Object + '\0' + unit.Fingerprint + '\0';
    plan.Units.push_back(std::move(unit));
  }
  if (plan.CanLink()) {
    const TBuildUnit& main = plan.Units[plan.MainUnits.front()];
    plan.Program = platform::ProgramFileOf(main.File.Document);
    std::string objects;
    for (const TBuildUnit& u : plan.Units) {
      if (!objects.empty()) objects += ' ';
      objects += QuoteArgument(u.Object);
    }
    plan.LinkProgramPath = compiler;
    plan.LinkParameters = FormatArguments(
        tools.Format, {tools.Options, objects, QuoteArgument(plan.Program), tools.Libraries});
    plan.LinkDirectory = DirectoryPart(main.File.Document);
    plan.LinkStamp = tools.ObjectDir + HashText(platform::AbsolutePath(plan.Program)) + ".link";
    plan.LinkFingerprint =
        HashText(linkFingerprint + plan.LinkProgramPath + '\0' + plan.LinkParameters);
  }
  return plan;
}

std::string ReadStamp(const std::string& stamp) {
  std::string bytes, error;
  if (!platform::ReadFileBytes(stamp, bytes, error)) return std::string();
  while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
  return bytes;
}

bool WriteStamp(const std::string& stamp, const std::string& fingerprint) {
  std::string error;
  return platform::WriteFileReplacing(stamp, fingerprint + "\n", error);
}

}  // namespace vortan
