// A stand-in for the console tools the jobs drive. Its arguments are a script of actions run
// in order, for example: faketool out hello err oops exit 3
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

extern char** environ;

namespace {

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void Line(int fd, const std::string& text) {
  const std::string line = text + "\n";
  WriteAll(fd, line.data(), line.size());
}

// The byte at a position of the "bytes" output; the tests build the same sequence.
char PatternByte(size_t i) { return i % 64 == 63 ? '\n' : static_cast<char>('a' + i % 26); }

void ReportStdin(int timeoutMs) {
  pollfd p{0, POLLIN, 0};
  const int r = ::poll(&p, 1, timeoutMs);
  if (r == 0) {
    Line(1, "stdin: open");
    return;
  }
  char c;
  Line(1, ::read(0, &c, 1) == 0 ? "stdin: eof" : "stdin: data");
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string action = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (action == "out") {
      Line(1, next());
    } else if (action == "err") {
      Line(2, next());
    } else if (action == "lines") {
      const int n = std::atoi(next().c_str());
      for (int k = 1; k <= n; ++k)
        Line(k % 2 ? 1 : 2, (k % 2 ? "out " : "err ") + std::to_string(k));
    } else if (action == "bytes") {
      const size_t n = std::strtoull(next().c_str(), nullptr, 10);
      std::string block(65536, '\0');
      for (size_t done = 0; done < n;) {
        const size_t size = std::min(block.size(), n - done);
        for (size_t k = 0; k < size; ++k) block[k] = PatternByte(done + k);
        WriteAll(1, block.data(), size);
        done += size;
      }
    } else if (action == "nul") {
      static const char text[] = "before\0after\n";
      WriteAll(1, text, sizeof text - 1);
    } else if (action == "exit") {
      return std::atoi(next().c_str());
    } else if (action == "abort") {
      std::abort();
    } else if (action == "segv") {
      // A real crash by signal: a sanitizer's own SIGSEGV handler would turn it into exit 1.
      ::signal(SIGSEGV, SIG_DFL);
      ::raise(SIGSEGV);
    } else if (action == "hang") {
      for (;;) ::pause();
    } else if (action == "sleep") {
      ::usleep(static_cast<useconds_t>(std::atoi(next().c_str())) * 1000);
    } else if (action == "closeout") {
      ::close(1);
      ::close(2);
    } else if (action == "stdin") {
      ReportStdin(std::atoi(next().c_str()));
    } else if (action == "readin") {
      ReportStdin(-1);
    } else if (action == "env") {
      const std::string name = next();
      const char* value = std::getenv(name.c_str());
      Line(1, value ? name + "=" + value : name + " unset");
    } else if (action == "envall") {
      for (char** e = environ; *e; ++e) Line(1, *e);
    } else if (action == "cwd") {
      char buf[4096];
      Line(1, ::getcwd(buf, sizeof buf) ? buf : "?");
    } else if (action == "args") {
      while (i + 1 < argc) Line(1, "[" + next() + "]");
    } else if (action == "sched") {
      Line(1, "nice=" + std::to_string(::getpriority(PRIO_PROCESS, 0)) +
                  " policy=" + std::to_string(::sched_getscheduler(0)));
    } else if (action == "grandchild") {
      // Leaves a process of its own behind, which a stop of this one must not end.
      const std::string pidFile = next();
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::sleep(30);
        ::_exit(0);
      }
      std::ofstream(pidFile) << pid;
    } else {
      Line(2, "faketool: unknown action " + action);
      return 99;
    }
  }
  return 0;
}
