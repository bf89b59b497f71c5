#include "jobs/ui/debugcontroller.h"

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <thread>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "jobs/debugbuild.h"
#include "jobs/mainprogram.h"
#include "jobs/ui/callstackpanel.h"
#include "jobs/ui/pipelinehost.h"
#include "jobs/ui/variablespanel.h"
#include "jobs/ui/watchpanel.h"
#include "jobs/valuetip.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "platform/terminal.h"
#include "platform/terminalwindow.h"
#include "platform/text.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

constexpr int kTerminalTimeoutMs = 10000;

std::string NamePart(const std::string& path) {
  return platform::FileNameText(path.substr(path.rfind('/') + 1));
}

std::vector<int> MarkerLines(TStreakSynEdit* edit) {
  std::vector<int> lines;
  for (long line =
           edit->SendScintilla(QsciScintilla::SCI_MARKERNEXT, 0L, 1L << marks::kBreakpointMarker);
       line >= 0; line = edit->SendScintilla(QsciScintilla::SCI_MARKERNEXT, line + 1,
                                             1L << marks::kBreakpointMarker))
    lines.push_back(static_cast<int>(line) + 1);
  return lines;
}

}  // namespace

TDebugController::TDebugController(TPipelineHost& host, QObject* parent)
    : QObject(parent),
      host_(host),
      callStack_(new TCallStackPanel(host.Window())),
      variables_(new TVariablesPanel(host.Window())),
      watch_(new TWatchPanel(host.Window())) {
  breakpoints_ = TBreakpointList::FromText(ReadString(sidBreakpoints));
  OpenTerminal = [this](std::string& tty) {
    const std::string terminal = platform::FindTerminal();
    if (terminal.empty()) return false;
    terminal_ = std::make_unique<TTerminalWindow>();
    if (!terminal_->Open(terminal, kTerminalTimeoutMs)) return false;
    tty = terminal_->TtyName();
    return true;
  };
  connect(callStack_, &TCallStackPanel::FrameChosen, this, &TDebugController::ShowFrame);
  std::vector<std::string> watched;
  ReadObject(sidWatchExpressions, watched);
  watch_->SetExpressions(watched);
  connect(watch_, &TWatchPanel::ExpressionsChanged, this, &TDebugController::SaveWatch);
  session_.OnEvent = [this] {
    QMetaObject::invokeMethod(this, &TDebugController::DrainEvents, Qt::QueuedConnection);
  };
}

TDebugController::~TDebugController() {
  // The reader thread calls into this object: it ends before anything else goes.
  session_.OnEvent = nullptr;
  session_.Stop();
}

void TDebugController::Translate() {
  callStack_->Translate();
  variables_->Translate();
  watch_->Translate();
}

void TDebugController::Status(const std::string& text) {
  if (QLabel* panel = host_.ProcessPanel()) panel->setText(QString::fromStdString(text));
}

void TDebugController::Tell(const std::string& text, bool error) {
  Status(text);
  if (QPlainTextEdit* output = host_.OutputMemo())
    output->appendPlainText(QString::fromStdString(text));
  MessageDlgDef(text, error ? TMsgDlgType::Error : TMsgDlgType::Information, {TMsgDlgBtn::OK});
}

void TDebugController::Execute(TDebugCommand command) {
  TfrmEditor* editor = host_.Documents().Active();
  switch (command) {
    case TDebugCommand::Start:
    case TDebugCommand::Continue:
      if (Stopped())
        session_.Continue();
      else if (!Active() && !starting_)
        Start();
      break;
    case TDebugCommand::StepOver:
      if (Stopped()) session_.StepOver();
      break;
    case TDebugCommand::StepInto:
      if (Stopped()) session_.StepInto();
      break;
    case TDebugCommand::StepOut:
      if (Stopped()) session_.StepOut();
      break;
    case TDebugCommand::RunToCursor:
      if (Stopped() && editor && !editor->FileName().empty())
        session_.RunToLine(editor->FileName(), editor->CaretLine());
      break;
    case TDebugCommand::Pause:
      if (Running()) session_.Pause();
      break;
    case TDebugCommand::Stop:
      if (Active()) {
        userStop_ = true;
        session_.Stop();
      }
      break;
    case TDebugCommand::ToggleBreakpoint:
      if (editor) ToggleBreakpoint(editor, editor->CaretLine());
      break;
    case TDebugCommand::BreakpointCondition:
      EditCondition();
      break;
  }
  host_.UpdateActions();
}

