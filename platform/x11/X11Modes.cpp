// The drawing modes on an X display: the full-screen saver on every monitor,
// the preview child inside a host's window, and the XScreenSaver display
// mode that draws straight into the window it is given (or the root window).
// Each is a session of canvases on X11Windows, run by one X11Loop.
#include <X11/Xutil.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cairo/CairoImage.h"
#include "Monitors.h"
#include "linux/Run.h"
#include "X11Loop.h"
#include "XErrors.h"
#include "device/PortableGdiObjects.h"
#include "shell/Printable.h"

namespace tessaly {

namespace {

constexpr long kSaverEvents = ExposureMask | KeyPressMask | ButtonPressMask | PointerMotionMask |
                              FocusChangeMask | StructureNotifyMask | VisibilityChangeMask;
constexpr long kCanvasEvents = ExposureMask | StructureNotifyMask | VisibilityChangeMask;
// How long to wait for another client to release the keyboard or pointer.
constexpr int kGrabAttempts = 100;
constexpr useconds_t kGrabRetryUs = 10000;

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

// The window the user named, if it is one we can draw in.
bool ExistingWindow(Display* display, unsigned long id, XWindowAttributes& attributes, std::string& error) {
    XSync(display, False);
    TakeXError();
    const Status ok = XGetWindowAttributes(display, id, &attributes);
    XSync(display, False);
    if (ok == 0 || TakeXError().code != 0) {
        error = "there is no window " + Hex(id) + " on display " + DisplayString(display);
        return false;
    }
    if (attributes.c_class == InputOnly) {
        error = "window " + Hex(id) + " is input-only; there is nothing to draw in";
        return false;
    }
    return true;
}

// A window too big for the picture behind it is refused rather than making
// the X server grow by gigabytes.
bool PictureFits(const std::string& what, int width, int height, std::string& error) {
    if (ImageSizeFits(width, height, error)) return true;
    error = what + ": " + error;
    return false;
}

void Name(Display* display, Window window) {
    XStoreName(display, window, "Tessaly");
    XClassHint hint{const_cast<char*>("tessaly"), const_cast<char*>("Tessaly")};
    XSetClassHint(display, window, &hint);
}

bool GrabWithRetries(int (*attempt)(Display*, Window, Cursor), Display* display, Window window, Cursor cursor) {
    for (int i = 0; i < kGrabAttempts; ++i) {
        if (attempt(display, window, cursor) == GrabSuccess) return true;
        usleep(kGrabRetryUs);
    }
    return false;
}

// The saver takes the keyboard and the pointer, so that no key or click
// reaches the programs underneath; ending it releases both. Without them it
// still runs, and says so.
void TakeInput(Display* display, Window window, Cursor cursor, const Warn& warn) {
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    const auto keyboard = [](Display* d, Window w, Cursor) {
        return XGrabKeyboard(d, w, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    };
    const auto pointer = [](Display* d, Window w, Cursor c) {
        return XGrabPointer(d, w, True, ButtonPressMask | PointerMotionMask, GrabModeAsync, GrabModeAsync, None, c,
                            CurrentTime);
    };
    if (!GrabWithRetries(keyboard, display, window, cursor)) warn("could not grab the keyboard; another program holds it");
    if (!GrabWithRetries(pointer, display, window, cursor)) warn("could not grab the pointer; another program holds it");
}

// One run on the display: its session, its windows and the loop. At the end
// the canvases let go of their windows, then the windows go.
class X11Run {
public:
    X11Run(Display* display, SignalPipe& signals, GardenState& state, const Warn& warn)
        : display_(display), warn_(warn), session_(state, objects_), loop_(display, events_, signals, session_, warn) {}
    ~X11Run() {
        session_.TearDown();
        windows_.clear();
        XSync(display_, False);
        TakeXError();  // a window that vanished meanwhile is no news now
    }

    X11Window& Create(const CanvasTarget& target) {
        windows_.push_back(std::make_unique<X11Window>(display_, events_, loop_.Pacing(), target, warn_));
        loop_.Add(*windows_.back());
        return *windows_.back();
    }
    // The window exists: its canvas is made and starts.
    void Show(X11Window& window, bool saver) {
        if (saver) {
            FullScreenWindow& canvas = session_.AddSaverCanvas(window);
            window.Show(canvas, &canvas);
        } else {
            window.Show(session_.AddCanvas(window), nullptr);
        }
    }
    X11Loop& Loop() { return loop_; }
    // Every way a run ends is a normal end; a signal is passed on.
    bool Run(DrawingEnd& end, std::string& error) {
        if (!loop_.Run(error)) return false;
        end = {session_.EndingSignal()};
        return true;
    }

private:
    Display* display_;
    const Warn& warn_;
    EventLoop events_;  // the sources of the windows and the loop go first
    PortableGdiObjects objects_;  // outlives the canvases, which release their brushes into it
    SaverSession session_;
    X11Loop loop_;
    std::vector<std::unique_ptr<X11Window>> windows_;
};

// One override-redirect window per monitor, each with its own canvas and
// garden, over a picture of what the monitor showed.
bool RunSaver(Display* display, X11Run& run, const Warn& warn, DrawingEnd& end, std::string& error) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const std::vector<Rect> monitors = QueryMonitors(display);
    for (const Rect& m : monitors)
        if (!PictureFits("a monitor", m.right - m.left, m.bottom - m.top, error)) return false;
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
    std::vector<X11Window*> windows;
    for (const Rect& monitor : monitors) {
        const int width = monitor.right - monitor.left, height = monitor.bottom - monitor.top;
        const Window window = XCreateWindow(display, root, monitor.left, monitor.top, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                            CopyFromParent, CWOverrideRedirect | CWBackPixmap | CWCursor | CWEventMask,
                                            &attributes);
        Name(display, window);
        windows.push_back(&run.Create({window, true, DefaultVisual(display, screen), DefaultDepth(display, screen),
                                       width, height, wholeScreen ? root : 0}));
        // What this monitor showed, taken before any of the saver's windows covers it.
        windows.back()->Picture().StartFrom(root, monitor.left, monitor.top);
    }
    for (X11Window* window : windows) {
        run.Show(*window, true);
        XMapRaised(display, window->Id());
    }
    XSync(display, False);
    TakeInput(display, windows.front()->Id(), cursor.Id(), warn);
    return run.Run(end, error);
}

bool RunPreview(Display* display, X11Run& run, unsigned long parent, DrawingEnd& end, std::string& error) {
    XWindowAttributes pane{};
    if (!ExistingWindow(display, parent, pane, error) ||
        !PictureFits("window " + Hex(parent), pane.width, pane.height, error))
        return false;
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
        error = "cannot draw in window " + Hex(parent) + " (it vanished or refuses a child)";
        return false;
    }
    XSelectInput(display, parent, StructureNotifyMask);  // to follow the pane's size
    X11Window& canvas = run.Create({window, true, pane.visual, pane.depth, pane.width, pane.height, parent});
    canvas.Picture().StartFrom(parent, 0, 0);
    run.Show(canvas, false);
    XMapWindow(display, window);
    return run.Run(end, error);
}

// XScreenSaver hands over a window it owns: draw straight into it, watch
// for it going away, and leave input to XScreenSaver.
bool RunInWindow(Display* display, X11Run& run, Window window, DrawingEnd& end, std::string& error) {
    XWindowAttributes target{};
    if (!ExistingWindow(display, window, target, error) ||
        !PictureFits("window " + Hex(window), target.width, target.height, error))
        return false;
    XSelectInput(display, window, kCanvasEvents);
    X11Window& canvas = run.Create({window, false, target.visual, target.depth, target.width, target.height});
    canvas.Picture().StartFrom(window, 0, 0);
    run.Show(canvas, false);
    return run.Run(end, error);
}

}  // namespace

bool RunOnX11(const CommandLine& commandLine, GardenState& state, const Warn& warn, DrawingEnd& end,
              std::string& error) {
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
            error = "cannot open X display '" + Printable(name ? name : fromEnvironment) + "'";
        return false;
    }
    bool ran = false;
    {
        X11Run run(display, signals, state, warn);
        if (commandLine.stats) run.Loop().EnableStats();
        switch (commandLine.mode) {
            case LinuxMode::Saver: ran = RunSaver(display, run, warn, end, error); break;
            case LinuxMode::Preview: ran = RunPreview(display, run, commandLine.windowId, end, error); break;
            case LinuxMode::XScreenSaverWindow: ran = RunInWindow(display, run, commandLine.windowId, end, error); break;
            case LinuxMode::XScreenSaverRoot: ran = RunInWindow(display, run, DefaultRootWindow(display), end, error); break;
            default: error = "not a drawing mode"; break;
        }
    }
    XCloseDisplay(display);
    return ran;
}

}  // namespace tessaly
