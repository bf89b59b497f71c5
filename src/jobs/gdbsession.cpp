#include "jobs/gdbsession.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/terminal.h"
#include "platform/text.h"

namespace vortan {

namespace {

// gdb's own functions a Fortran run-time error ends in (a subscript out of bounds under
// -fcheck=bounds, for one): stopping there keeps the program alive at the faulty line.
const char* const kRuntimeErrorFunctions[] = {"_gfortran_runtime_error_at",
                                              "_gfortran_runtime_error"};

int ToInt(const std::string& text, int base = 10) {
  if (text.empty()) return 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, base);
  return end && *end == '\0' ? static_cast<int>(value) : 0;
}

TStackFrame FrameOf(const TMiValue& frame) {
  TStackFrame f;
  f.Level = ToInt(frame.Str("level"));
  f.Routine = RoutineName(frame.Str("func"));
  f.File = frame.Str("fullname");
  f.Line = ToInt(frame.Str("line"));
  return f;
}

// "info common": "Contents of F77 COMMON block 'blk':" then one "name = value" per member.
std::map<std::string, std::string> CommonMembers(const std::string& console) {
  static const std::string kHead = "Contents of F77 COMMON block '";
  std::map<std::string, std::string> blockOf;
  std::string block;
  std::size_t start = 0;
  while (start < console.size()) {
    std::size_t end = console.find('\n', start);
    if (end == std::string::npos) end = console.size();
    const std::string line = console.substr(start, end - start);
    start = end + 1;
    if (line.rfind(kHead, 0) == 0) {
      const auto close = line.find('\'', kHead.size());
      block = UpperAscii(line.substr(kHead.size(), close - kHead.size()));
    } else if (!block.empty()) {
      const auto eq = line.find(" = ");
      if (eq != std::string::npos) blockOf[LowerAscii(line.substr(0, eq))] = block;
    }
  }
  return blockOf;
}

TDebugVariable VariableOf(const std::string& name, const std::string& type,
                          const std::string& value) {
  TDebugVariable v;
  v.Name = UpperAscii(name);
  v.Expression = name;
  v.Type = ParseFortranType(type);
  if (v.Type.IsArray())
    v.Children = v.Type.Bounds.back().second - v.Type.Bounds.back().first + 1;
  else
    v.Value = FortranValueText(value);
  return v;
}

}  // namespace

TGdbSession::~TGdbSession() { Stop(); }

bool TGdbSession::Start(const TGdbStart& how, std::string& detail) {
  Stop();
  failure_ = TGdbFailure::None;
  const std::string gdb = platform::FindExecutable(how.Gdb);
  if (gdb.empty()) {
    failure_ = TGdbFailure::Missing;
    detail = how.Gdb;
    return false;
  }
  TChildStart start;
  start.Arguments = {gdb, "--interpreter=mi2", "-q", "-nx"};
  start.WorkingDirectory = how.WorkingDirectory;
  start.Envp = how.Envp;
  if (!gdb_.Start(start)) {
    failure_ = TGdbFailure::CannotStart;
    detail = gdb;
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    ended_ = false;
    state_ = TDebugState::Idle;
    events_.clear();
    answers_.clear();
  }
  reader_ = std::thread([this] { ReadLoop(); });

  for (const char* setting :
       {"-gdb-set mi-async on", "-gdb-set confirm off", "-gdb-set pagination off",
        "-gdb-set startup-with-shell off", "-gdb-set width 0", "-gdb-set breakpoint pending on"}) {
    if (Command(setting).Type != TMiRecord::Result) {
      failure_ = TGdbFailure::NoAnswer;
      detail = gdb;
      Stop();
      return false;
    }
  }
  const TMiRecord load = Command("-file-exec-and-symbols " + MiQuote(how.Program));
  if (load.Class != "done") {
    failure_ = TGdbFailure::CannotLoad;
    detail = load.Results.Str("msg").empty() ? how.Program : load.Results.Str("msg");
    Stop();
    return false;
  }
  // Only after the program: its own language would otherwise take over again.
  Command("-gdb-set language fortran");
  if (!how.Tty.empty()) Command("-inferior-tty-set " + MiQuote(how.Tty));
  runtimeErrorBreaks_.clear();
  for (const char* function : kRuntimeErrorFunctions) {
    const TMiRecord r = Command(std::string("-break-insert -f ") + function);
    if (r.Class == "done") runtimeErrorBreaks_.push_back(ToInt(r.Results["bkpt"].Str("number")));
  }
  return true;
}