// ---- breakpoints ----

void TDebugController::AttachEditor(TfrmEditor* editor) {
  if (!editor) return;
  TStreakSynEdit* edit = editor->SynEdit();
  QPointer<TfrmEditor> guard(editor);
  edit->HoverTip = [this, guard](long position) -> std::string {
    if (!guard || !Stopped()) return {};
    TStreakSynEdit* e = guard->SynEdit();
    const long line = e->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, position);
    const long start = e->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line);
    return ValueTip(FortranNameAt(guard->Line(static_cast<int>(line) + 1),
                                  static_cast<std::size_t>(position - start)));
  };
  // One connection per editor, or a click would toggle twice.
  if (!edit->property("debugGutter").toBool()) {
    edit->setProperty("debugGutter", true);
    connect(edit, &TStreakSynEdit::GutterClicked, this, [this, guard](int line) {
      if (guard) ToggleBreakpoint(guard, line + 1);
    });
  }
  ShowBreakpoints(editor);
}

void TDebugController::ShowBreakpoints(TfrmEditor* editor) {
  TStreakSynEdit* edit = editor->SynEdit();
  edit->SendScintilla(QsciScintilla::SCI_MARKERDELETEALL, marks::kBreakpointMarker);
  for (const TBreakpoint& b : breakpoints_.Of(editor->FileName()))
    edit->SendScintilla(QsciScintilla::SCI_MARKERADD, b.Line - 1, marks::kBreakpointMarker);
}

void TDebugController::SyncBreakpointsFromEditors() {
  // The editors moved the marks with the text: the lines they stand on now are the truth.
  for (TfrmEditor* editor : host_.Documents().Editors())
    if (!editor->FileName().empty())
      breakpoints_.MoveTo(editor->FileName(), MarkerLines(editor->SynEdit()));
}

void TDebugController::ToggleBreakpoint(TfrmEditor* editor, int line) {
  if (!editor || line < 1) return;
  SyncBreakpointsFromEditors();
  const std::string& file = editor->FileName();
  TStreakSynEdit* edit = editor->SynEdit();
  const long mask = edit->SendScintilla(QsciScintilla::SCI_MARKERGET, line - 1);
  const bool set = !(mask & (1L << marks::kBreakpointMarker));
  if (set)
    edit->SendScintilla(QsciScintilla::SCI_MARKERADD, line - 1, marks::kBreakpointMarker);
  else
    edit->SendScintilla(QsciScintilla::SCI_MARKERDELETE, line - 1, marks::kBreakpointMarker);
  edit->viewport()->update();
  if (file.empty()) return;
  if (breakpoints_.Find(file, line) == nullptr) {
    if (set) breakpoints_.Toggle(file, line);
  } else if (!set) {
    breakpoints_.Toggle(file, line);
  }
  if (Active()) {
    const auto key = std::make_pair(file, line);
    if (!set && gdbNumbers_.count(key)) {
      session_.DeleteBreakpoint(gdbNumbers_[key]);
      gdbNumbers_.erase(key);
    } else if (set) {
      const TBreakpointPlace place = session_.InsertBreakpoint(file, line);
      if (place.Number > 0) gdbNumbers_[{file, place.Line}] = place.Number;
      if (place.Number > 0 && place.Line != line) {
        // Shown where it landed: the first line with code.
        edit->SendScintilla(QsciScintilla::SCI_MARKERDELETE, line - 1, marks::kBreakpointMarker);
        edit->SendScintilla(QsciScintilla::SCI_MARKERADD, place.Line - 1, marks::kBreakpointMarker);
        breakpoints_.Toggle(file, line);
        if (!breakpoints_.Find(file, place.Line)) breakpoints_.Toggle(file, place.Line);
      }
    }
  }
  SaveBreakpoints();
}

