#include "app/quitonsignal.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

#include <QApplication>
#include <QSocketNotifier>

namespace vortan {

namespace {

// The write end is all a signal handler may touch.
int g_pipe[2] = {-1, -1};

void Handler(int signo) {
  const int saved = errno;
  const char byte = static_cast<char>(signo);
  [[maybe_unused]] ssize_t ignored = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

TQuitOnSignal::TQuitOnSignal(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) return;
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TQuitOnSignal::OnSignal);
  struct sigaction sa {};
  sa.sa_handler = Handler;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int s : kSignals) ::sigaction(s, &sa, nullptr);
}

TQuitOnSignal::~TQuitOnSignal() {
  if (!notifier_) return;
  struct sigaction sa {};
  sa.sa_handler = SIG_DFL;
  for (int s : kSignals) ::sigaction(s, &sa, nullptr);
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void TQuitOnSignal::OnSignal() {
  char bytes[16];
  while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
  }
  // The first signal closes the windows as the user would (unsaved text is asked about, and
  // the last window closing ends the loop); a second one ends the loop at once. Either way
  // the tear-down after the loop runs.
  if (asked_) {
    QApplication::exit(0);
    return;
  }
  asked_ = true;
  QApplication::closeAllWindows();
}

}  // namespace vortan