bool TGdbSession::Active() const {
  std::lock_guard lock(mutex_);
  return !ended_;
}

TDebugState TGdbSession::State() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void TGdbSession::ReadLoop() {
  std::string pending;
  std::string chunk;
  while (gdb_.Read(chunk)) {
    pending += chunk;
    chunk.clear();
    std::size_t start = 0;
    for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
      Handle(ParseMiRecord(std::string_view(pending).substr(start, end - start)));
    pending.erase(0, start);
  }
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
    state_ = TDebugState::Idle;
  }
  changed_.notify_all();
  TDebugEvent event;
  event.Kind = TDebugEvent::GdbEnded;
  Queue(event);
}

void TGdbSession::Handle(const TMiRecord& record) {
  switch (record.Type) {
    case TMiRecord::Result: {
      std::lock_guard lock(mutex_);
      if (record.Token >= 0 && record.Token == waitingToken_) answers_[record.Token] = record;
      break;
    }
    case TMiRecord::Console: {
      std::lock_guard lock(mutex_);
      if (waitingToken_ >= 0) waitingConsole_ += record.Results.Text;
      return;
    }
    case TMiRecord::ExecAsync: {
      TDebugEvent event;
      if (record.Class == "running") {
        {
          std::lock_guard lock(mutex_);
          state_ = TDebugState::Running;
        }
        event.Kind = TDebugEvent::Running;
        Queue(event);
        break;
      }
      if (record.Class != "stopped") break;
      const TMiValue& r = record.Results;
      event.Reason = r.Str("reason");
      const bool exited = event.Reason.rfind("exited", 0) == 0;
      event.Kind = exited ? TDebugEvent::Exited : TDebugEvent::Stopped;
      // gdb writes the exit code in octal ("01").
      event.ExitCode = ToInt(r.Str("exit-code"), 8);
      event.SignalName = r.Str("signal-name");
      event.SignalMeaning = r.Str("signal-meaning");
      event.Breakpoint = ToInt(r.Str("bkptno"));
      const TStackFrame frame = FrameOf(r["frame"]);
      event.File = frame.File;
      event.Line = frame.Line;
      event.Routine = frame.Routine;
      {
        std::lock_guard lock(mutex_);
        state_ = exited ? TDebugState::Exited : TDebugState::Stopped;
        for (const int number : runtimeErrorBreaks_)
          if (event.Reason == "breakpoint-hit" && event.Breakpoint == number)
            event.Reason = "runtime-error";
      }
      Queue(event);
      break;
    }
    default:
      return;
  }
  changed_.notify_all();
}

void TGdbSession::Queue(TDebugEvent event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  changed_.notify_all();
  if (OnEvent) OnEvent();
}

bool TGdbSession::NextEvent(TDebugEvent& event, int timeoutMs) {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [this] { return !events_.empty(); }))
    return false;
  event = std::move(events_.front());
  events_.pop_front();
  return true;
}

TMiRecord TGdbSession::Command(const std::string& command, std::string* console, int timeoutMs) {
  std::lock_guard commandLock(commandMutex_);
  long token;
  {
    std::lock_guard lock(mutex_);
    if (ended_) return {};
    token = nextToken_++;
    waitingToken_ = token;
    waitingConsole_.clear();
  }
  TMiRecord answer;
  if (gdb_.Write(std::to_string(token) + command + "\n")) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return ended_ || answers_.count(token) > 0; });
    auto found = answers_.find(token);
    if (found != answers_.end()) {
      answer = std::move(found->second);
      answers_.erase(found);
    }
  }
  std::lock_guard lock(mutex_);
  waitingToken_ = -1;
  if (console) *console = std::move(waitingConsole_);
  waitingConsole_.clear();
  return answer;
}