void TDebugController::EditCondition() {
  TfrmEditor* editor = host_.Documents().Active();
  if (!editor || editor->FileName().empty()) return;
  SyncBreakpointsFromEditors();
  const int line = editor->CaretLine();
  if (!breakpoints_.Find(editor->FileName(), line)) ToggleBreakpoint(editor, line);
  TBreakpoint* b = breakpoints_.Find(editor->FileName(), line);
  if (!b) return;
  const std::string caption = StrText(TStr::strDebugBreakpoint);
  std::string condition = b->Condition;
  if (!Prompts() || !Prompts()->InputQuery(caption, StrText(TStr::strDebugCondition), condition))
    return;
  std::string count = std::to_string(b->IgnoreCount);
  if (!Prompts()->InputQuery(caption, StrText(TStr::strDebugIgnoreCount), count)) return;
  b = breakpoints_.Find(editor->FileName(), line);
  b->Condition = std::string(Trim(condition));
  try {
    b->IgnoreCount = std::max(0, std::stoi(count));
  } catch (...) {
    b->IgnoreCount = 0;
  }
  const auto key = std::make_pair(editor->FileName(), line);
  if (Active() && gdbNumbers_.count(key)) {
    session_.SetCondition(gdbNumbers_[key], b->Condition);
    session_.SetIgnoreCount(gdbNumbers_[key], b->IgnoreCount);
  }
  SaveBreakpoints();
}

void TDebugController::SaveBreakpoints() { WriteString(sidBreakpoints, breakpoints_.ToText()); }

void TDebugController::SaveWatch() {
  // The store refuses a longer list outright, which would keep an older one: the first
  // expressions that fit are kept instead.
  std::vector<std::string> list = watch_->Expressions();
  std::size_t bytes = 0, fit = 0;
  while (fit < list.size() && bytes + list[fit].size() + 2 <= MaxObjectSize)
    bytes += list[fit++].size() + 2;
  list.resize(fit);
  WriteObject(sidWatchExpressions, list);
}

void TDebugController::InsertBreakpoints() {
  gdbNumbers_.clear();
  for (const std::string& file : breakpoints_.Files()) {
    std::vector<int> landed;
    for (const TBreakpoint& b : breakpoints_.Of(file)) {
      const TBreakpointPlace place =
          session_.InsertBreakpoint(file, b.Line, b.Condition, b.IgnoreCount);
      const int line = place.Number > 0 ? place.Line : b.Line;
      if (place.Number > 0) gdbNumbers_[{file, line}] = place.Number;
      landed.push_back(line);
    }
    breakpoints_.MoveTo(file, landed);
    if (TfrmEditor* editor = host_.Documents().Find(file)) ShowBreakpoints(editor);
  }
}

// ---- the session ----

