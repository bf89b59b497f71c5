#include "jobs/ui/steprunner.h"

#include <QMainWindow>
#include <algorithm>
#include <filesystem>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "i18n/stringtable.h"
#include "jobs/analyzerrun.h"
#include "jobs/analyzethread.h"
#include "jobs/buildallthread.h"
#include "jobs/commandline.h"
#include "jobs/debugthread.h"
#include "jobs/executethread.h"
#include "jobs/outputthread.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/ui/parsejob.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/pipelinehost.h"
#include "jobs/ui/processform.h"
#include "platform/codepage.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"
#include "widgets/desktop.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

// ftnchek says so, in the middle of its banner line, when the file named cannot be read.
bool CannotOpen(const std::string& report, const std::string& file) {
  return report.find("Cannot open file " + file) != std::string::npos;
}

bool SaysCannotOpen(const std::string& report) {
  return report.find("Cannot open") != std::string::npos;
}

void AddLine(std::string& text, const std::string& line) {
  text += line;
  text += '\n';
}

bool Holds(const TCommandSteps& list, TStepKind kind) {
  return std::find(list.Steps.begin(), list.Steps.end(), kind) != list.Steps.end();
}

}  // namespace

TStepRunner::TStepRunner(TPipelineHost* host, TPipeline* pipeline)
    : QObject(pipeline), host_(host), pipeline_(pipeline) {
  setObjectName(QStringLiteral("StepRunner"));
}

TBaseThread::TNotify TStepRunner::Handler(THandler method, TJob role, TfrmEditor* editor) {
  QPointer<TStepRunner> self(this);
  QPointer<TfrmEditor> target(editor);
  TBaseThread::TNotify handler = [self, method, role, target](TBaseThread& job) {
    if (self) (self.data()->*method)(job, role, target.data());
  };
  // The program outlives its list: its end still frees its editor after later actions began.
  // Every other job reaches only the action that made it.
  if (role == TJob::Program || role == TJob::Debugger) return handler;
  return pipeline_->Guarded(std::move(handler));
}

// --- the start ---------------------------------------------------------------------------

void TStepRunner::Execute(int tag) {
  TBuildCommand command;
  if (CommandOfAction(tag, command)) Run(command);
}

void TStepRunner::Run(TBuildCommand command) {
  // One list at a time: while the progress window is open a step is under way.
  if (pipeline_->ProcessForm() != nullptr) return;
  TfrmEditor* active = host_->Documents().Active();
  // The main file of a program that Compile All linked is built with all its files.
  if (active != nullptr && active == linkedMain_.data()) command = WithAllFiles(command);
  const TCommandSteps& list = StepsOf(command);
  if (list.Files == TStepFiles::Active) {
    if (active == nullptr || !SaveBeforeContinue(active)) return;
  } else if (host_->Documents().Editors().empty()) {
    return;
  }
  if (Holds(list, TStepKind::Debug) && ExtensionOf(sidDebuggerExtension).empty()) {
    ExtensionNotFound();
    return;
  }
  if (list.Files == TStepFiles::AllOpen) {
    sources_.clear();
    notes_.clear();
    if (!Collect()) return;
    pipeline_->Messages().Clear();
  }
  pipeline_->Output().Clear();
  pipeline_->NewAction();
  list_ = &list;
  step_ = 0;
  editor_ = active;
  report_.clear();
  program_.clear();
  programEditor_ = nullptr;
  emit Started();
  StartStep();
}

void TStepRunner::Advance(const std::string& doneMessage) {
  if (step_ + 1 >= list_->Steps.size()) {
    pipeline_->Finish(doneMessage);
    return;
  }
  ++step_;
  StartStep();
}

void TStepRunner::StartStep() {
  switch (Current()) {
    case TStepKind::Analyze:
      list_->Files == TStepFiles::Active ? StartAnalyzeFile() : StartAnalyzeAll();
      break;
    case TStepKind::Compile:
      StartCompile();
      break;
    case TStepKind::CompileAll:
      StartCompileAll();
      break;
    case TStepKind::Run:
      StartProgram(false);
      break;
    case TStepKind::Debug:
      StartProgram(true);
      break;
  }
}

void TStepRunner::Begin(TBaseThread* job) {
  if (TfrmProcess* form = pipeline_->ProcessForm()) form->SetCurrentThread(job);
  job->Start();
}

