#include "jobs/ui/multibuild.h"

#include <QAction>
#include <algorithm>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "i18n/stringtable.h"
#include "jobs/analyzerrun.h"
#include "jobs/buildallthread.h"
#include "jobs/outputthread.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/ui/parsejob.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/processform.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "editor/ui/documents.h"
#include "jobs/ui/pipelinehost.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {


void AddLine(std::string& text, const std::string& line) {
  text += line;
  text += '\n';
}

}  // namespace

TMultiBuild::TMultiBuild(TPipelineHost* host, TPipeline* pipeline)
    : QObject(pipeline), host_(host), pipeline_(pipeline) {
  setObjectName(QStringLiteral("MultiBuild"));
}

TBaseThread::TNotify TMultiBuild::Handler(void (TMultiBuild::*method)(TBaseThread&)) {
  QPointer<TMultiBuild> self(this);
  return pipeline_->Guarded([self, method](TBaseThread& job) {
    if (self) (self.data()->*method)(job);
  });
}

bool TMultiBuild::Collect(std::vector<TBuildSource>& sources, std::string& notes) {
  const std::string tempDir = PathOf(sidTempPath);
  const bool autoSave = ReadBool(sidAutoSaveBeforeContinue);
  std::vector<TfrmEditor*> editors = host_->Documents().Editors();
  // The files panel's order (front to back) changes with every activation; the build keeps
  // the order the files were opened in, which is the order of the names.
  for (TfrmEditor* editor : editors) {
    if (autoSave && editor->Modified() && !editor->FileName().empty())
      host_->Documents().SaveAs(editor->FileName(), editor);
    TDocumentFacts facts;
    facts.FileName = editor->FileName();
    facts.Caption = FileNamePart(LocalBytes(editor->Caption()));
    facts.Modified = editor->Modified();
    const std::string text = editor->Text();
    facts.Empty = text.empty();
    facts.Editor = editor;
    TBuildSource source = RouteDocument(facts, tempDir);
    if (source.Route == TSourceRoute::Skipped) {
      if (!facts.FileName.empty() || !facts.Empty)
        AddLine(notes, FormatStr(Str(TStr::strMsgNotFortran), {source.Document}));
      continue;
    }
    if (source.MissingOnDisk)
      AddLine(notes, FormatStr(Str(TStr::strMsgMissingOnDisk), {source.Document}));
    if (source.Route == TSourceRoute::TempCopy) {
      std::string error;
      if (!platform::WriteFileReplacing(source.Source, text, error)) {
        MessageDlgDef(FormatStr("Cannot create file \"%s\". %s", {source.Source, error}),
                      TMsgDlgType::Error, {TMsgDlgBtn::OK});
        return false;
      }
      host_->Documents().AddTempFile(source.Source);
    }
    sources.push_back(std::move(source));
  }
  std::sort(sources.begin(), sources.end(),
            [](const TBuildSource& a, const TBuildSource& b) { return a.Document < b.Document; });
  return true;
}

// --- Compile All -------------------------------------------------------------------------

