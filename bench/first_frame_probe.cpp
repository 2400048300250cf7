// Starts a program under X and measures, from outside and without changing
// it, the time from its start to its first painted frame, and its peak memory
// up to then.
//
//   bench_first_frame [--interval-us N] [--timeout-s N] PROGRAM [ARGS...]
//
// The clock starts just before fork(). The program's first top-level window
// is caught by its MapNotify on the root window; from then on a column of
// pixels near its top is read every N microseconds (default 1000) until a
// pixel of pure blue, RGB(0, 0, 255), appears: the heading strip that both
// Kopperi and the floor window paint at the top of their client area. Qt
// paints a window's first frame whole and puts it on the screen in one
// request, so the strip shows only once the whole frame does. The
// resolution is the polling interval plus one round trip to the X server.
//
// The program is then ended with SIGTERM and reaped with wait4(), whose
// ru_maxrss is the peak resident set size up to the first frame (the same
// figure /usr/bin/time -v reports as "Maximum resident set size").
//
// Prints one line: first_frame_ms=… mapped_ms=… max_rss_kb=… polls=…
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Requests on a window that goes away, or is not viewable yet, fail; the
// next poll tries again.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

// The process id Qt records on its windows; 0 when there is none.
long windowPid(Display *display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                           &data) == Success &&
        data && items == 1 && format == 32)
        pid = *reinterpret_cast<long *>(data);
    if (data)
        XFree(data);
    return pid;
}

unsigned channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return unsigned((pixel >> shift) & mask) * 255u / unsigned(mask);
}

// True when the column x, rows 0..height-1 of the window holds a pure blue pixel.
bool blueInColumn(Display *display, Window window, const Visual *visual, int x, int height)
{
    XImage *image = XGetImage(display, window, x, 0, 1, unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool found = false;
    for (int y = 0; y < height && !found; ++y) {
        const unsigned long pixel = XGetPixel(image, 0, y);
        found = channel(pixel, visual->red_mask) == 0 && channel(pixel, visual->green_mask) == 0 &&
                channel(pixel, visual->blue_mask) == 255;
    }
    XDestroyImage(image);
    return found;
}

int usage()
{
    std::fprintf(stderr, "usage: bench_first_frame [--interval-us N] [--timeout-s N] PROGRAM [ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    long intervalUs = 1000;
    double timeoutMs = 20000;
    int first = 1;
    while (first < argc && std::strncmp(argv[first], "--", 2) == 0) {
        if (first + 1 >= argc)
            return usage();
        if (std::strcmp(argv[first], "--interval-us") == 0)
            intervalUs = std::atol(argv[first + 1]);
        else if (std::strcmp(argv[first], "--timeout-s") == 0)
            timeoutMs = std::atof(argv[first + 1]) * 1e3;
        else
            return usage();
        first += 2;
    }
    if (first >= argc)
        return usage();

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench_first_frame: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("exec");
        _exit(127);
    }

    Window window = 0;
    Visual *visual = nullptr;
    int columnX = 0;
    int columnHeight = 0;
    double mapped = -1;
    double painted = -1;
    long polls = 0;
    bool exited = false;
    int status = 0;
    rusage usage{};

    while (painted < 0) {
        if (nowMs() - start > timeoutMs) {
            std::fprintf(stderr, "bench_first_frame: no painted frame within the time allowed\n");
            break;
        }
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            exited = true;
            std::fprintf(stderr, "bench_first_frame: the program ended before its first frame\n");
            break;
        }
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (window || event.type != MapNotify || event.xmap.override_redirect)
                continue;
            const long owner = windowPid(display, event.xmap.window);
            if (owner != 0 && owner != pid)
                continue;
            XWindowAttributes attributes{};
            if (!XGetWindowAttributes(display, event.xmap.window, &attributes))
                continue;
            window = event.xmap.window;
            mapped = nowMs() - start;
            visual = attributes.visual;
            columnX = attributes.width > 200 ? 200 : attributes.width / 2;
            columnHeight = attributes.height > 80 ? 80 : attributes.height;
        }
        if (window) {
            ++polls;
            if (blueInColumn(display, window, visual, columnX, columnHeight)) {
                painted = nowMs() - start;
                break;
            }
            usleep(useconds_t(intervalUs));
        } else {
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            poll(&connection, 1, int((intervalUs + 999) / 1000));
        }
    }

    if (!exited) {
        kill(pid, SIGTERM);
        wait4(pid, &status, 0, &usage);
    }
    XCloseDisplay(display);
    if (painted < 0)
        return 1;
    std::printf("first_frame_ms=%.2f mapped_ms=%.2f max_rss_kb=%ld polls=%ld\n", painted, mapped, usage.ru_maxrss,
                polls);
    return 0;
}
