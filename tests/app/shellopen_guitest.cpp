// Opening sources from the desktop: with the .f association in a temporary home, the desktop's
// own openers (xdg-open, gio open) hand files to the running IDE, which comes in front of
// other windows; a second request for the same file starts no second program. The IDE is the
// real executable on the X display. What it does is read from outside: from the X server its
// top-level windows (by process id) and their stacking order, and from its settings the
// reopen history it writes when it closes, which names every file it opened.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/stringtable.h"
#include "system/shellintegration.h"
#include "support/tempdir.h"

#ifdef VORTAN_TEST_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#endif

namespace fs = std::filesystem;

namespace vortan {
namespace {

bool HasTool(const char* name) {
  return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

std::map<std::string, std::string> Snapshot(const std::string& dir, const std::string& skip) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().string().rfind(skip, 0) == 0) continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    files[e.path().string()] = s.str();
  }
  return files;
}

// A desktop session of its own: every per-user XDG directory inside a temporary home, for
// this process and for the programs it starts. The system's data directories stay, for the
// MIME database.
class ShellHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(home_.MakeDir("run").c_str(), 0700);
    const std::map<std::string, std::string> vars = {
        {"HOME", home_.Path()},
        {"XDG_DATA_HOME", home_ / "data"},
        {"XDG_CONFIG_HOME", home_ / "config"},
        {"XDG_CACHE_HOME", home_ / "cache"},
        {"XDG_STATE_HOME", home_ / "state"},
        {"XDG_CONFIG_DIRS", home_ / "etc-xdg"},
        {"XDG_RUNTIME_DIR", home_ / "run"},
        {"XDG_DATA_DIRS", "/usr/local/share:/usr/share"},
        // No session bus: nothing may start one on our behalf.
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home_ / "no-bus"},
    };
    for (const auto& [name, value] : vars) Set(name, value);
    // A bare X server: no desktop is named, so xdg-open uses its generic way.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION", "VORTAN_STORE"})
      Set(name, std::nullopt);

    // Start quietly: no splash, no tool-chain question.
    TSettingsStore store;
    ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
    store.WriteBool(sidShowSplashScreen, false);
    store.WriteBool(sidInstallFileMissing, false);
    store.Close();
  }
  void TearDown() override {
    if (ide_.state() != QProcess::NotRunning) {
      ide_.kill();
      ide_.waitForFinished(5000);
    }
    for (const auto& [name, value] : saved_) {
      if (value)
        qputenv(name.c_str(), QByteArray::fromStdString(*value));
      else
        qunsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, std::optional<std::string> value) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name.c_str())
                                  ? std::optional<std::string>(qgetenv(name.c_str()).toStdString())
                                  : std::nullopt);
    if (value)
      qputenv(name.c_str(), QByteArray::fromStdString(*value));
    else
      qunsetenv(name.c_str());
  }

  void StartIde(const QStringList& args = {}) {
    ide_.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    ide_.setWorkingDirectory(QString::fromStdString(home_.Path()));
    ide_.start(Exe(), args);
    ASSERT_TRUE(ide_.waitForStarted(5000));
  }
  /// Runs an opener (xdg-open, gio) in the home directory and waits for it.
  void RunOpener(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    p.setWorkingDirectory(QString::fromStdString(home_.Path()));
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    ASSERT_TRUE(p.waitForFinished(20000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAll().toStdString();
  }
  static QString Exe() { return QStringLiteral(VORTAN_INSTALL_TREE "/vortan"); }
  void Associate(const std::string& exe) {
    AssociateExtension(exe, ".f", "Vortan2.File", true, 1, "Vortan2DDE", "Vortan 2.0 Source File");
  }

  test::TTempDir home_;
  QProcess ide_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

#ifdef VORTAN_TEST_X11

// The top-level windows of the display, read without a window manager in between.
class TDisplay {
 public:
  TDisplay() : display_(XOpenDisplay(nullptr)) {
    // Windows of other programs may vanish between two requests; such errors only mean
    // "no such window" here, not the end of the process.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~TDisplay() {
    if (!display_) return;
    if (cover_) XDestroyWindow(display_, cover_);
    XCloseDisplay(display_);
  }
  bool Open() const { return display_ != nullptr; }

  struct TWindow {
    Window Id;
    std::string Title;
    long Pid;
  };
  /// Mapped top-level windows, bottom first.
  std::vector<TWindow> TopLevels() {
    XSync(display_, 0);
    std::vector<TWindow> result;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
      return result;
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes a;
      if (XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable)
        result.push_back({children[i], Title(children[i]), Pid(children[i])});
    }
    if (children) XFree(children);
    return result;
  }
  /// The main windows of the program with that process id (other tests may share the
  /// display): titles beginning with the application title.
  std::vector<TWindow> IdeWindows(long pid) {
    std::vector<TWindow> ide;
    for (const TWindow& w : TopLevels())
      if (w.Pid == pid && w.Title.rfind("Vortan 2.0", 0) == 0) ide.push_back(w);
    return ide;
  }
  Window WindowTitled(long pid, const std::string& title) {
    for (const TWindow& w : TopLevels())
      if (w.Pid == pid && w.Title == title) return w.Id;
    return 0;
  }
  /// Presses and releases Return in the window, as the user at the keyboard would.
  void PressReturn(Window w) {
    for (int type : {KeyPress, KeyRelease}) {
      XEvent e{};
      e.xkey.type = type;
      e.xkey.display = display_;
      e.xkey.window = w;
      e.xkey.root = DefaultRootWindow(display_);
      e.xkey.time = CurrentTime;
      e.xkey.same_screen = 1;
      e.xkey.keycode = XKeysymToKeycode(display_, XK_Return);
      XSendEvent(display_, w, 1, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
    }
    XSync(display_, 0);
  }
  /// The top-level windows and the focus, for failure messages.
  std::string Describe() {
    std::string text = "windows, bottom first:";
    for (const TWindow& w : TopLevels()) text += " [" + std::to_string(w.Id) + " " + w.Title + "]";
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return text + "; focus " + std::to_string(focus) + "; cover " + std::to_string(cover_);
  }
  /// True when `w` is above the cover window.
  bool InFront(Window w) {
    const std::vector<TWindow> all = TopLevels();
    int ide = -1, cover = -1;
    for (int i = 0; i < int(all.size()); ++i) {
      if (all[i].Id == w) ide = i;
      if (all[i].Id == cover_) cover = i;
    }
    return ide > cover;
  }
  /// Puts a full-screen window of our own on top and gives it the focus, so that only a
  /// request that raises the IDE brings it back. (Without a window manager the X server may
  /// refuse the IDE's later focus request by its timestamp, so the focus is not judged.)
  void Cover() {
    if (!cover_) {
      const int s = DefaultScreen(display_);
      cover_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0,
                                   DisplayWidth(display_, s), DisplayHeight(display_, s), 0, 0,
                                   WhitePixel(display_, s));
      XStoreName(display_, cover_, "cover");
    }
    XMapRaised(display_, cover_);
    XSync(display_, 0);
    (void)QTest::qWaitFor([&] { return Viewable(cover_); }, 2000);
    XSetInputFocus(display_, cover_, RevertToParent, CurrentTime);
    XRaiseWindow(display_, cover_);
    XSync(display_, 0);
  }
  /// Returns once the window's program has answered `rounds` window-manager pings in turn,
  /// that is, has run its event loop past everything that had reached it before.
  bool Drain(Window w, int rounds = 3) {
    const Atom protocols = XInternAtom(display_, "WM_PROTOCOLS", 0);
    const Atom ping = XInternAtom(display_, "_NET_WM_PING", 0);
    const Window root = DefaultRootWindow(display_);
    // Answers come back on the root window.
    XSelectInput(display_, root, StructureNotifyMask | SubstructureNotifyMask);
    for (int round = 0; round < rounds; ++round) {
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = w;
      e.xclient.message_type = protocols;
      e.xclient.format = 32;
      e.xclient.data.l[0] = long(ping);
      e.xclient.data.l[1] = ++pings_;
      e.xclient.data.l[2] = long(w);
      XSendEvent(display_, w, 0, NoEventMask, &e);
      XSync(display_, 0);
      const bool answered = QTest::qWaitFor([&] {
        while (XPending(display_)) {
          XEvent r;
          XNextEvent(display_, &r);
          if (r.type == ClientMessage && r.xclient.message_type == protocols &&
              Atom(r.xclient.data.l[0]) == ping && r.xclient.data.l[1] == pings_)
            return true;
        }
        return false;
      }, 5000);
      if (!answered) return false;
    }
    return true;
  }
  /// Asks the window to close, as a window manager's close button does.
  void Close(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", 0);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", 0));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, w, 0, NoEventMask, &e);
    XSync(display_, 0);
  }

 private:
  bool Viewable(Window w) {
    XWindowAttributes a;
    return XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable;
  }
  long Pid(Window w) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display_, w, XInternAtom(display_, "_NET_WM_PID", 0), 0, 1, 0,
                           XA_CARDINAL, &type, &format, &items, &after, &data) == Success &&
        data) {
      if (items == 1 && format == 32) pid = *reinterpret_cast<long*>(data);
      XFree(data);
    }
    return pid;
  }
  std::string Title(Window w) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display_, w, XInternAtom(display_, "_NET_WM_NAME", 0), 0, 1024, 0,
                           XInternAtom(display_, "UTF8_STRING", 0), &type, &format, &items,
                           &after, &data) == Success &&
        data) {
      title.assign(reinterpret_cast<char*>(data), items);
      XFree(data);
    } else if (char* name = nullptr; XFetchName(display_, w, &name) && name) {
      title = name;
      XFree(name);
    }
    return title;
  }

  Display* display_;
  Window cover_ = 0;
  long pings_ = 0;
};