void TDebugController::Start() {
  TDocuments& documents = host_.Documents();
  TfrmEditor* active = documents.Active();
  if (!active) return;
  // The debugger reads the files: every open source is saved first.
  for (TfrmEditor* editor : documents.Editors())
    if (editor->Modified() || editor->FileName().empty())
      if (!documents.Save(editor) && editor == active) return;
  if (active->FileName().empty()) return;

  // One program: the main program's file and the open sources without one.
  std::string mainFile;
  std::vector<std::string> others;
  for (TfrmEditor* editor : documents.Editors()) {
    const std::string& file = editor->FileName();
    if (file.empty() || !IsFortranSourceName(file)) continue;
    std::string text, error;
    platform::ReadFileBytes(file, text, error);
    const bool main = HoldsMainProgram(text);
    if (main && (editor == active || mainFile.empty()))
      mainFile = file;
    else if (!main)
      others.push_back(file);
  }
  if (mainFile.empty()) mainFile = active->FileName();
  std::vector<std::string> sources{mainFile};
  for (const std::string& f : others)
    if (f != mainFile) sources.push_back(f);

  const std::string program = DebugProgramOf(platform::ProgramFileOf(mainFile));
  const std::string directory = mainFile.substr(0, mainFile.rfind('/'));
  const std::string compiler = Compiler.empty() ? ExtensionOf(sidCompilerExtension) : Compiler;
  const auto arguments = DebugCompileArguments(
      compiler, ReadString(sidAdditionalCompilerOptionsParameters), sources, program);
  starting_ = true;
  userStop_ = false;
  Status(StrText(TStr::strDebugCompiling));
  host_.UpdateActions();
  QPointer<TDebugController> self(this);
  std::thread([self, arguments, program, directory] {
    std::string output;
    const bool ok = CompileForDebugging(arguments, directory, output);
    QMetaObject::invokeMethod(
        qApp,
        [self, ok, output, program, directory] {
          if (self) self->Compiled(ok, output, program, directory);
        },
        Qt::QueuedConnection);
  }).detach();
}

void TDebugController::Compiled(bool ok, const std::string& output, const std::string& program,
                                const std::string& directory) {
  starting_ = false;
  if (QPlainTextEdit* memo = host_.OutputMemo()) memo->setPlainText(QString::fromStdString(output));
  if (!ok) {
    if (!output.empty() && host_.OutputWindow()) host_.OutputWindow()->show();
    const std::string compiler = Compiler.empty() ? ExtensionOf(sidCompilerExtension) : Compiler;
    Tell(output.empty() ? FormatText(TStr::strDebugNoCompiler, {platform::FileNameText(compiler)})
                        : StrText(TStr::strDebugCompileFailed),
         true);
    host_.UpdateActions();
    return;
  }
  std::string tty;
  if (!OpenTerminal || !OpenTerminal(tty)) {
    Tell(StrText(TStr::strDebugNoTerminal), true);
    host_.UpdateActions();
    return;
  }
  TGdbStart how;
  how.Gdb = Gdb.empty() ? ExtensionOf(sidDebuggerExtension) : Gdb;
  how.Program = program;
  how.WorkingDirectory = directory;
  how.Tty = tty;
  std::string detail;
  if (!session_.Start(how, detail)) {
    const TStr text = session_.Failure() == TGdbFailure::Missing      ? TStr::strDebugGdbMissing
                      : session_.Failure() == TGdbFailure::CannotLoad ? TStr::strDebugNoLoad
                                                                      : TStr::strDebugGdbNoStart;
    if (terminal_) terminal_->Close();
    Tell(FormatText(text, {detail}), true);
    host_.UpdateActions();
    return;
  }
  SyncBreakpointsFromEditors();
  InsertBreakpoints();
  SaveBreakpoints();
  stopped_ = false;
  QList<QDockWidget*> shown;
  bool allHidden = true;
  for (QDockWidget* dock : host_.Window()->findChildren<QDockWidget*>())
    if (dock->widget() == callStack_ || dock->widget() == variables_ || dock->widget() == watch_) {
      allHidden = allHidden && dock->isHidden();
      dock->show();
      shown.push_back(dock);
    }
  // Shown together for the first time, the Variables get most of the height.
  if (allHidden && shown.size() == 3) {
    QList<int> heights;
    for (QDockWidget* dock : shown) heights.push_back(dock->widget() == variables_ ? 3 : 1);
    host_.Window()->resizeDocks(shown, heights, Qt::Vertical);
  }
  Status(StrText(TStr::strDebugRunning));
  session_.Run();
  host_.UpdateActions();
}

