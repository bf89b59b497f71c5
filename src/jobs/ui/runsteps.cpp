#include "jobs/ui/runsteps.h"

#include <QPointer>

#include "jobs/commandline.h"
#include "jobs/debugthread.h"
#include "jobs/executethread.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/processform.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "widgets/qtconvert.h"
#include "i18n/stringtable.h"
#include "platform/codepage.h"
#include "platform/platform.h"
#include "jobs/ui/pipelinehost.h"
#include <QMainWindow>
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"

namespace vortan {

TRunSteps::TRunSteps(TPipeline* pipeline) : QObject(pipeline), pipeline_(pipeline) {
  setObjectName(QStringLiteral("RunSteps"));
  pipeline_->StartRun = [this](TfrmEditor* editor, const std::string& program) {
    StartRun(editor, program);
  };
  pipeline_->StartDebug = [this](TfrmEditor* editor, const std::string& program) {
    StartDebug(editor, program);
  };
}

TBaseThread::TNotify TRunSteps::Handler(TStep step, TfrmEditor* editor) {
  QPointer<TRunSteps> self(this);
  QPointer<TfrmEditor> target(editor);
  // A job outlives a closed editor (and, at exit, the main window): it then reaches neither.
  return [self, step, target](TBaseThread& job) {
    if (self) (self.data()->*step)(job, target.data());
  };
}

void TRunSteps::Begin(TProcessThread* job, TfrmEditor* editor) {
  job->Editor = editor;
  if (TfrmProcess* form = pipeline_->ProcessForm()) form->SetCurrentThread(job);
  editor->SetRunningThread(job);
  pipeline_->Host().UpdateActions();
  job->Start();
}

void TRunSteps::StartRun(TfrmEditor* editor, const std::string& program) {
  const bool alone = program.empty();
  // One program per editor; the actions say so already, this keeps a late key press out.
  if (editor == nullptr || editor->RunningThread() != nullptr) {
    if (!alone) pipeline_->Finish(Str(TStr::strCompiled));
    return;
  }
  std::string target = program;
  pipeline_->SetStatus(Str(TStr::strRunning));
  if (alone) {
    TfrmProcess* form = pipeline_->ShowProcessForm(Str(TStr::strRunning), editor->LineCount());
    target = editor->ProgramFile();
    form->SetFile(editor->FileName().empty()
                      ? LocalBytes(editor->Caption())
                      : FileNamePart(editor->FileName()));
  } else if (TfrmProcess* form = pipeline_->ProcessForm()) {
    form->SetMessage(Str(TStr::strRunning));
  }

  auto* job = new TExecuteThread(pipeline_->MainThreadCall());
  job->ProgramPath = target;
  job->WorkingDirectory = DirectoryPart(target);
  job->FileName = target;
  job->EndedText = platform::BytesToUtf8(platform::TCodePage::Ansi, Str(TStr::strProgramEnded));
  job->OnSuccess = Handler(&TRunSteps::RunStarted, editor);
  job->OnError = Handler(&TRunSteps::RunFailed, editor);
  job->OnFinished = Handler(&TRunSteps::RunEnded, editor);
  Begin(job, editor);
}

void TRunSteps::StartDebug(TfrmEditor* editor, const std::string& program) {
  if (editor == nullptr || editor->RunningThread() != nullptr) {
    pipeline_->Finish(Str(TStr::strCompiled));
    return;
  }
  pipeline_->SetStatus(Str(TStr::strDebugging));
  if (TfrmProcess* form = pipeline_->ProcessForm()) form->SetMessage(Str(TStr::strDebugging));

  TVortanExtension* tools = VortanExtension();
  TVortanFormat* formats = VortanFormat();
  auto* job = new TDebugThread(pipeline_->MainThreadCall());
  job->ProgramPath = QuoteArgument(tools ? tools->GetExtension(sidDebuggerExtension) : "");
  job->Parameters =
      FormatArguments(formats ? formats->GetFormat(sidDebuggerFormat) : std::string(),
                      {ReadString(sidAdditionalDebuggerParameters), QuoteArgument(program)});
  job->WorkingDirectory = DirectoryPart(program);
  job->FileName = program;
  job->OnSuccess = Handler(&TRunSteps::DebugStarted, editor);
  job->OnError = Handler(&TRunSteps::DebugFailed, editor);
  job->OnFinished = Handler(&TRunSteps::DebugEnded, editor);
  Begin(job, editor);
}

// --- outcomes ----------------------------------------------------------------------------

void TRunSteps::RunStarted(TBaseThread& job, TfrmEditor*) {
  pipeline_->ClearPending(psRun);
  Started(job, sidMinimizeOnRun);
}

void TRunSteps::RunFailed(TBaseThread& job, TfrmEditor*) {
  Failed(job, Str(TStr::strCantExecuteCompiledFile));
}

void TRunSteps::RunEnded(TBaseThread& job, TfrmEditor* editor) {
  Ended(job, editor, sidMinimizeOnRun);
}

void TRunSteps::DebugStarted(TBaseThread& job, TfrmEditor*) {
  pipeline_->ClearPending(psDebug);
  Started(job, sidMinimizeOnDebug);
}

void TRunSteps::DebugFailed(TBaseThread& job, TfrmEditor*) {
  Failed(job, Str(TStr::strCantExecuteDebugger));
}

void TRunSteps::DebugEnded(TBaseThread& job, TfrmEditor* editor) {
  Ended(job, editor, sidMinimizeOnDebug);
}

void TRunSteps::Started(TBaseThread& job, int minimizeSetting) {
  // Only this job's own progress window: another action's is none of its business.
  TfrmProcess* form = pipeline_->ProcessForm();
  if (form != nullptr && form->CurrentThread() == &job) {
    form->SetFinished();
    form->close();
  }
  // Cancelled while starting: it ends at once, so there is nothing to make room for.
  if (!job.StopRequested() && ReadBool(minimizeSetting)) {
    QMainWindow* main = pipeline_->Host().Window();
    main->setWindowState(main->windowState() | Qt::WindowMinimized);
  }
}

void TRunSteps::Failed(TBaseThread& job, const std::string& cantExecuteText) {
  TfrmProcess* form = pipeline_->ProcessForm();
  if (form == nullptr || form->CurrentThread() != &job) return;
  pipeline_->FinishFailure(job.ResultCode, jrCantExecute, cantExecuteText);
}

void TRunSteps::Ended(TBaseThread& job, TfrmEditor* editor, int minimizeSetting) {
  if (editor != nullptr && editor->RunningThread() == &job) editor->SetRunningThread(nullptr);
  // A step of another action may be under way; its status stays.
  if (pipeline_->ProcessForm() == nullptr) pipeline_->SetStatus(std::string());
  if (ReadBool(minimizeSetting)) {
    QMainWindow* main = pipeline_->Host().Window();
    main->setWindowState((main->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    main->show();
    main->raise();
    main->activateWindow();
  }
  pipeline_->Host().UpdateActions();
}

}  // namespace vortan
