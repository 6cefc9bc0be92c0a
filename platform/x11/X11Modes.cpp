#include "Run.h"

#include <X11/Xutil.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Monitors.h"
#include "X11CanvasHost.h"
#include "XErrors.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {

namespace {

constexpr long kSaverEvents = ExposureMask | KeyPressMask | ButtonPressMask | PointerMotionMask |
                              FocusChangeMask | StructureNotifyMask | VisibilityChangeMask;
constexpr long kCanvasEvents = ExposureMask | StructureNotifyMask;
// How long to wait for another client to release the keyboard or pointer.
constexpr int kGrabAttempts = 100;
constexpr useconds_t kGrabRetryUs = 10000;

void Complain(const std::string& text) { std::fprintf(stderr, "tessaly: %s\n", text.c_str()); }

std::string Hex(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

// The pointer is invisible over every canvas: a cursor of one blank pixel.
class InvisibleCursor {
public:
    InvisibleCursor(Display* display, Window window) : display_(display) {
        const char blank = 0;
        const Pixmap bitmap = XCreateBitmapFromData(display_, window, &blank, 1, 1);
        XColor black{};
        cursor_ = XCreatePixmapCursor(display_, bitmap, bitmap, &black, &black, 0, 0);
        XFreePixmap(display_, bitmap);
    }
    ~InvisibleCursor() { XFreeCursor(display_, cursor_); }
    InvisibleCursor(const InvisibleCursor&) = delete;
    InvisibleCursor& operator=(const InvisibleCursor&) = delete;
    Cursor Id() const { return cursor_; }

private:
    Display* display_;
    Cursor cursor_;
};

// The window the user named, or nothing (with the reason said) if it is not one we can draw in.
bool ExistingWindow(Display* display, unsigned long id, XWindowAttributes& attributes) {
    XSync(display, False);
    TakeXError();
    const Status ok = XGetWindowAttributes(display, id, &attributes);
    XSync(display, False);
    if (ok == 0 || TakeXError().code != 0) {
        Complain("there is no window " + Hex(id) + " on display " + DisplayString(display));
        return false;
    }
    if (attributes.c_class == InputOnly) {
        Complain("window " + Hex(id) + " is input-only; there is nothing to draw in");
        return false;
    }
    return true;
}

// A window too big for the picture behind it is refused rather than making
// the X server grow by gigabytes.
bool PictureFits(const std::string& what, int width, int height) {
    if (OffscreenCanvas::Fits(width, height)) return true;
    Complain(what + " is " + std::to_string(width) + "x" + std::to_string(height) + " pixels; tessaly draws in at most " +
             std::to_string(OffscreenCanvas::kMaxPixels) + " pixels (for example 8192x8192)");
    return false;
}

void Name(Display* display, Window window) {
    XStoreName(display, window, "Tessaly");
    XClassHint hint{const_cast<char*>("tessaly"), const_cast<char*>("Tessaly")};
    XSetClassHint(display, window, &hint);
}

bool GrabWithRetries(const char* what, int (*attempt)(Display*, Window, Cursor), Display* display, Window window,
                     Cursor cursor) {
    for (int i = 0; i < kGrabAttempts; ++i) {
        if (attempt(display, window, cursor) == GrabSuccess) return true;
        usleep(kGrabRetryUs);
    }
    Complain(std::string("could not grab the ") + what + "; another program holds it");
    return false;
}

// The saver takes the keyboard and the pointer, so that no key or click
// reaches the programs underneath; ending it releases both.
void TakeInput(Display* display, Window window, Cursor cursor) {
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    GrabWithRetries(
        "keyboard",
        [](Display* d, Window w, Cursor) { return XGrabKeyboard(d, w, True, GrabModeAsync, GrabModeAsync, CurrentTime); },
        display, window, cursor);
    GrabWithRetries(
        "pointer",
        [](Display* d, Window w, Cursor c) {
            return XGrabPointer(d, w, True, ButtonPressMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None, c,
                                CurrentTime);
        },
        display, window, cursor);
}

// One override-redirect window per monitor, each with its own canvas and
// garden; one loop runs them all and any trigger ends them all.
DrawingEnd RunSaver(Display* display, SignalPipe& signals, GardenState& state, GdiObjects& objects, bool stats) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const std::vector<Rect> monitors = QueryMonitors(display);
    for (const Rect& m : monitors)
        if (!PictureFits("a monitor", m.right - m.left, m.bottom - m.top)) return {};
    // A saver of one monitor covers the screen at whatever size it takes on.
    const bool wholeScreen = monitors.size() == 1 && monitors[0] == Rect{0, 0, DisplayWidth(display, screen),
                                                                           DisplayHeight(display, screen)};
    if (wholeScreen) XSelectInput(display, root, StructureNotifyMask);
    InvisibleCursor cursor(display, root);

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;  // no window manager frames or moves it
    attributes.background_pixmap = None;  // nothing ever clears it
    attributes.cursor = cursor.Id();
    attributes.event_mask = kSaverEvents;
    Point firstMousePoint{-1, -1};  // in root coordinates, shared by every monitor's window
    std::vector<std::unique_ptr<X11CanvasHost>> hosts;
    std::vector<X11CanvasHost*> running;
    for (const Rect& monitor : monitors) {
        const int width = monitor.right - monitor.left, height = monitor.bottom - monitor.top;
        const Window window = XCreateWindow(display, root, monitor.left, monitor.top, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                            CopyFromParent, CWOverrideRedirect | CWBackPixmap | CWCursor | CWEventMask,
                                            &attributes);
        Name(display, window);
        hosts.push_back(std::make_unique<X11CanvasHost>(
            display,
            CanvasTarget{window, true, DefaultVisual(display, screen), DefaultDepth(display, screen), width, height,
                         wholeScreen ? root : 0},
            signals));
        if (stats && hosts.size() == 1) hosts.back()->EnableStats();
        // What this monitor showed, taken before any of the saver's windows covers it.
        hosts.back()->Picture().StartFrom(root, monitor.left, monitor.top);
        running.push_back(hosts.back().get());
    }
    for (X11CanvasHost* host : running) {
        auto canvas = std::make_unique<FullScreenWindow>(state, objects, &firstMousePoint);
        FullScreenWindow* saver = canvas.get();
        host->Attach(std::move(canvas), saver);
        XMapRaised(display, host->Target().window);
    }
    XSync(display, False);
    TakeInput(display, running.front()->Target().window, cursor.Id());
    X11CanvasHost::RunTogether(running);  // every way it ends is a normal end
    return {0, running.front()->EndingSignal()};
}

DrawingEnd RunPreview(Display* display, SignalPipe& signals, GardenState& state, GdiObjects& objects, unsigned long parent, bool stats) {
    XWindowAttributes pane{};
    if (!ExistingWindow(display, parent, pane) || !PictureFits("window " + Hex(parent), pane.width, pane.height))
        return {};
    InvisibleCursor cursor(display, parent);

    // A child covering the pane, so the pane's owner destroying the pane
    // destroys the canvas with it.
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.cursor = cursor.Id();
    attributes.event_mask = kCanvasEvents;
    const Window window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(pane.width),
                                        static_cast<unsigned>(pane.height), 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWBackPixmap | CWCursor | CWEventMask, &attributes);
    XSync(display, False);
    if (TakeXError().code != 0) {
        Complain("cannot draw in window " + Hex(parent) + " (it vanished or refuses a child)");
        return {};
    }
    XSelectInput(display, parent, StructureNotifyMask);  // to follow the pane's size
    X11CanvasHost host(display, {window, true, pane.visual, pane.depth, pane.width, pane.height, parent}, signals);
    if (stats) host.EnableStats();
    host.Picture().StartFrom(parent, 0, 0);
    host.Attach(std::make_unique<CanvasWindow>(state, objects), nullptr);
    XMapWindow(display, window);
    host.Run();  // every way it ends is a normal end
    return {0, host.EndingSignal()};
}

