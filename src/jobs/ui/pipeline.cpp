#include "jobs/ui/pipeline.h"

#include <QAction>
#include <QDesktopServices>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "jobs/analyzerkeywords.h"
#include "jobs/analyzerrun.h"
#include "jobs/commandline.h"
#include "jobs/compilerdiagnostic.h"
#include "jobs/ui/mainthreadcall.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/outputthread.h"
#include "jobs/ui/parsejob.h"
#include "jobs/ui/processform.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "widgets/qtconvert.h"
#include "i18n/stringtable.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "editor/ui/documents.h"
#include "jobs/ui/pipelinehost.h"
#include "i18n/ui/translator.h"
#include "widgets/desktop.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"

namespace vortan {

namespace {


// ftnchek says so, in the middle of its banner line, when the file named cannot be read.
bool CannotOpen(const std::string& report, const std::string& file) {
  return report.find("Cannot open file " + file) != std::string::npos;
}

}  // namespace

std::uint8_t StepsOfAction(int tag) {
  switch (tag) {
    case 0: return psAnalyze | psCompile;
    case 1: return psRun;
    case 2: return psAnalyze;
    case 3: return psAnalyze | psCompile | psRun;
    case 6: return psAnalyze | psCompile | psDebug;
    default: return 0;
  }
}

TPipeline::TPipeline(TPipelineHost* host, QObject* parent)
    : QObject(parent),
      host_(host),
      messages_(std::make_unique<TMessagesView>(host->MessagesTree())),
      output_(std::make_unique<TOutputPanel>(host->OutputMemo())),
      call_(QtMainThreadCall()) {
  setObjectName(QStringLiteral("Pipeline"));
  messages_->ActiveEditor = [this] { return host_->Documents().Active(); };
  messages_->ActivateEditor = [this](TfrmEditor* e) { host_->Documents().Activate(e); };
  output_->OpenPlace = [this](const std::string& line) { return OpenOutputPlace(line); };
}

TPipeline::~TPipeline() {
  // Handlers of jobs still running find this side gone (they hold guarded references).
  if (frmProcess_) delete frmProcess_.data();
}

TfrmProcess* TPipeline::ProcessForm() const { return frmProcess_.data(); }

TBaseThread::TNotify TPipeline::Guarded(TBaseThread::TNotify handler) {
  QPointer<TPipeline> self(this);
  const std::uint64_t run = run_.Id;
  return [self, run, handler = std::move(handler)](TBaseThread& job) {
    if (self && self->run_.Id == run && handler) handler(job);
  };
}

TBaseThread::TNotify TPipeline::Handler(void (TPipeline::*method)(TBaseThread&)) {
  return Guarded([this, method](TBaseThread& job) { (this->*method)(job); });
}

void TPipeline::NewRun(TfrmEditor* editor) {
  run_ = TRun();
  run_.Id = ++lastRun_;
  run_.Editor = editor;
}

void TPipeline::Start(TBaseThread* job) {
  if (frmProcess_) frmProcess_->SetCurrentThread(job);
  job->Start();
}

void TPipeline::SetStatus(const std::string& text) {
  if (QLabel* panel = host_->ProcessPanel()) panel->setText(LanguageText(text));
}

// --- the start ---------------------------------------------------------------------------

void TPipeline::ProcessExecute(int tag) {
  // One action at a time: while the progress window is open a step is under way.
  if (frmProcess_) return;
  TfrmEditor* editor = host_->Documents().Active();
  if (editor == nullptr) return;
  const std::uint8_t steps = StepsOfAction(tag);
  if ((steps & psCompile) && (steps & (psRun | psDebug)) && BuildWithOthers &&
      BuildWithOthers(editor, steps))
    return;
  if (!SaveBeforeContinue(editor)) return;

  pending_ = steps;
  if ((pending_ & psDebug) && ExtensionOf(sidDebuggerExtension).empty()) {
    ExtensionNotFound();
    return;
  }
  output_->Clear();
  NewRun(editor);
  if (pending_ & psAnalyze) {
    StartAnalyzer(editor);
  } else if (pending_ & psRun) {
    if (StartRun) StartRun(editor, std::string());
  }
}

bool TPipeline::SaveBeforeContinue(TfrmEditor* editor) {
  if (ReadBool(sidAutoSaveBeforeContinue)) return SaveActiveEditor();
  bool show = ReadBool(sidSaveBeforeContinue);
  if (!show) return true;
  if (!editor->Modified() && !(editor->FileName().empty() && !editor->Text().empty())) return true;
  const TModalResult answer =
      MessageDlgCheck(StrText(TStr::strMsgSaveBeforeContinue), TMsgDlgType::Confirmation,
                      {TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::Cancel}, {TMsgDlgBtn::No}, show);
  WriteBool(sidSaveBeforeContinue, show);
  if (answer == TModalResult::Yes) return SaveActiveEditor();
  return answer == TModalResult::No;
}

bool TPipeline::SaveActiveEditor() {
  TfrmEditor* editor = host_->Documents().Active();
  if (editor == nullptr) return false;
  // A failed write has been reported; the build goes on from a temporary copy.
  if (!editor->FileName().empty()) return host_->Documents().Save(editor), true;
  const std::string name = host_->Documents().AskSaveName(LocalBytes(editor->Caption()));
  if (name.empty()) return false;
  host_->Documents().SaveAs(name, editor);
  return true;
}

TfrmProcess* TPipeline::ShowProcessForm(const std::string& message, int lines) {
  auto* form = new TfrmProcess(host_->Window());
  form->setAttribute(Qt::WA_DeleteOnClose);
  // Modal to the main window: it keeps painting but takes no input while a step runs.
  form->setWindowModality(Qt::WindowModal);
  form->SetBold(false);
  form->SetMessage(message);
  form->SetLines(lines);
  form->OnCancelled = [this] {
    messages_->Clear();
    SetStatus(std::string());
  };
  form->OnClearStatus = [this] { SetStatus(std::string()); };
  connect(form, &TfrmProcess::Closing, this, &TPipeline::ProcessClosing);
  frmProcess_ = form;
  form->show();
  form->repaint();
  return form;
}

void TPipeline::StartAnalyzer(TfrmEditor* editor) {
  TRun& run = run_;
  if (!editor->FileName().empty()) {
    run.Name = FileNamePart(editor->FileName());
    run.Dir = DirectoryPart(editor->FileName());
  } else {
    run.Name = FileNamePart(LocalBytes(editor->Caption()));
    run.Dir = PathOf(sidTempPath);
  }
  run.TempCopy = editor->Modified() || (editor->FileName().empty() && !editor->Text().empty());
  if (run.TempCopy) {
    run.Source = run.Dir + "~" + run.Name;
    // The bytes a save would write, so the tools see exactly what a saved file would hold.
    std::string error;
    if (!platform::WriteFileReplacing(run.Source, editor->Text(), error)) {
      MessageDlgDef(FormatStr("Cannot create file \"%s\". %s", {platform::FileNameText(run.Source), error}),
                    TMsgDlgType::Error, {TMsgDlgBtn::OK});
      return;
    }
    host_->Documents().AddTempFile(run.Source);
  } else {
    run.Source = run.Dir + run.Name;
  }

  messages_->Clear();
  output_->Clear();
  SetStatus(Str(TStr::strRunningAnalyzer));
  TfrmProcess* form = ShowProcessForm(Str(TStr::strRunningAnalyzer), editor->LineCount());
  form->SetFile(run_.Name);

  auto* job = new TOutputThread(call_);
  AnalyzerRunFromSettings(run_.Source).ApplyTo(*job, run_.Source);
  job->Editor = editor;
  job->Priority = ReadInteger(sidProcessPriority);
  job->OnError = Handler(&TPipeline::AnalyzerFailed);
  job->OnSuccess = Handler(&TPipeline::AnalyzerDone);
  Start(job);
}

// --- outcomes ----------------------------------------------------------------------------

void TPipeline::Finish(const std::string& message) {
  if (!frmProcess_) return;
  frmProcess_->SetFinished();
  SetStatus(std::string());
  frmProcess_->SetBold(true);
  frmProcess_->SetMessage(message);
}

void TPipeline::FinishFailure(TJobResult code, TJobResult cantExecute,
                              const std::string& cantExecuteText) {
  if (!frmProcess_) return;
  if (code == jrTerminated)
    Finish(Str(TStr::strTerminatedByUser));
  else if (code == cantExecute)
    Finish(cantExecuteText);
  else
    Finish(Str(TStr::strUnknownFailure));
}

void TPipeline::AnalyzerFailed(TBaseThread& job) {
  FinishFailure(job.ResultCode, jrCantExecute, Str(TStr::strCantExecuteAnalyzer));
}

void TPipeline::AnalyzerDone(TBaseThread& job) {
  if (!frmProcess_) return;
  auto& capture = static_cast<TOutputThread&>(job);
  run_.Report = capture.Output;
  // The analyzer ran but could not read the file: that is no analysis, and the reason is
  // in its output.
  if (CannotOpen(run_.Report, run_.Source)) {
    output_->SetOutput(run_.Report);
    Finish(Str(TStr::strAnalyzerFailure));
    return;
  }
  SetStatus(Str(TStr::strAnalyzing));
  frmProcess_->SetMessage(Str(TStr::strAnalyzing));

  auto* parse = new TParseJob(call_, this, this);
  parse->SetReport(capture.Output);
  parse->FileName = capture.FileName;
  parse->Editor = capture.Editor;
  parse->EditorModified = run_.TempCopy;
  parse->EditorFileName = run_.Editor ? run_.Editor->FileName() : std::string();
  parse->EditorTempName = run_.TempCopy ? run_.Source : std::string();
  parse->Priority = ReadInteger(sidProcessPriority);
  parse->OnError = Handler(&TPipeline::ParseFailed);
  parse->OnSuccess = Handler(&TPipeline::ParseDone);
  parse->OnFinished = Handler(&TPipeline::ParseEnded);
  Start(parse);
}

void TPipeline::ParseFailed(TBaseThread& job) {
  if (!frmProcess_) return;
  if (job.ResultCode == jrNoReport)
    Finish(Str(TStr::strAnalyzerFailure));
  else
    FinishFailure(job.ResultCode, jrCantExecute, Str(TStr::strUnknownFailure));
}

void TPipeline::ParseEnded(TBaseThread&) { ClearPending(psAnalyze); }

void TPipeline::ParseDone(TBaseThread& job) {
  ClearPending(psAnalyze);
  if (!frmProcess_) return;
  auto& parse = static_cast<TAnalyzeThread&>(job);
  const int errors = parse.ErrorCount;
  frmProcess_->SetErrors(errors);
  frmProcess_->SetHits(parse.HitCount);
  // Nothing found and the analyzer says it could not open something: it analyzed nothing.
  if (messages_->Empty() && run_.Report.find("Cannot open") != std::string::npos) {
    output_->SetOutput(run_.Report);
    Finish(Str(TStr::strAnalyzerFailure));
    return;
  }
  if (pending_ != 0 && (errors == 0 || ReadBool(sidIgnoreAnalyzerErrors))) {
    StartCompile(job);
    return;
  }
  if (errors == 0) {
    Finish(Str(TStr::strAnalyzed));
    return;
  }
  Finish(Str(TStr::strErrorsEncountered));
  messages_->OpenFirstError();
  if (frmProcess_) frmProcess_->close();
}

void TPipeline::StartCompile(TBaseThread& parse) {
  SetStatus(Str(TStr::strCompiling));
  frmProcess_->SetMessage(Str(TStr::strCompiling));
  const std::string& src = run_.Source;
  const std::string exe = platform::ProgramFileOf(src);

  auto* job = new TOutputThread(call_);
  job->ProgramPath = QuoteArgument(ExtensionOf(sidCompilerExtension));
  job->Parameters = FormatArguments(
      FormatOf(sidCompilerFormat),
      {ReadString(sidAdditionalCompilerOptionsParameters), QuoteArgument(src), QuoteArgument(exe),
       ReadString(sidAdditionalCompilerLibrariesParameters)});
  job->WorkingDirectory = DirectoryPart(src);
  job->Environment.LoadForCompiler(PathOf(sidBinPath), PathOf(sidLibPath));
  job->Environment.SetEnglishMessages();
  job->FileName = exe;
  job->Editor = parse.Editor;
  job->Priority = ReadInteger(sidProcessPriority);
  job->OnError = Handler(&TPipeline::CompileFailed);
  job->OnSuccess = Handler(&TPipeline::CompileDone);
  Start(job);
}

void TPipeline::CompileFailed(TBaseThread& job) {
  FinishFailure(job.ResultCode, jrCantExecute, Str(TStr::strCantExecuteCompiler));
}

void TPipeline::CompileDone(TBaseThread& job) {
  ClearPending(psCompile);
  auto& compile = static_cast<TOutputThread&>(job);
  if (run_.TempCopy) {
    // The program of a temporary copy takes the document's name; an older program of that
    // name goes, also when this compile failed.
    const std::string target = platform::ProgramFileOf(run_.Dir + run_.Name);
    std::error_code ec;
    std::filesystem::remove(target, ec);
    std::filesystem::rename(compile.FileName, target, ec);
    if (!ec) compile.FileName = target;
  }
  output_->SetOutput(compile.Output);
  outputDir_ = DirectoryPart(run_.Source);
  TfrmEditor* compiled = run_.Editor.data();
  ShowCompilerFindings({{compile.Output, outputDir_}},
                       {{run_.Source, run_.Dir + run_.Name, std::string(), compiled}}, {compiled});
  if (!frmProcess_) return;
  if (pending_ == 0 || compile.ExitCode != 0) {
    Finish(Str(compile.ExitCode != 0 ? TStr::strErrorsEncountered : TStr::strCompiled));
    return;
  }
  TfrmEditor* editor = run_.Editor.data();
  if (pending_ & psDebug) {
    if (StartDebug)
      StartDebug(editor, compile.FileName);
    else
      Finish(Str(TStr::strCompiled));
  } else if (pending_ & psRun) {
    if (StartRun)
      StartRun(editor, compile.FileName);
    else
      Finish(Str(TStr::strCompiled));
  }
}

void TPipeline::ProcessClosing() {
  // The window goes later; from now on it is no longer there for the steps.
  frmProcess_ = nullptr;
  QWidget* window = host_->Window();
  if (output_->HasText() && !host_->OutputWindow()->isVisibleTo(window) &&
      ReadBool(sidAutoshowOutputWindow))
    host_->OutputWindow()->show();
  if (!messages_->Empty() && !host_->MessagesWindow()->isVisibleTo(window) &&
      ReadBool(sidAutoshowMessagesWindow))
    host_->MessagesWindow()->show();
}

// --- the compiler's findings ------------------------------------------------------------

void TPipeline::ShowCompilerFindings(const std::vector<TToolText>& texts,
                                     const std::vector<TKnownSource>& known,
                                     const std::vector<TfrmEditor*>& compiled) {
  std::vector<TCompilerDiagnostic> findings;
  std::vector<std::size_t> textOf;
  for (std::size_t t = 0; t < texts.size(); ++t) {
    std::vector<TCompilerDiagnostic> more = ParseCompilerOutput(texts[t].Output);
    textOf.insert(textOf.end(), more.size(), t);
    findings.insert(findings.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
  }
  auto editorOf = [this](const std::string& file) { return EditorOfFile(file); };
  std::vector<TMessageNode> groups = CompilerMessageNodes(
      findings,
      [&](const TCompilerDiagnostic& d) {
        const std::size_t i = static_cast<std::size_t>(&d - findings.data());
        return ResolveFinding(d, known, texts[textOf[i]].Dir, editorOf);
      },
      Str(TStr::strError), Str(TStr::strWarning));
  // The marks say what this compile found: older ones go, also when it found nothing.
  std::vector<TfrmEditor*> cleared;
  auto clear = [&cleared](TfrmEditor* e) {
    if (e == nullptr || std::find(cleared.begin(), cleared.end(), e) != cleared.end()) return;
    e->ClearErrorLines();
    cleared.push_back(e);
  };
  for (TfrmEditor* e : compiled) clear(e);
  for (const TMessageNode& group : groups) {
    for (const TMessageNode& entry : group.Children) {
      if (entry.Data.Editor == nullptr || entry.Data.Kind != mkError || entry.Data.Line <= 0)
        continue;
      clear(entry.Data.Editor);
      entry.Data.Editor->MarkErrorLine(entry.Data.Line);
    }
  }
  if (groups.empty()) return;
  messages_->Add(std::move(groups));
  messages_->LandOnFirstError();
}

TfrmEditor* TPipeline::EditorOfFile(const std::string& file) {
  if (TfrmEditor* open = host_->Documents().Find(file)) return open;
  if (!platform::FileExists(file)) return nullptr;
  return host_->Documents().Open(file, true);
}

bool TPipeline::OpenOutputPlace(const std::string& line) {
  const std::optional<TSourcePlace> place = ReadSourcePlace(line);
  if (!place || place->Line <= 0) return false;
  TCompilerDiagnostic finding;
  finding.File = place->File;
  std::vector<TKnownSource> known;
  for (TfrmEditor* e : host_->Documents().Editors()) {
    // The temporary copy a modified document was compiled from stands for the document.
    if (e->FileName().empty()) continue;
    const std::string dir = DirectoryPart(e->FileName());
    const std::string name = FileNamePart(e->FileName());
    known.push_back({dir + "~" + name, e->FileName(), std::string(), e});
  }
  if (run_.Editor && run_.TempCopy) known.push_back({run_.Source, run_.Dir + run_.Name, {}, run_.Editor});
  const TFindingTarget target = ResolveFinding(
      finding, known, outputDir_, [this](const std::string& f) { return EditorOfFile(f); });
  if (target.Editor == nullptr) return false;
  TMessageData at;
  at.Editor = target.Editor;
  at.Line = place->Line;
  at.Column = place->Column;
  messages_->OpenPlace(at, false);
  return true;
}

// --- stop --------------------------------------------------------------------------------

void TPipeline::StopExecute() { StopJob(host_->Documents().Active()); }

void TPipeline::StopJob(TfrmEditor* editor) {
  if (editor == nullptr) return;
  TBaseThread* job = editor->RunningThread();
  if (job == nullptr) return;
  auto hold = job->Hold();
  job->RequestStop();
}

// --- the analyzer's calls ----------------------------------------------------------------

TAnalyzerKeywords TPipeline::Keywords() { return ReadAnalyzerKeywords(Store()); }

TfrmEditor* TPipeline::EditorFor(const std::string& file) {
  if (file.empty()) return host_->Documents().Open(std::string(), true);
  if (TfrmEditor* open = host_->Documents().Find(file)) return open;
  return host_->Documents().Open(file, true);
}

std::string TPipeline::Caption(TfrmEditor* editor) {
  return editor ? LocalBytes(editor->Caption()) : std::string();
}

void TPipeline::BeginMessages() { messages_->BeginUpdate(); }

void TPipeline::AddMessages(std::vector<TMessageNode> entries) {
  messages_->Add(std::move(entries));
}

void TPipeline::EndMessages() { messages_->EndUpdate(); }

void TPipeline::Progress(int, int hits, int errors) {
  if (!frmProcess_) return;
  frmProcess_->SetHits(hits);
  frmProcess_->SetErrors(errors);
}

}  // namespace vortan