TBreakpointPlace TGdbSession::InsertBreakpoint(const std::string& file, int line,
                                               const std::string& condition, int ignoreCount,
                                               bool temporary) {
  std::string command = "-break-insert -f";
  if (temporary) command += " -t";
  if (!condition.empty()) command += " -c " + MiQuote(condition);
  if (ignoreCount > 0) command += " -i " + std::to_string(ignoreCount);
  command += " " + MiQuote(file + ":" + std::to_string(line));
  const TMiRecord r = Command(command);
  TBreakpointPlace place;
  if (r.Class != "done") {
    place.Error = r.Results.Str("msg");
    return place;
  }
  const TMiValue& bkpt = r.Results["bkpt"];
  place.Number = ToInt(bkpt.Str("number"));
  place.File = bkpt.Str("fullname");
  place.Line = ToInt(bkpt.Str("line"));
  // A breakpoint with several places lists them below it; the first is where it stops first.
  if (place.Line == 0 && bkpt.Has("locations")) {
    const auto& items = bkpt["locations"].Items;
    if (!items.empty()) {
      place.File = items.front().second.Str("fullname");
      place.Line = ToInt(items.front().second.Str("line"));
    }
  }
  if (place.File.empty()) place.File = file;
  if (place.Line == 0) place.Line = line;
  return place;
}

bool TGdbSession::DeleteBreakpoint(int number) {
  return Command("-break-delete " + std::to_string(number)).Class == "done";
}

bool TGdbSession::SetCondition(int number, const std::string& condition) {
  std::string command = "-break-condition " + std::to_string(number);
  if (!condition.empty()) command += " " + condition;
  return Command(command).Class == "done";
}

bool TGdbSession::SetIgnoreCount(int number, int count) {
  return Command("-break-after " + std::to_string(number) + " " + std::to_string(count)).Class ==
         "done";
}

bool TGdbSession::Exec(const std::string& command) {
  const TMiRecord r = Command(command);
  return r.Class == "running" || r.Class == "done";
}

bool TGdbSession::Run() { return Exec("-exec-run"); }
bool TGdbSession::Continue() { return Exec("-exec-continue"); }
// A step is the innermost frame's, whichever frame the user looked at last: gdb would step
// or finish the selected one.
bool TGdbSession::StepOver() { return SelectFrame(0) && Exec("-exec-next"); }
bool TGdbSession::StepInto() { return SelectFrame(0) && Exec("-exec-step"); }
bool TGdbSession::StepOut() { return SelectFrame(0) && Exec("-exec-finish"); }
bool TGdbSession::Pause() { return Exec("-exec-interrupt"); }

bool TGdbSession::RunToLine(const std::string& file, int line) {
  if (InsertBreakpoint(file, line, {}, 0, true).Number == 0) return false;
  return Continue();
}

void TGdbSession::Stop() {
  if (Active()) {
    // gdb ends the program it runs when it exits itself.
    Command("-gdb-exit", nullptr, 2000);
    if (!gdb_.Wait(2000)) gdb_.Kill();
  }
  if (reader_.joinable()) reader_.join();
  if (!gdb_.Ended()) {
    gdb_.Kill();
    gdb_.Wait(-1);
  }
  varObjects_.clear();
}

void TGdbSession::SelectUserFrame(TDebugEvent& event) {
  if (event.Kind != TDebugEvent::Stopped) return;
  if (!event.File.empty() && event.Reason != "runtime-error") return;
  for (const TStackFrame& frame : Frames()) {
    if (frame.File.empty()) continue;
    SelectFrame(frame.Level);
    event.File = frame.File;
    event.Line = frame.Line;
    event.Routine = frame.Routine;
    event.Frame = frame.Level;
    return;
  }
}

std::vector<TStackFrame> TGdbSession::Frames() {
  std::vector<TStackFrame> frames;
  const TMiRecord r = Command("-stack-list-frames");
  for (const auto& item : r.Results["stack"].Items) frames.push_back(FrameOf(item.second));
  return frames;
}

bool TGdbSession::SelectFrame(int level) {
  return Command("-stack-select-frame " + std::to_string(level)).Class == "done";
}

void TGdbSession::DropVarObjects() {
  for (const std::string& name : varObjects_) Command("-var-delete " + name);
  varObjects_.clear();
}