void TMultiBuild::CompileAll(std::uint8_t then) {
  if (pipeline_->ProcessForm() != nullptr || host_->Documents().Editors().empty()) return;
  sources_.clear();
  notes_.clear();
  then_ = then;
  if (!Collect(sources_, notes_)) return;
  pipeline_->NewAction(host_->Documents().Active());
  pipeline_->Messages().Clear();
  pipeline_->Output().Clear();
  pipeline_->SetStatus(Str(TStr::strCompiling));
  TfrmProcess* form = pipeline_->ShowProcessForm(Str(TStr::strCompiling), 0);
  if (sources_.empty()) {
    pipeline_->Output().SetOutput(notes_);
    pipeline_->Finish(Str(TStr::strNoSourceFiles));
    return;
  }
  TBuildTools tools;
  tools.Compiler = ExtensionOf(sidCompilerExtension);
  tools.Format = FormatOf(sidCompilerFormat);
  tools.Options = ReadString(sidAdditionalCompilerOptionsParameters);
  tools.Libraries = ReadString(sidAdditionalCompilerLibrariesParameters);
  tools.ObjectDir = PathOf(sidTempPath);

  auto* job = new TBuildAllThread(pipeline_->MainThreadCall());
  job->Plan = MakeBuildPlan(sources_, tools);
  int lines = 0;
  for (TfrmEditor* e : host_->Documents().Editors()) lines += e->LineCount();
  form->SetLines(lines);
  form->SetFile(FileNamePart(sources_.front().Document));
  job->Environment.LoadForCompiler(PathOf(sidBinPath), PathOf(sidLibPath));
  job->Environment.SetEnglishMessages();
  job->Editor = host_->Documents().Active();
  QPointer<TMultiBuild> self(this);
  job->OnCompiling = [self](const std::string& document) {
    if (self && self->pipeline_->ProcessForm())
      self->pipeline_->ProcessForm()->SetFile(FileNamePart(document));
  };
  job->OnLinking = [self] {
    if (!self || !self->pipeline_->ProcessForm()) return;
    self->pipeline_->SetStatus(Str(TStr::strLinking));
    self->pipeline_->ProcessForm()->SetMessage(Str(TStr::strLinking));
  };
  job->OnError = Handler(&TMultiBuild::BuildFailed);
  job->OnSuccess = Handler(&TMultiBuild::BuildDone);
  form->SetCurrentThread(job);
  job->Start();
}

void TMultiBuild::BuildFailed(TBaseThread& job) {
  auto& build = static_cast<TBuildAllThread&>(job);
  pipeline_->Output().SetOutput(notes_ + build.Transcript());
  pipeline_->FinishFailure(job.ResultCode, jrCantExecute, Str(TStr::strCantExecuteCompiler));
}

void TMultiBuild::BuildDone(TBaseThread& job) {
  auto& build = static_cast<TBuildAllThread&>(job);
  const TBuildPlan& plan = build.Plan;
  std::string text = notes_ + build.Transcript();
  for (const TBuildUnit& unit : plan.Units)
    if (unit.Unreadable) AddLine(text, "Cannot read \"" + unit.File.Source + "\".");
  if (plan.MainUnits.empty()) {
    AddLine(text, Str(TStr::strMsgNoMainProgram));
  } else if (plan.MainUnits.size() > 1) {
    std::string names;
    for (std::size_t i : plan.MainUnits) {
      if (!names.empty()) names += ", ";
      names += plan.Units[i].File.Document;
    }
    AddLine(text, FormatStr(Str(TStr::strMsgMainPrograms), {names}));
  }
  pipeline_->Output().SetOutput(text);
  MarkCompilerErrors(build);
  linkedMain_ = nullptr;
  if (!pipeline_->ProcessForm()) return;
  if (!build.Compiled()) {
    pipeline_->Finish(Str(TStr::strErrorsEncountered));
    return;
  }
  if (!plan.CanLink()) {
    pipeline_->Finish(Str(plan.MainUnits.empty() ? TStr::strNoMainProgram : TStr::strManyMainPrograms));
    return;
  }
  if (!build.Linked()) {
    pipeline_->Finish(Str(TStr::strErrorsEncountered));
    return;
  }
  TfrmEditor* mainEditor = plan.Units[plan.MainUnits.front()].File.Editor;
  linkedMain_ = mainEditor;
  if ((then_ & psDebug) && pipeline_->StartDebug)
    pipeline_->StartDebug(mainEditor, plan.Program);
  else if ((then_ & psRun) && pipeline_->StartRun)
    pipeline_->StartRun(mainEditor, plan.Program);
  else
    pipeline_->Finish(Str(TStr::strCompiled));
}

void TMultiBuild::MarkCompilerErrors(const TBuildAllThread& build) {
  std::vector<TKnownSource> known;
  std::vector<TfrmEditor*> compiled;
  for (const TBuildUnit& unit : build.Plan.Units) {
    known.push_back({unit.File.Source, unit.File.Document, unit.Object, unit.File.Editor});
    compiled.push_back(unit.File.Editor);
  }
  // Each compile ran in its source's folder, to which the names it printed are relative.
  std::vector<TPipeline::TToolText> texts;
  for (std::size_t i = 0; i < build.Compiles.size() && i < build.Plan.Units.size(); ++i)
    if (build.Compiles[i].Ran)
      texts.push_back({build.Compiles[i].Output, build.Plan.Units[i].WorkingDirectory});
  if (build.Link.Ran) texts.push_back({build.Link.Output, build.Plan.LinkDirectory});
  if (!texts.empty()) pipeline_->SetOutputDir(texts.front().Dir);
  pipeline_->ShowCompilerFindings(texts, known, compiled);
}