// The IDE on the X display, seen through the X server.
class ShellOpenTest : public ShellHomeTest {
 protected:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
    if (!display_.Open()) GTEST_SKIP() << "the X display cannot be opened";
    ShellHomeTest::SetUp();
    Set("QT_QPA_PLATFORM", "xcb");
  }

  /// The IDE's single main window, once it shows.
  Window MainWindow() {
    Window found = 0;
    (void)QTest::qWaitFor([&] {
      auto ide = display_.IdeWindows(ide_.processId());
      if (ide.size() == 1) found = ide[0].Id;
      return found != 0;
    }, 20000);
    return found;
  }
  /// Waits until the IDE's one window is in front.
  ::testing::AssertionResult ComesToFront(Window main) {
    if (QTest::qWaitFor([&] {
          auto ide = display_.IdeWindows(ide_.processId());
          return ide.size() == 1 && ide[0].Id == main && display_.InFront(main);
        }, 10000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "main window " << main << "; " << display_.Describe();
  }

  /// Launches of the program in this session besides the running instance: the openers'
  /// second launches that forward a file.
  int Forwarders() {
    std::error_code ec;
    const fs::path exe = fs::canonical(Exe().toStdString(), ec);
    const std::string session = "XDG_RUNTIME_DIR=" + home_ / "run";
    int count = 0;
    for (const auto& e : fs::directory_iterator("/proc", ec)) {
      const std::string pid = e.path().filename().string();
      if (pid.find_first_not_of("0123456789") != std::string::npos || std::stoll(pid) == ide_.processId())
        continue;
      std::error_code gone;
      if (fs::read_symlink(e.path() / "exe", gone) != exe) continue;
      std::ifstream environ(e.path() / "environ", std::ios::binary);
      for (std::string var; std::getline(environ, var, '\0');)
        if (var == session) ++count;
    }
    return count;
  }

  TDisplay display_;
};

TEST_F(ShellOpenTest, StartUpAsksWhileAnotherProgramIsTheDefaultAndYesTakesItOver) {
  home_.Write("config/mimeapps.list", "[Default Applications]\ntext/x-fortran=emacs.desktop;\n");
  StartIde();
  const std::string confirm = Str(TStr::MsgDlgConfirm);
  Window question = 0;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return (question = display_.WindowTitled(ide_.processId(), confirm)) != 0;
  }, 20000));
  EXPECT_FALSE(IsExtensionAssociated(".f", "Vortan2.File"));
  display_.PressReturn(question);  // Yes is the default button
  ASSERT_NE(MainWindow(), 0u);
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  std::ifstream entry(home_ / "data/applications/Vortan2.File.desktop");
  std::string line, exec;
  while (std::getline(entry, line))
    if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
  EXPECT_EQ(exec, Exe().toStdString() + " %F");

  // Associated now: the next start asks nothing.
  display_.Close(MainWindow());
  ASSERT_TRUE(ide_.waitForFinished(10000));
  StartIde();
  EXPECT_NE(MainWindow(), 0u);
  EXPECT_EQ(display_.WindowTitled(ide_.processId(), confirm), 0u);
}

