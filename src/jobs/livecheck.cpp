#include "jobs/livecheck.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <system_error>

#include "jobs/analyzerrun.h"
#include "jobs/commandline.h"
#include "jobs/compilerdiagnostic.h"
#include "jobs/environment.h"
#include "jobs/reportparser.h"
#include "jobs/toolcapture.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "platform/privatetempdir.h"

namespace vortan {

namespace {

using Clock = std::chrono::steady_clock;

struct TCopy {
  std::string TempName;
  // The folder the user's INCLUDEs are searched in, as a compile of the file would.
  std::string Folder;
};

std::string NamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Each copy goes into a numbered folder of its own, so two open files of the same name in
// different folders stay apart, and keeps its name, so the tools read it as the same kind
// of source (fixed form by its extension).
bool WriteCopies(const TLiveRequest& request, const std::string& dir, std::vector<TCopy>& copies) {
  for (std::size_t i = 0; i < request.Sources.size(); ++i) {
    const TLiveSource& source = request.Sources[i];
    const std::string sub = dir + std::to_string(i) + "/";
    std::error_code ec;
    if (!std::filesystem::create_directory(sub, ec)) return false;
    std::string name = NamePart(source.FileName.empty() ? source.Shown : source.FileName);
    if (name.empty()) name = "untitled.f";
    TCopy copy;
    copy.TempName = sub + name;
    copy.Folder =
        source.FileName.empty() ? sub : FolderPart(platform::AbsolutePath(source.FileName));
    if (copy.Folder.empty()) copy.Folder = sub;
    std::string error;
    if (!platform::WriteFileReplacing(copy.TempName, source.Text, error, 0600)) return false;
    copies.push_back(std::move(copy));
  }
  return true;
}

struct TToolRun {
  std::string Output;
  TLiveToolState State = TLiveToolState::Ran;
};

TToolRun RunTool(TChildStart how, const TLiveTools& tools, const std::function<bool()>& stop) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(tools.TimeLimitMs);
  bool timedOut = false;
  bool stopped = false;
  TToolCapture capture(-1, [&] {
    if (stop && stop()) stopped = true;
    if (Clock::now() >= deadline) timedOut = true;
    return stopped || timedOut;
  });
  capture.OutputLimit = tools.OutputLimit;
  TToolRun run;
  if (capture.Run(std::move(how)) == jrCantExecute) {
    run.State = TLiveToolState::Missing;
    return run;
  }
  run.Output = std::move(capture.Output);
  if (stopped)
    run.State = TLiveToolState::Stopped;
  else if (timedOut)
    run.State = TLiveToolState::TimedOut;
  else if (capture.Truncated)
    run.State = TLiveToolState::Flooded;
  return run;
}

// The source a tool's file name stands for; -1 for any other file.
int SourceOf(const std::string& file, const std::vector<TCopy>& copies) {
  for (std::size_t i = 0; i < copies.size(); ++i)
    if (file == copies[i].TempName) return static_cast<int>(i);
  for (std::size_t i = 0; i < copies.size(); ++i)
    if (platform::IsSameFile(file, copies[i].TempName)) return static_cast<int>(i);
  return -1;
}

void Place(TLiveFinding& finding, const std::string& file, const TLiveRequest& request,
           const std::vector<TCopy>& copies) {
  const int source = SourceOf(file, copies);
  if (source < 0) {
    finding.File = file;
    return;
  }
  const TLiveSource& s = request.Sources[static_cast<std::size_t>(source)];
  finding.Editor = s.Editor;
  finding.File = s.FileName.empty() ? s.Shown : s.FileName;
}

TToolRun Compile(const TLiveRequest& request, const TLiveTools& tools, const std::string& dir,
                 const std::vector<TCopy>& copies, const std::function<bool()>& stop,
                 std::vector<TLiveFinding>& findings) {
  TChildStart how;
  how.Arguments = {tools.Compiler, "-fsyntax-only"};
  for (std::string& option : SplitCommandLine(tools.CompilerOptions))
    how.Arguments.push_back(std::move(option));
  // Module files a syntax check may write go to the private folder, never the user's.
  how.Arguments.push_back("-J" + dir);
  how.Arguments.push_back("-I" + copies[0].Folder);
  how.Arguments.push_back(copies[0].TempName);
  how.WorkingDirectory = copies[0].Folder;
  TEnvironment environment;
  environment.LoadCurrent();
  environment.SetEnglishMessages();
  std::vector<char*> envp = environment.Envp();
  how.Envp = envp.empty() ? nullptr : envp.data();

  TToolRun run = RunTool(std::move(how), tools, stop);
  if (run.State == TLiveToolState::Missing || run.State == TLiveToolState::Stopped) return run;
  for (TCompilerDiagnostic& d : ParseCompilerOutput(run.Output)) {
    TLiveFinding finding;
    Place(finding, d.File, request, copies);
    finding.Tool = "gfortran";
    finding.Kind = d.Kind;
    finding.Line = d.Line;
    finding.Column = d.Column;
    finding.Text = std::move(d.Text);
    finding.Details = std::move(d.Details);
    findings.push_back(std::move(finding));
  }
  return run;
}

// The message part of a report entry, after its "name(line): ".
std::string MessagePart(const std::string& text) {
  const std::size_t at = text.find("): ");
  return at == std::string::npos ? text : text.substr(at + 3);
}

TToolRun Analyze(const TLiveRequest& request, const TLiveTools& tools,
                 const std::vector<TCopy>& copies, const std::function<bool()>& stop,
                 std::vector<TLiveFinding>& findings) {
  std::vector<std::string> names;
  for (const TCopy& copy : copies) names.push_back(copy.TempName);
  std::string parameters = tools.AnalyzerParameters;
  parameters += " " + QuoteArgument("-include=" + copies[0].Folder);
  const TAnalyzerRun analyzer =
      MakeAnalyzerRun(tools.Analyzer, tools.AnalyzerFormat, parameters, names, copies[0].Folder);
  TChildStart how;
  how.Arguments = {tools.Analyzer};
  for (std::string& argument : SplitCommandLine(analyzer.Parameters))
    how.Arguments.push_back(std::move(argument));
  how.WorkingDirectory = analyzer.WorkingDirectory;
  // A format without the sources' place would leave the analyzer reading its standard input
  // until the time limit: the copies are named then after everything else.
  for (const std::string& name : names)
    if (std::find(how.Arguments.begin(), how.Arguments.end(), name) == how.Arguments.end())
      how.Arguments.push_back(name);

  TToolRun run = RunTool(std::move(how), tools, stop);
  if (run.State == TLiveToolState::Missing || run.State == TLiveToolState::Stopped) return run;

  // The parser keeps a window per entry; here that field carries the number of the file the
  // entry names (1-based, 0 for none), turned into the real place below.
  std::vector<std::string> files;
  TReportParser parser(tools.Keywords, {}, [&](const std::string& file) {
    files.push_back(file);
    TReportParser::TResolved resolved;
    resolved.Editor = reinterpret_cast<TfrmEditor*>(files.size());
    resolved.Shown = file;
    return resolved;
  });
  for (const std::string& line : SplitReportLines(run.Output)) parser.Parse(line);
  for (TMessageNode& node : parser.TakeAll()) {
    TMessageKind kind = node.Data.Kind;
    if (kind == mkDetail || kind == mkLocation) continue;
    if (kind == mkUnclassified) kind = mkMaybe;
    TLiveFinding finding;
    const auto index = reinterpret_cast<std::uintptr_t>(node.Data.Editor);
    if (index > 0 && index <= files.size()) Place(finding, files[index - 1], request, copies);
    finding.Tool = "ftnchek";
    finding.Kind = kind;
    finding.Line = node.Data.Line;
    finding.Column = node.Data.Column;
    finding.Text = MessagePart(node.Data.Text);
    for (const TMessageNode& child : node.Children) finding.Details.push_back(child.Data.Text);
    findings.push_back(std::move(finding));
  }
  return run;
}

}  // namespace

TLiveResult RunLiveCheck(const TLiveRequest& request, const TLiveTools& tools,
                         const std::function<bool()>& stop) {
  TLiveResult result;
  if (request.Sources.empty()) return result;
  platform::TPrivateTempDir dir("live", tools.TempBase);
  std::vector<TCopy> copies;
  if (dir.Path().empty() || !WriteCopies(request, dir.Path(), copies)) {
    result.Stopped = true;
    return result;
  }
  if (!tools.Compiler.empty()) {
    result.Compiler = Compile(request, tools, dir.Path(), copies, stop, result.Findings).State;
  }
  if (!tools.Analyzer.empty() && !(stop && stop())) {
    result.Analyzer = Analyze(request, tools, copies, stop, result.Findings).State;
  }
  result.Stopped = (stop && stop()) || result.Compiler == TLiveToolState::Stopped ||
                   result.Analyzer == TLiveToolState::Stopped;
  return result;
}

}  // namespace vortan