bool TStepRunner::SaveBeforeContinue(TfrmEditor* editor) {
  if (ReadBool(sidAutoSaveBeforeContinue)) return pipeline_->SaveActiveEditor();
  bool show = ReadBool(sidSaveBeforeContinue);
  if (!show) return true;
  if (!editor->Modified() && !(editor->FileName().empty() && !editor->Text().empty())) return true;
  const TModalResult answer = MessageDlgCheck(
      StrText(TStr::strMsgSaveBeforeContinue), TMsgDlgType::Confirmation,
      {TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::Cancel}, {TMsgDlgBtn::No}, show);
  WriteBool(sidSaveBeforeContinue, show);
  if (answer == TModalResult::Yes) return pipeline_->SaveActiveEditor();
  return answer == TModalResult::No;
}

bool TStepRunner::Collect() {
  const std::string tempDir = PathOf(sidTempPath);
  const bool autoSave = ReadBool(sidAutoSaveBeforeContinue);
  // The files panel's order (front to back) changes with every activation; the build keeps
  // the order the files were opened in, which is the order of the names.
  for (TfrmEditor* editor : host_->Documents().Editors()) {
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
        AddLine(notes_,
                FormatText(TStr::strMsgNotFortran, {platform::FileNameText(source.Document)}));
      continue;
    }
    if (source.MissingOnDisk)
      AddLine(notes_,
              FormatText(TStr::strMsgMissingOnDisk, {platform::FileNameText(source.Document)}));
    if (source.Route == TSourceRoute::TempCopy) {
      std::string error;
      if (!platform::WriteFileReplacing(source.Source, text, error)) {
        MessageDlgDef(FormatStr("Cannot create file \"%s\". %s", {source.Source, error}),
                      TMsgDlgType::Error, {TMsgDlgBtn::OK});
        return false;
      }
      host_->Documents().AddTempFile(source.Source);
    }
    sources_.push_back(std::move(source));
  }
  std::sort(sources_.begin(), sources_.end(),
            [](const TBuildSource& a, const TBuildSource& b) { return a.Document < b.Document; });
  return true;
}

int TStepRunner::OpenLines() const {
  int lines = 0;
  for (TfrmEditor* e : host_->Documents().Editors()) lines += e->LineCount();
  return lines;
}

// --- the steps ---------------------------------------------------------------------------

void TStepRunner::StartAnalyzeFile() {
  TfrmEditor* editor = editor_.data();
  if (!editor->FileName().empty()) {
    name_ = FileNamePart(editor->FileName());
    dir_ = DirectoryPart(editor->FileName());
  } else {
    name_ = FileNamePart(LocalBytes(editor->Caption()));
    dir_ = PathOf(sidTempPath);
  }
  tempCopy_ = editor->Modified() || (editor->FileName().empty() && !editor->Text().empty());
  if (tempCopy_) {
    source_ = dir_ + "~" + name_;
    // The bytes a save would write, so the tools see exactly what a saved file would hold.
    std::string error;
    if (!platform::WriteFileReplacing(source_, editor->Text(), error)) {
      MessageDlgDef(
          FormatStr("Cannot create file \"%s\". %s", {platform::FileNameText(source_), error}),
          TMsgDlgType::Error, {TMsgDlgBtn::OK});
      return;
    }
    host_->Documents().AddTempFile(source_);
    pipeline_->SetTempCopy({source_, dir_ + name_, std::string(), editor});
  } else {
    source_ = dir_ + name_;
  }

  pipeline_->Messages().Clear();
  pipeline_->Output().Clear();
  pipeline_->SetStatus(Str(TStr::strRunningAnalyzer));
  TfrmProcess* form =
      pipeline_->ShowProcessForm(Str(TStr::strRunningAnalyzer), editor->LineCount());
  form->SetFile(name_);

  StartAnalyzer(AnalyzerRunFromSettings(source_), source_, editor);
}

void TStepRunner::StartAnalyzer(const TAnalyzerRun& run, const std::string& first,
                                TfrmEditor* editor) {
  auto* job = new TOutputThread(pipeline_->MainThreadCall());
  run.ApplyTo(*job, first);
  job->Editor = editor;
  job->Priority = ReadInteger(sidProcessPriority);
  job->OnError = Handler(&TStepRunner::Failed, TJob::Analyzer);
  job->OnSuccess = Handler(&TStepRunner::Done, TJob::Analyzer);
  Begin(job);
}

