#include "jobs/ui/pipeline.h"

#include <QAction>
#include <QDesktopServices>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "jobs/analyzerkeywords.h"
#include "jobs/analyzerrun.h"
#include "jobs/commandline.h"
#include "jobs/compilerdiagnostic.h"
#include "jobs/outputthread.h"
#include "jobs/ui/mainthreadcall.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/ui/parsejob.h"
#include "jobs/ui/pipelinehost.h"
#include "jobs/ui/processform.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"
#include "widgets/desktop.h"
#include "widgets/qtconvert.h"

namespace vortan {

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
  const std::uint64_t action = action_;
  return [self, action, handler = std::move(handler)](TBaseThread& job) {
    if (self && self->action_ == action && handler) handler(job);
  };
}

void TPipeline::NewAction() {
  ++action_;
  tempSource_.clear();
  tempDocument_.clear();
  tempEditor_ = nullptr;
}

void TPipeline::SetTempCopy(const TKnownSource& copy) {
  tempSource_ = copy.Source;
  tempDocument_ = copy.Document;
  tempEditor_ = copy.Editor;
}

void TPipeline::SetStatus(const std::string& text) {
  if (QLabel* panel = host_->ProcessPanel()) panel->setText(LanguageText(text));
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
      StrText(TStr::strError), StrText(TStr::strWarning));
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
  if (tempEditor_) known.push_back({tempSource_, tempDocument_, {}, tempEditor_.data()});
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