// XScreenSaver hands over a window it owns: draw straight into it, watch
// for it going away, and leave input to XScreenSaver.
DrawingEnd RunInWindow(Display* display, SignalPipe& signals, GardenState& state, GdiObjects& objects, Window window, bool stats) {
    XWindowAttributes target{};
    if (!ExistingWindow(display, window, target) || !PictureFits("window " + Hex(window), target.width, target.height))
        return {};
    XSelectInput(display, window, kCanvasEvents);
    X11CanvasHost host(display, {window, false, target.visual, target.depth, target.width, target.height},
                       signals);
    if (stats) host.EnableStats();
    host.Picture().StartFrom(window, 0, 0);
    host.Attach(std::make_unique<CanvasWindow>(state, objects), nullptr);
    host.Run();  // every way it ends is a normal end
    return {0, host.EndingSignal()};
}

}  // namespace

bool RunOnX11(const CommandLine& commandLine, GardenState& state, DrawingEnd& result, std::string& error) {
    SignalPipe signals;  // first: a SIGTERM during start-up still ends cleanly
    // A write to a dead X connection must come back as an error that the
    // connection-lost handler reports, not kill the process with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    InstallXErrorHandlers();
    const char* name = commandLine.display ? commandLine.display->c_str() : nullptr;
    Display* display = XOpenDisplay(name);
    if (display == nullptr) {
        const char* fromEnvironment = std::getenv("DISPLAY");
        if (name == nullptr && (fromEnvironment == nullptr || *fromEnvironment == '\0'))
            error = "no X display: DISPLAY is not set (or give --display NAME)";
        else
            error = std::string("cannot open X display '") + (name ? name : fromEnvironment) + "'";
        return false;
    }
    DrawingEnd end;
    {
        PortableGdiObjects objects;  // outlives the canvas, which releases its brushes into it
        switch (commandLine.mode) {
            case LinuxMode::Saver: end = RunSaver(display, signals, state, objects, commandLine.stats); break;
            case LinuxMode::Preview:
                end = RunPreview(display, signals, state, objects, commandLine.windowId, commandLine.stats);
                break;
            case LinuxMode::XScreenSaverWindow:
                end = RunInWindow(display, signals, state, objects, commandLine.windowId, commandLine.stats);
                break;
            case LinuxMode::XScreenSaverRoot:
                end = RunInWindow(display, signals, state, objects, DefaultRootWindow(display), commandLine.stats);
                break;
            default: break;
        }
    }
    XCloseDisplay(display);
    result = end;
    return true;
}

}  // namespace tessaly
