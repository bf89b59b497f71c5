#pragma once
// The debugger inside the IDE: builds the program for debugging, runs it under gdb with its
// own terminal window, keeps the breakpoints of every file, marks the line the program stands
// on, and fills the Call Stack, Variables and Watch panels whenever the program stops. The
// watched expressions are kept in the store from one session to the next.

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "jobs/breakpointlist.h"
#include "jobs/gdbsession.h"

namespace vortan {

class TCallStackPanel;
class TfrmEditor;
class TPipelineHost;
class TTerminalWindow;
class TVariablesPanel;
class TWatchPanel;

/// The commands, in the order of their rows' numbers.
enum class TDebugCommand {
  Start,
  Continue,
  StepOver,
  StepInto,
  StepOut,
  RunToCursor,
  Pause,
  Stop,
  ToggleBreakpoint,
  BreakpointCondition,
};

class TDebugController : public QObject {
  Q_OBJECT
 public:
  explicit TDebugController(TPipelineHost& host, QObject* parent = nullptr);
  ~TDebugController() override;

  /// Opens the terminal the program runs in and gives its device name; false when none can
  /// be opened. The program's own terminal window unless replaced (tests give a pseudo
  /// terminal of their own).
  std::function<bool(std::string& tty)> OpenTerminal;
  /// The debugger; empty takes the installation's (Debugger extension).
  std::string Gdb;
  /// The compiler; empty takes the installation's (Compiler extension).
  std::string Compiler;

  void Execute(TDebugCommand command);
  bool Active() const { return session_.Active(); }
  bool Stopped() const { return Active() && stopped_; }
  bool Running() const { return Active() && !stopped_; }

  TCallStackPanel* CallStack() const { return callStack_; }
  TVariablesPanel* Variables() const { return variables_; }
  TWatchPanel* Watch() const { return watch_; }
  TGdbSession& Session() { return session_; }
  TBreakpointList& Breakpoints() { return breakpoints_; }

  /// Shows the editor's stored breakpoints and lets a gutter click set them.
  void AttachEditor(TfrmEditor* editor);
  /// Sets or clears the breakpoint on a 1-based line.
  void ToggleBreakpoint(TfrmEditor* editor, int line);
  /// The value of a name while the program waits, for the tip over it; empty otherwise.
  std::string ValueTip(const std::string& name);
  void Translate();

 signals:
  /// The program stopped and the panels show where (tests and benchmarks wait for it).
  void PanelsUpdated();
  /// The session ended; `message` says how.
  void Ended(const QString& message);

 private:
  void Start();
  void Compiled(bool ok, const std::string& output, const std::string& program,
                const std::string& directory);
  void DrainEvents();
  void ShowStop(TDebugEvent event);
  void ShowFrame(int level);
  void End(const std::string& message, bool alert);
  void ClearCurrentLine();
  void MarkCurrentLine(const std::string& file, int line);
  void SyncBreakpointsFromEditors();
  void ShowBreakpoints(TfrmEditor* editor);
  void InsertBreakpoints();
  void EditCondition();
  void SaveBreakpoints();
  void SaveWatch();
  void Status(const std::string& text);
  void Tell(const std::string& text, bool error);

  TPipelineHost& host_;
  TGdbSession session_;
  std::unique_ptr<TTerminalWindow> terminal_;
  TBreakpointList breakpoints_;
  /// gdb's number of each breakpoint set in this session, by file and line.
  std::map<std::pair<std::string, int>, int> gdbNumbers_;
  TCallStackPanel* callStack_;
  TVariablesPanel* variables_;
  TWatchPanel* watch_;
  QPointer<TfrmEditor> currentEditor_;
  int frame_ = 0;
  bool stopped_ = false;
  bool starting_ = false;
  bool userStop_ = false;
};

}  // namespace vortan
