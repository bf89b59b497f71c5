#pragma once
// The top-level windows of the X display as the X server sees them, and the requests a
// window manager or the user at the keyboard would send them.
#include <QImage>
#include <QTest>
#include <initializer_list>
#include <string>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace vortan::test {

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
  struct TRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TRect&) const = default;
  };
  /// Where the window stands on the screen (its inside, without any frame).
  TRect Geometry(Window w) {
    XSync(display_, 0);
    XWindowAttributes a;
    Window child = 0;
    TRect r;
    if (XGetWindowAttributes(display_, w, &a) &&
        XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &r.Left, &r.Top,
                              &child))
      r.Width = a.width, r.Height = a.height;
    return r;
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
  /// Gives the window the keyboard, as a window manager does for the window the user clicks.
  void Focus(Window w) {
    XRaiseWindow(display_, w);
    XSetInputFocus(display_, w, RevertToParent, CurrentTime);
    XSync(display_, 0);
  }
  /// Presses the keys in turn and releases them in reverse order (a chord such as Ctrl+P),
  /// through the X server's test extension: the program gets them as it gets the keyboard's,
  /// in the window that has the focus.
  void Keys(std::initializer_list<KeySym> keys) {
    for (KeySym k : keys)
      XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, k), 1, CurrentTime);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k)
      XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, *k), 0, CurrentTime);
    XSync(display_, 0);
  }
  /// Types letters and digits one key at a time.
  void Type(const std::string& text) {
    for (char c : text) Keys({KeySym(static_cast<unsigned char>(c))});
  }
  /// What the screen shows of the window, read from the X server.
  QImage Picture(Window w) {
    const TRect r = Geometry(w);
    QImage picture;
    if (r.Width <= 0 || r.Height <= 0) return picture;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), r.Left, r.Top,
                              unsigned(r.Width), unsigned(r.Height), AllPlanes, ZPixmap);
    if (!image) return picture;
    picture = QImage(r.Width, r.Height, QImage::Format_RGB32);
    for (int y = 0; y < r.Height; ++y)
      for (int x = 0; x < r.Width; ++x)
        picture.setPixel(x, y, QRgb(XGetPixel(image, x, y)) | 0xff000000u);
    XDestroyImage(image);
    return picture;
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
      const bool answered = QTest::qWaitFor(
          [&] {
            while (XPending(display_)) {
              XEvent r;
              XNextEvent(display_, &r);
              if (r.type == ClientMessage && r.xclient.message_type == protocols &&
                  Atom(r.xclient.data.l[0]) == ping && r.xclient.data.l[1] == pings_)
                return true;
            }
            return false;
          },
          5000);
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
                           XInternAtom(display_, "UTF8_STRING", 0), &type, &format, &items, &after,
                           &data) == Success &&
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

}  // namespace vortan::test