// --- Analyze all -------------------------------------------------------------------------

void TMultiBuild::AnalyzeAll() {
  if (pipeline_->ProcessForm() != nullptr || host_->Documents().Editors().empty()) return;
  sources_.clear();
  notes_.clear();
  if (!Collect(sources_, notes_)) return;
  pipeline_->NewAction(host_->Documents().Active());
  pipeline_->Messages().Clear();
  pipeline_->Output().Clear();
  pipeline_->SetStatus(Str(TStr::strRunningAnalyzer));
  int lines = 0;
  for (TfrmEditor* e : host_->Documents().Editors()) lines += e->LineCount();
  TfrmProcess* form = pipeline_->ShowProcessForm(Str(TStr::strRunningAnalyzer), lines);
  if (sources_.empty()) {
    pipeline_->Output().SetOutput(notes_);
    pipeline_->Finish(Str(TStr::strNoSourceFiles));
    return;
  }
  form->SetFile(FileNamePart(sources_.front().Document));
  std::vector<std::string> names;
  for (const TBuildSource& s : sources_) names.push_back(s.Source);

  auto* job = new TOutputThread(pipeline_->MainThreadCall());
  AnalyzerRunFromSettings(names).ApplyTo(*job, names.front());
  job->Editor = sources_.front().Editor;
  job->Priority = ReadInteger(sidProcessPriority);
  job->OnError = Handler(&TMultiBuild::AnalyzerFailed);
  job->OnSuccess = Handler(&TMultiBuild::AnalyzerDone);
  form->SetCurrentThread(job);
  job->Start();
}

void TMultiBuild::AnalyzerFailed(TBaseThread& job) {
  pipeline_->FinishFailure(job.ResultCode, jrCantExecute, Str(TStr::strCantExecuteAnalyzer));
}

void TMultiBuild::AnalyzerDone(TBaseThread& job) {
  TfrmProcess* form = pipeline_->ProcessForm();
  if (!form) return;
  report_ = static_cast<TOutputThread&>(job).Output;
  pipeline_->SetStatus(Str(TStr::strAnalyzing));
  form->SetMessage(Str(TStr::strAnalyzing));

  auto* parse = new TParseJob(pipeline_->MainThreadCall(), pipeline_, pipeline_);
  parse->SetReport(report_);
  parse->FileName = job.FileName;
  for (const TBuildSource& s : sources_) parse->AnalyzedFiles.push_back({s.Source, s.Editor});
  parse->Priority = ReadInteger(sidProcessPriority);
  parse->OnError = Handler(&TMultiBuild::ParseFailed);
  parse->OnSuccess = Handler(&TMultiBuild::ParseDone);
  form->SetCurrentThread(parse);
  parse->Start();
}

void TMultiBuild::ParseFailed(TBaseThread& job) {
  if (job.ResultCode == jrNoReport)
    pipeline_->Finish(Str(TStr::strAnalyzerFailure));
  else
    pipeline_->FinishFailure(job.ResultCode, jrCantExecute, Str(TStr::strUnknownFailure));
}

void TMultiBuild::ParseDone(TBaseThread& job) {
  TfrmProcess* form = pipeline_->ProcessForm();
  if (!form) return;
  auto& parse = static_cast<TAnalyzeThread&>(job);
  form->SetErrors(parse.ErrorCount);
  form->SetHits(parse.HitCount);
  // Files the analyzer could not read, and the notes on left-out files, are worth reading.
  if (!notes_.empty() || report_.find("Cannot open") != std::string::npos)
    pipeline_->Output().SetOutput(notes_ + (report_.find("Cannot open") != std::string::npos ? report_ : ""));
  pipeline_->Finish(Str(parse.ErrorCount == 0 ? TStr::strAnalyzed : TStr::strErrorsEncountered));
}

}  // namespace vortan