std::vector<TDebugVariable> TGdbSession::Variables(int level) {
  DropVarObjects();
  std::vector<TDebugVariable> variables;
  if (!SelectFrame(level)) return variables;
  const TMiRecord r = Command("-stack-list-variables --simple-values");
  for (const auto& item : r.Results["variables"].Items) {
    const TMiValue& v = item.second;
    TDebugVariable variable = VariableOf(v.Str("name"), v.Str("type"), v.Str("value"));
    variable.Argument = v.Str("arg") == "1";
    variables.push_back(std::move(variable));
  }
  std::string console;
  Command("-interpreter-exec console \"info common\"", &console);
  const auto blockOf = CommonMembers(console);
  for (const auto& [member, block] : blockOf) {
    bool listed = false;
    for (TDebugVariable& v : variables)
      if (LowerAscii(v.Expression) == member) {
        v.Common = block;
        listed = true;
      }
    if (listed) continue;
    // A member the frame's locals do not list is read by its name.
    const TMiRecord m = Command("-var-create - * " + MiQuote(member));
    if (m.Class != "done") continue;
    varObjects_.push_back(m.Results.Str("name"));
    TDebugVariable variable = VariableOf(member, m.Results.Str("type"), m.Results.Str("value"));
    variable.Common = block;
    variables.push_back(std::move(variable));
  }
  return variables;
}

std::vector<TDebugVariable> TGdbSession::Children(TDebugVariable& parent, int level, long from,
                                                  long count) {
  std::vector<TDebugVariable> children;
  if (!parent.Type.IsArray() || count <= 0 || !SelectFrame(level)) return children;
  // gdb makes every child of a var-object when asked for a range of them, which takes
  // seconds for a million elements: a page is read through a section of its own instead.
  const std::size_t rank = parent.Fixed.size() + parent.Type.Bounds.size();
  const std::size_t dim = rank - 1 - parent.Fixed.size();
  const auto [low, high] = parent.Type.Bounds.back();
  const long first = low + from;
  const long last = std::min<long>(high, first + count - 1);
  if (first > last) return children;
  const std::string root = parent.Name.substr(0, parent.Name.find('('));
  const std::string rootExpression = parent.Expression.substr(0, parent.Expression.find('('));
  std::string section = rootExpression + "(";
  for (std::size_t i = 0; i < rank; ++i) {
    if (i) section += ',';
    if (i < dim)
      section += ':';
    else if (i == dim)
      section += std::to_string(first) + ':' + std::to_string(last);
    else
      section += std::to_string(parent.Fixed[rank - 1 - i]);
  }
  section += ')';
  const TMiRecord made = Command("-var-create - * " + MiQuote(section));
  if (made.Class != "done") return children;
  const std::string var = made.Results.Str("name");
  varObjects_.push_back(var);
  const TMiRecord r = Command("-var-list-children --all-values " + var);
  long index = first;
  for (const auto& item : r.Results["children"].Items) {
    const TMiValue& c = item.second;
    TDebugVariable child;
    child.Fixed = parent.Fixed;
    child.Fixed.push_back(index++);
    child.Name = SubscriptText(root, rank, child.Fixed);
    child.Expression = SubscriptText(rootExpression, rank, child.Fixed);
    child.Type = ParseFortranType(c.Str("type"));
    child.VarObject = c.Str("name");
    child.Children = ToInt(c.Str("numchild"));
    child.Common = parent.Common;
    if (!child.Type.IsArray()) child.Value = FortranValueText(c.Str("value"));
    children.push_back(std::move(child));
  }
  return children;
}

bool TGdbSession::Evaluate(const std::string& expression, int level, std::string& value) {
  if (!SelectFrame(level)) {
    value = "No frame.";
    return false;
  }
  const TMiRecord r = Command("-data-evaluate-expression " + MiQuote(expression));
  if (r.Class != "done") {
    value = r.Type == TMiRecord::Invalid ? std::string("No answer.") : r.Results.Str("msg");
    return false;
  }
  value = FortranValueText(r.Results.Str("value"));
  return true;
}

}  // namespace vortan