void TStepRunner::StartAnalyzeAll() {
  pipeline_->SetStatus(Str(TStr::strRunningAnalyzer));
  TfrmProcess* form = pipeline_->ShowProcessForm(Str(TStr::strRunningAnalyzer), OpenLines());
  if (sources_.empty()) {
    pipeline_->Output().SetOutput(notes_);
    pipeline_->Finish(Str(TStr::strNoSourceFiles));
    return;
  }
  form->SetFile(FileNamePart(sources_.front().Document));
  std::vector<std::string> names;
  for (const TBuildSource& s : sources_) names.push_back(s.Source);

  StartAnalyzer(AnalyzerRunFromSettings(names), names.front(), sources_.front().Editor);
}

void TStepRunner::StartCompile() {
  pipeline_->SetStatus(Str(TStr::strCompiling));
  pipeline_->ProcessForm()->SetMessage(Str(TStr::strCompiling));
  const std::string exe = platform::ProgramFileOf(source_);

  auto* job = new TOutputThread(pipeline_->MainThreadCall());
  job->ProgramPath = QuoteArgument(ExtensionOf(sidCompilerExtension));
  job->Parameters =
      FormatArguments(FormatOf(sidCompilerFormat),
                      {ReadString(sidAdditionalCompilerOptionsParameters), QuoteArgument(source_),
                       QuoteArgument(exe), ReadString(sidAdditionalCompilerLibrariesParameters)});
  job->WorkingDirectory = DirectoryPart(source_);
  job->Environment.LoadForCompiler(PathOf(sidBinPath), PathOf(sidLibPath));
  job->Environment.SetEnglishMessages();
  job->FileName = exe;
  job->Editor = editor_.data();
  job->Priority = ReadInteger(sidProcessPriority);
  job->OnError = Handler(&TStepRunner::Failed, TJob::Compiler);
  job->OnSuccess = Handler(&TStepRunner::Done, TJob::Compiler);
  Begin(job);
}

void TStepRunner::StartCompileAll() {
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
  form->SetLines(OpenLines());
  form->SetFile(FileNamePart(sources_.front().Document));
  job->Environment.LoadForCompiler(PathOf(sidBinPath), PathOf(sidLibPath));
  job->Environment.SetEnglishMessages();
  job->Editor = host_->Documents().Active();
  QPointer<TPipeline> pipeline(pipeline_);
  job->OnCompiling = [pipeline](const std::string& document) {
    if (pipeline && pipeline->ProcessForm())
      pipeline->ProcessForm()->SetFile(FileNamePart(document));
  };
  job->OnLinking = [pipeline] {
    if (!pipeline || !pipeline->ProcessForm()) return;
    pipeline->SetStatus(Str(TStr::strLinking));
    pipeline->ProcessForm()->SetMessage(Str(TStr::strLinking));
  };
  job->OnError = Handler(&TStepRunner::Failed, TJob::BuildAll);
  job->OnSuccess = Handler(&TStepRunner::Done, TJob::BuildAll);
  Begin(job);
}

void TStepRunner::StartProgram(bool debug) {
  // Execute runs the editor's program alone, under a progress window of its own.
  const bool alone = step_ == 0;
  TfrmEditor* editor = alone ? editor_.data() : programEditor_.data();
  // One program per editor; the actions say so already, this keeps a late key press out.
  if (editor == nullptr || editor->RunningThread() != nullptr) {
    if (!alone) pipeline_->Finish(Str(TStr::strCompiled));
    return;
  }
  const std::string& message = Str(debug ? TStr::strDebugging : TStr::strRunning);
  pipeline_->SetStatus(message);
  std::string target = program_;
  if (alone) {
    TfrmProcess* form = pipeline_->ShowProcessForm(message, editor->LineCount());
    target = editor->ProgramFile();
    form->SetFile(editor->FileName().empty() ? LocalBytes(editor->Caption())
                                             : FileNamePart(editor->FileName()));
  } else if (TfrmProcess* form = pipeline_->ProcessForm()) {
    form->SetMessage(message);
  }

  TProcessThread* job = nullptr;
  if (debug) {
    TVortanExtension* tools = VortanExtension();
    TVortanFormat* formats = VortanFormat();
    auto* debugger = new TDebugThread(pipeline_->MainThreadCall());
    debugger->ProgramPath = QuoteArgument(tools ? tools->GetExtension(sidDebuggerExtension) : "");
    debugger->Parameters =
        FormatArguments(formats ? formats->GetFormat(sidDebuggerFormat) : std::string(),
                        {ReadString(sidAdditionalDebuggerParameters), QuoteArgument(target)});
    job = debugger;
  } else {
    auto* program = new TExecuteThread(pipeline_->MainThreadCall());
    program->ProgramPath = target;
    program->EndedText =
        platform::BytesToUtf8(platform::TCodePage::Ansi, Str(TStr::strProgramEnded));
    job = program;
  }
  const TJob role = debug ? TJob::Debugger : TJob::Program;
  job->WorkingDirectory = DirectoryPart(target);
  job->FileName = target;
  job->Editor = editor;
  job->OnSuccess = Handler(&TStepRunner::Done, role, editor);
  job->OnError = Handler(&TStepRunner::Failed, role, editor);
  job->OnFinished = Handler(&TStepRunner::Ended, role, editor);
  if (TfrmProcess* form = pipeline_->ProcessForm()) form->SetCurrentThread(job);
  editor->SetRunningThread(job);
  host_->UpdateActions();
  job->Start();
}

