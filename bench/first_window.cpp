// Times a desktop program from its start to its first window on screen: the program is started
// on the display of DISPLAY, and the time is taken when a top-level window of it is mapped and
// when that window first shows more than one colour (its first frame drawn). The display's
// damage reports say when something was drawn, so the window is read only after a drawing.
//
//   vxbench_first_window [--timeout MS] -- PROGRAM [ARGUMENTS...]
//
// Prints "map_ms drawn_ms cpu_ms" (cpu_ms: the program's processor time, all threads, when its
// first frame was seen) and ends the program. Exits 1 when no frame came within the timeout.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of a process so far, user and system, all its threads, in ms.
double CpuMs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) {
      stime = std::stoull(field);
      break;
    }
  }
  return 1000.0 * static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Whether the window shows more than one colour: a frame has been drawn into it.
bool Drawn(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
    return false;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return false;
  const unsigned long first = XGetPixel(image, 0, 0);
  bool varied = false;
  for (int y = 0; y < image->height && !varied; y += 2)
    for (int x = 0; x < image->width && !varied; x += 2)
      varied = XGetPixel(image, x, y) != first;
  XDestroyImage(image);
  return varied;
}

int IgnoreErrors(Display*, XErrorEvent*) {
  return 0; // a window may go between its event and our look at it
}

pid_t Start(char** argv) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (!std::getenv("VX_BENCH_SHOW_OUTPUT")) {
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "w", stderr);
    }
    execvp(argv[0], argv);
    _exit(127);
  }
  return pid;
}

} // namespace

int main(int argc, char** argv) {
  int timeoutMs = 20000;
  int first = 1;
  for (; first < argc && std::strcmp(argv[first], "--") != 0; ++first)
    if (std::strcmp(argv[first], "--timeout") == 0 && first + 1 < argc)
      timeoutMs = std::atoi(argv[++first]);
  if (first + 1 >= argc) {
    std::fprintf(stderr, "usage: %s [--timeout MS] -- PROGRAM [ARGUMENTS...]\n", argv[0]);
    return 2;
  }
  // A display busy with other clients may turn a connection away for a moment.
  Display* display = XOpenDisplay(nullptr);
  for (int attempt = 0; !display && attempt < 50; ++attempt) {
    usleep(100 * 1000);
    display = XOpenDisplay(nullptr);
  }
  int damageEvent = 0, damageError = 0;
  if (!display) {
    std::fprintf(stderr, "cannot open the display %s\n", XDisplayName(nullptr));
    return 2;
  }
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "the display has no damage extension\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  const Damage rootDamage = XDamageCreate(display, root, XDamageReportNonEmpty);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t pid = Start(argv + first + 1);
  Window shown = 0;
  double mapMs = -1, drawnMs = -1, cpuMs = -1;
  while (drawnMs < 0 && MsSince(start) < timeoutMs) {
    if (!XPending(display)) {
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      poll(&fd, 1, 50);
      if (!XPending(display)) continue;
    }
    bool damaged = false;
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect &&
          !shown) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, event.xmap.window, &attributes) &&
            attributes.width > 50 && attributes.height > 50) {
          shown = event.xmap.window;
          mapMs = MsSince(start);
          damaged = true;
        }
      } else if (event.type == damageEvent + XDamageNotify) {
        damaged = true;
      }
    }
    XDamageSubtract(display, rootDamage, None, None);
    if (shown && damaged && Drawn(display, shown)) {
      drawnMs = MsSince(start);
      cpuMs = CpuMs(pid);
    }
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XCloseDisplay(display);
  if (drawnMs < 0) {
    std::fprintf(stderr, "no window drawn within %d ms\n", timeoutMs);
    return 1;
  }
  std::printf("%.1f %.1f %.1f\n", mapMs, drawnMs, cpuMs);
  return 0;
}
