/* Starts a program and prints the milliseconds until it maps a top-level window whose title
 * starts with a given prefix, then ends the program and prints its peak memory.
 * Usage: mapwait TITLE-PREFIX PROGRAM [ARGS...]
 * MAPWAIT_TIMEOUT_MS changes the 30 s limit; MAPWAIT_SIGNAL (a number, default SIGTERM) is
 * the signal that ends the program; with MAPWAIT_NO_REAP set the program is sent it and left
 * to end on its own (the next start may come while it is still ending). */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int title_matches(Display* d, Window w, const char* prefix) {
  char* name = NULL;
  int ok = 0;
  if (XFetchName(d, w, &name) && name) {
    ok = strncmp(name, prefix, strlen(prefix)) == 0;
    XFree(name);
  }
  return ok;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: mapwait TITLE-PREFIX PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(NULL);
  if (!d) {
    fprintf(stderr, "mapwait: no display\n");
    return 2;
  }
  Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);
  const char* limitText = getenv("MAPWAIT_TIMEOUT_MS");
  const double limit = limitText ? atof(limitText) : 30000;
  double start = now_ms();
  pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  double shown = -1;
  while (shown < 0) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == MapNotify && title_matches(d, e.xmap.window, argv[1])) shown = now_ms() - start;
    }
    if (shown >= 0) break;
    if (now_ms() - start > limit) {
      fprintf(stderr, "mapwait: no window within %.0f ms\n", limit);
      kill(pid, SIGKILL);
      return 1;
    }
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      fprintf(stderr, "mapwait: program ended before showing its window\n");
      return 1;
    }
    usleep(500);
  }
  usleep(300000); /* let it settle so the peak includes the first painted state */
  const char* signalText = getenv("MAPWAIT_SIGNAL");
  kill(pid, signalText ? atoi(signalText) : SIGTERM);
  if (getenv("MAPWAIT_NO_REAP")) {
    printf("%.1f 0\n", shown);
    return 0;
  }
  int status;
  struct rusage ru;
  wait4(pid, &status, 0, &ru);
  printf("%.1f %ld\n", shown, ru.ru_maxrss);
  return 0;
}