// --- outcomes ----------------------------------------------------------------------------

void TStepRunner::Failed(TBaseThread& job, TJob role, TfrmEditor*) {
  // The transcript says how far the build came, also when it was cancelled.
  if (role == TJob::BuildAll)
    pipeline_->Output().SetOutput(notes_ + static_cast<TBuildAllThread&>(job).Transcript());
  TfrmProcess* form = pipeline_->ProcessForm();
  if (form == nullptr) return;
  TStr cantExecute = TStr::strUnknownFailure;
  switch (role) {
    case TJob::Analyzer:
      cantExecute = TStr::strCantExecuteAnalyzer;
      break;
    case TJob::Parse:
      if (job.ResultCode == jrNoReport) {
        pipeline_->Finish(Str(TStr::strAnalyzerFailure));
        return;
      }
      break;
    case TJob::Compiler:
    case TJob::BuildAll:
      cantExecute = TStr::strCantExecuteCompiler;
      break;
    case TJob::Program:
    case TJob::Debugger:
      // Only this job's own progress window: another action's is none of its business.
      if (form->CurrentThread() != &job) return;
      cantExecute =
          role == TJob::Program ? TStr::strCantExecuteCompiledFile : TStr::strCantExecuteDebugger;
      break;
  }
  pipeline_->FinishFailure(job.ResultCode, jrCantExecute, Str(cantExecute));
}

void TStepRunner::Done(TBaseThread& job, TJob role, TfrmEditor*) {
  switch (role) {
    case TJob::Analyzer:
      AnalyzerDone(job);
      break;
    case TJob::Parse:
      ParseDone(job);
      break;
    case TJob::Compiler:
      CompileDone(job);
      break;
    case TJob::BuildAll:
      BuildDone(job);
      break;
    case TJob::Program:
    case TJob::Debugger:
      ProgramStarted(job, role);
      break;
  }
}

void TStepRunner::AnalyzerDone(TBaseThread& job) {
  TfrmProcess* form = pipeline_->ProcessForm();
  if (!form) return;
  auto& capture = static_cast<TOutputThread&>(job);
  report_ = capture.Output;
  const bool oneFile = list_->Files == TStepFiles::Active;
  // The analyzer ran but could not read the file: that is no analysis, and the reason is
  // in its output.
  if (list_->CannotOpen == TCannotOpen::FailsTheAnalysis && oneFile &&
      CannotOpen(report_, source_)) {
    pipeline_->Output().SetOutput(report_);
    pipeline_->Finish(Str(TStr::strAnalyzerFailure));
    return;
  }
  pipeline_->SetStatus(Str(TStr::strAnalyzing));
  form->SetMessage(Str(TStr::strAnalyzing));

  auto* parse = new TParseJob(pipeline_->MainThreadCall(), pipeline_, pipeline_);
  parse->SetReport(report_);
  parse->FileName = capture.FileName;
  if (oneFile) {
    parse->Editor = capture.Editor;
    parse->EditorModified = tempCopy_;
    parse->EditorFileName = editor_ ? editor_->FileName() : std::string();
    parse->EditorTempName = tempCopy_ ? source_ : std::string();
  } else {
    for (const TBuildSource& s : sources_) parse->AnalyzedFiles.push_back({s.Source, s.Editor});
  }
  parse->Priority = ReadInteger(sidProcessPriority);
  parse->OnError = Handler(&TStepRunner::Failed, TJob::Parse);
  parse->OnSuccess = Handler(&TStepRunner::Done, TJob::Parse);
  Begin(parse);
}