TEST_F(ShellOpenTest, DesktopOpenersHandSourcesToTheRunningInstance) {
  const std::string prog = home_.Write("prog.f", "      PROGRAM P\n      END\n");
  const std::string other = home_.Write("my programs/ação 1.f", "      PROGRAM A\n      END\n");
  Associate(Exe().toStdString());
  if (HasTool("xdg-mime")) {
    QProcess q;
    q.start("xdg-mime", {"query", "default", "text/x-fortran"});
    ASSERT_TRUE(q.waitForFinished(10000));
    EXPECT_EQ(q.readAllStandardOutput().trimmed().toStdString(), "Vortan2.File.desktop");
  }
  StartIde();
  const Window main = MainWindow();
  ASSERT_NE(main, 0u);

  // xdg-open without a desktop runs the Exec line itself, splitting it at blanks; it needs
  // an executable path without blanks.
  const bool xdgOpen = HasTool("xdg-open") && Exe().indexOf(' ') < 0;
  const bool gio = HasTool("gio");
  if (!xdgOpen && !gio) GTEST_SKIP() << "neither xdg-open nor gio is installed";

  display_.Cover();
  RunOpener(xdgOpen ? "xdg-open" : "gio", xdgOpen ? QStringList{"prog.f"} : QStringList{"open", "prog.f"});
  EXPECT_TRUE(ComesToFront(main));

  // The same file again: the window comes to the front; no second program appears.
  display_.Cover();
  RunOpener(gio ? "gio" : "xdg-open", gio ? QStringList{"open", QString::fromStdString(prog)}
                                          : QStringList{QString::fromStdString(prog)});
  EXPECT_TRUE(ComesToFront(main));
  EXPECT_EQ(display_.IdeWindows(ide_.processId()).size(), 1u);
  EXPECT_EQ(ide_.state(), QProcess::Running);

  // An executable installed under a path with blanks, a file name with blanks and non-ASCII
  // letters: gio parses the quoted Exec line.
  if (gio) {
    const std::string linked = home_.MakeDir("my apps") + "/vortan";
    fs::create_symlink(Exe().toStdString(), linked);
    Associate(linked);
    display_.Cover();
    RunOpener("gio", {"open", QFile::decodeName(other.c_str())});
    EXPECT_TRUE(ComesToFront(main));
  }

  // The files reached the running instance: its reopen history, written when it closes,
  // names them, the one given twice once. Before closing, the forwarded requests (which may
  // arrive after the request to come to the front) must have been handled.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Forwarders() == 0; }, 10000));
  EXPECT_TRUE(display_.Drain(main));
  display_.Close(main);
  ASSERT_TRUE(ide_.waitForFinished(10000));
  TSettingsStore store;
  ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
  const std::vector<std::string> history = store.ReadList(sidHistory);
  EXPECT_EQ(std::count(history.begin(), history.end(), prog), 1) << ::testing::PrintToString(history);
  if (gio) {
    EXPECT_EQ(std::count(history.begin(), history.end(), other), 1);
  }
}

#endif

TEST_F(ShellHomeTest, UninstallSwitchLeavesTheShellIntegrationInPlace) {
  Associate(Exe().toStdString());
  const std::string desktop = home_.MakeDir("Desktop") + "/";
  const std::string group = home_.MakeDir("data/applications/Vortan 2.0") + "/";
  ASSERT_TRUE(CreateShellLink(desktop + "Vortan 2.0.desktop", "Vortan 2.0", Exe().toStdString()));
  ASSERT_TRUE(CreateShellLink(group + "Vortan 2.0.desktop", "Vortan 2.0", Exe().toStdString()));
  ASSERT_TRUE(CreateShellLink(group + "Vortan 2.0 on the Web.desktop", "", "https://example.org/"));
  const std::string store = DefaultStorePath();
  const auto before = Snapshot(home_.Path(), store);

  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(Exe(), {"/u"});
  ASSERT_TRUE(p.waitForFinished(20000));

  EXPECT_EQ(Snapshot(home_.Path(), store), before);
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  TSettingsStore settings;
  ASSERT_TRUE(settings.Open(store).Ok);
  EXPECT_FALSE(settings.RootExists());
}


}  // namespace
}  // namespace vortan