void TDebugController::DrainEvents() {
  TDebugEvent event;
  while (session_.NextEvent(event, 0)) {
    switch (event.Kind) {
      case TDebugEvent::Running:
        stopped_ = false;
        ClearCurrentLine();
        Status(StrText(TStr::strDebugRunning));
        break;
      case TDebugEvent::Stopped:
        stopped_ = true;
        ShowStop(event);
        break;
      case TDebugEvent::Exited:
        End(FormatText(TStr::strDebugExited, {std::to_string(event.ExitCode)}), false);
        return;
      case TDebugEvent::GdbEnded:
        End(StrText(userStop_ ? TStr::strDebugUserStop : TStr::strDebugGdbEnded), !userStop_);
        return;
    }
  }
  host_.UpdateActions();
}

void TDebugController::ShowStop(TDebugEvent event) {
  session_.SelectUserFrame(event);
  frame_ = event.Frame;
  if (event.Reason == "signal-received" && event.SignalName != "SIGINT") {
    Tell(FormatText(TStr::strDebugSignal, {event.SignalName, event.SignalMeaning,
                                           NamePart(event.File), std::to_string(event.Line)}),
         true);
  } else if (event.Reason == "runtime-error") {
    Tell(FormatText(TStr::strDebugRuntimeError, {NamePart(event.File), std::to_string(event.Line)}),
         true);
  } else {
    Status(FormatText(TStr::strDebugStoppedAt, {NamePart(event.File), std::to_string(event.Line)}));
  }
  callStack_->ShowFrames(session_.Frames(), frame_);
  ShowFrame(frame_);
}

void TDebugController::ShowFrame(int level) {
  if (!Stopped()) return;
  frame_ = level;
  for (const TStackFrame& f : callStack_->Frames())
    if (f.Level == level && !f.File.empty()) MarkCurrentLine(f.File, f.Line);
  variables_->ShowVariables(session_.Variables(level),
                            [this, level](TDebugVariable& parent, long from, long count) {
                              return session_.Children(parent, level, from, count);
                            });
  watch_->Refresh([this, level](const std::string& expression, std::string& value) {
    return session_.Evaluate(expression, level, value);
  });
  host_.UpdateActions();
  emit PanelsUpdated();
}

std::string TDebugController::ValueTip(const std::string& name) {
  if (!Stopped() || name.empty()) return {};
  std::string value;
  return session_.Evaluate(name, frame_, value) ? name + " = " + value : std::string();
}

void TDebugController::MarkCurrentLine(const std::string& file, int line) {
  ClearCurrentLine();
  // Opens the file, or brings its window to the front.
  TfrmEditor* editor = host_.Documents().Open(file);
  if (!editor) return;
  currentEditor_ = editor;
  TStreakSynEdit* edit = editor->SynEdit();
  edit->SendScintilla(QsciScintilla::SCI_MARKERADD, line - 1, marks::kDebugLineMarker);
  editor->SetCaret(line, 1);
  editor->EnsureCaretVisible();
  edit->viewport()->update();
}

void TDebugController::ClearCurrentLine() {
  if (!currentEditor_) return;
  currentEditor_->SynEdit()->SendScintilla(QsciScintilla::SCI_MARKERDELETEALL,
                                           marks::kDebugLineMarker);
  currentEditor_->SynEdit()->viewport()->update();
  currentEditor_ = nullptr;
}

void TDebugController::End(const std::string& message, bool alert) {
  session_.Stop();
  // What gdb's end queued after this one tells nothing new.
  for (TDebugEvent rest; session_.NextEvent(rest, 0);) {
  }
  stopped_ = false;
  gdbNumbers_.clear();
  ClearCurrentLine();
  callStack_->ShowFrames({}, -1);
  variables_->ClearVariables();
  watch_->Refresh(nullptr);
  // The window stays after a normal end so its output can be read; a user's stop closes it.
  if (userStop_ && terminal_) terminal_->Close();
  if (alert)
    Tell(message, true);
  else if (userStop_)
    Status(message);
  else
    Tell(message, false);
  userStop_ = false;
  host_.UpdateActions();
  emit Ended(QString::fromStdString(message));
}

}  // namespace vortan