void TStepRunner::ParseDone(TBaseThread& job) {
  TfrmProcess* form = pipeline_->ProcessForm();
  if (!form) return;
  auto& parse = static_cast<TAnalyzeThread&>(job);
  const int errors = parse.ErrorCount;
  form->SetErrors(errors);
  form->SetHits(parse.HitCount);
  if (list_->CannotOpen == TCannotOpen::FailsTheAnalysis) {
    // Nothing found and the analyzer says it could not open something: it analyzed nothing.
    if (pipeline_->Messages().Empty() && SaysCannotOpen(report_)) {
      pipeline_->Output().SetOutput(report_);
      pipeline_->Finish(Str(TStr::strAnalyzerFailure));
      return;
    }
  } else if (!notes_.empty() || SaysCannotOpen(report_)) {
    // Files the analyzer could not read, and the notes on left-out files, are worth reading.
    pipeline_->Output().SetOutput(notes_ + (SaysCannotOpen(report_) ? report_ : ""));
  }
  const bool more = step_ + 1 < list_->Steps.size();
  if (errors == 0 || (more && ReadBool(sidIgnoreAnalyzerErrors))) {
    Advance(Str(TStr::strAnalyzed));
    return;
  }
  pipeline_->Finish(Str(TStr::strErrorsEncountered));
  if (!list_->OpenFirstAnalyzerError) return;
  pipeline_->Messages().OpenFirstError();
  if (TfrmProcess* still = pipeline_->ProcessForm()) still->close();
}

void TStepRunner::CompileDone(TBaseThread& job) {
  auto& compile = static_cast<TOutputThread&>(job);
  if (tempCopy_) {
    // The program of a temporary copy takes the document's name; an older program of that
    // name goes, also when this compile failed.
    const std::string target = platform::ProgramFileOf(dir_ + name_);
    std::error_code ec;
    std::filesystem::remove(target, ec);
    std::filesystem::rename(compile.FileName, target, ec);
    if (!ec) compile.FileName = target;
  }
  pipeline_->Output().SetOutput(compile.Output);
  const std::string dir = DirectoryPart(source_);
  pipeline_->SetOutputDir(dir);
  TfrmEditor* compiled = editor_.data();
  pipeline_->ShowCompilerFindings({{compile.Output, dir}},
                                  {{source_, dir_ + name_, std::string(), compiled}}, {compiled});
  if (!pipeline_->ProcessForm()) return;
  if (compile.ExitCode != 0) {
    pipeline_->Finish(Str(TStr::strErrorsEncountered));
    return;
  }
  program_ = compile.FileName;
  programEditor_ = compiled;
  Advance(Str(TStr::strCompiled));
}

void TStepRunner::BuildDone(TBaseThread& job) {
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
    pipeline_->Finish(
        Str(plan.MainUnits.empty() ? TStr::strNoMainProgram : TStr::strManyMainPrograms));
    return;
  }
  if (!build.Linked()) {
    pipeline_->Finish(Str(TStr::strErrorsEncountered));
    return;
  }
  linkedMain_ = plan.Units[plan.MainUnits.front()].File.Editor;
  program_ = plan.Program;
  programEditor_ = linkedMain_;
  Advance(Str(TStr::strCompiled));
}

void TStepRunner::MarkCompilerErrors(const TBuildAllThread& build) {
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

void TStepRunner::ProgramStarted(TBaseThread& job, TJob role) {
  // Only this job's own progress window: another action's is none of its business.
  TfrmProcess* form = pipeline_->ProcessForm();
  if (form != nullptr && form->CurrentThread() == &job) {
    form->SetFinished();
    form->close();
  }
  // Cancelled while starting: it ends at once, so there is nothing to make room for.
  if (!job.StopRequested() &&
      ReadBool(role == TJob::Debugger ? sidMinimizeOnDebug : sidMinimizeOnRun)) {
    QMainWindow* main = host_->Window();
    main->setWindowState(main->windowState() | Qt::WindowMinimized);
  }
}

void TStepRunner::Ended(TBaseThread& job, TJob role, TfrmEditor* editor) {
  if (editor != nullptr && editor->RunningThread() == &job) editor->SetRunningThread(nullptr);
  // A step of another action may be under way; its status stays.
  if (pipeline_->ProcessForm() == nullptr) pipeline_->SetStatus(std::string());
  if (ReadBool(role == TJob::Debugger ? sidMinimizeOnDebug : sidMinimizeOnRun)) {
    QMainWindow* main = host_->Window();
    main->setWindowState((main->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    main->show();
    main->raise();
    main->activateWindow();
  }
  host_->UpdateActions();
}

}  // namespace vortan
