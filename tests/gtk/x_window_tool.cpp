// What the dialog tests need of X11 beyond xdotool:
//   x_window_tool close WINDOW-ID        ask a window to close, as a window
//                                        manager's close box does (WM_DELETE_WINDOW)
//   x_window_tool cover X Y W H SECONDS  hold a plain window over that area for
//                                        a while, then take it away again
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseNumber(const char* text, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 0);
    return end != text && *end == '\0';
}

int Usage() {
    std::fprintf(stderr, "usage: x_window_tool close WINDOW-ID | cover X Y WIDTH HEIGHT SECONDS\n");
    return 2;
}

int Close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

int Cover(Display* display, long x, long y, long width, long height, long seconds) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    const Window cover = XCreateWindow(display, DefaultRootWindow(display), static_cast<int>(x), static_cast<int>(y),
                                       static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                       CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, cover);
    XSync(display, False);
    sleep(static_cast<unsigned>(seconds));
    XDestroyWindow(display, cover);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    long values[5] = {};
    if (argc < 2) return Usage();
    const bool close = std::strcmp(argv[1], "close") == 0 && argc == 3;
    const bool cover = std::strcmp(argv[1], "cover") == 0 && argc == 7;
    if (!close && !cover) return Usage();
    for (int i = 2; i < argc; ++i) {
        if (!ParseNumber(argv[i], values[i - 2]) || values[i - 2] < 0) {
            std::fprintf(stderr, "x_window_tool: not a number: %s\n", argv[i]);
            return 2;
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x_window_tool: cannot open the display\n");
        return 1;
    }
    const int status = close ? Close(display, static_cast<Window>(values[0]))
                             : Cover(display, values[0], values[1], values[2], values[3], values[4]);
    XCloseDisplay(display);
    return status;
}
