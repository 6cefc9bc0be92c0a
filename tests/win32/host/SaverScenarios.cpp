// Saver mode (/s), its switches, preview mode (-p HWND) and the command lines
// that must end without a window.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Scenarios.h"

namespace tessaly::testhost {

namespace {

constexpr const char* kCanvasClass = "TessalyCanvas";
constexpr DWORD kStartTimeout = 20000;
constexpr DWORD kEndTimeout = 30000;  // Wine withdraws each full-monitor window in up to 2 s
constexpr size_t kDrawnColours = 6;  // a garden shows many colours; a bare screen one

RECT ScreenRect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

void SendMouse(DWORD flags, LONG dx, LONG dy, DWORD data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

void SendClick(DWORD down, DWORD up) {
    SendMouse(down, 0, 0);
    SendMouse(up, 0, 0);
}

// True when the cursor draws nothing: AND mask all ones, XOR mask all zeros.
bool IsBlankCursor(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return false;
    bool blank = info.hbmColor == nullptr && info.hbmMask != nullptr;
    if (blank) {
        BITMAP bm{};
        GetObjectA(info.hbmMask, sizeof bm, &bm);
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[2];
        } bmi = {};
        bmi.header.biSize = sizeof bmi.header;
        bmi.header.biWidth = bm.bmWidth;
        bmi.header.biHeight = -bm.bmHeight;
        bmi.header.biPlanes = 1;
        bmi.header.biBitCount = 1;
        const int rowBytes = ((bm.bmWidth + 31) / 32) * 4;
        std::vector<unsigned char> bits(static_cast<size_t>(rowBytes) * bm.bmHeight);
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, info.hbmMask, 0, bm.bmHeight, bits.data(),
                  reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        const int half = bm.bmHeight / 2;  // AND mask on top, XOR mask below
        for (int y = 0; y < bm.bmHeight && blank; ++y) {
            for (int x = 0; x < bm.bmWidth; ++x) {
                const bool set = (bits[static_cast<size_t>(y) * rowBytes + x / 8] >> (7 - x % 8)) & 1;
                if (set != (y < half)) {
                    blank = false;
                    break;
                }
            }
        }
    }
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return blank;
}

// Starts the saver with the switch and checks the full-screen window and its drawings.
HWND StartSaver(const Context& context, const std::string& arguments, Process& saver,
                const std::string& screenshot) {
    context.key.Clear();  // the stored defaults: speed 60, whole drawings
    if (!Check(Launch(context.scr, arguments, saver), "start " + arguments)) return nullptr;
    HWND window = WaitForWindow(saver.Id(), kCanvasClass, false, kStartTimeout);
    if (!Check(window != nullptr, arguments + " shows a canvas window")) return nullptr;
    RECT rect{};
    GetWindowRect(window, &rect);
    Check(SameRect(rect, ScreenRect()), "the window covers the screen: " + Describe(rect));
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    Check((exStyle & WS_EX_TOPMOST) != 0, "the window is topmost");
    Check((style & WS_POPUP) != 0 && (style & WS_CAPTION) == 0 && (style & WS_BORDER) == 0,
          "the window is a popup without caption or border");
    Capture capture = WaitForDrawing(ScreenRect(), kDrawnColours, kStartTimeout);
    Check(capture.DistinctColours() >= kDrawnColours,
          "drawings show up on the screen (" + std::to_string(capture.DistinctColours()) + " colours)");
    if (!screenshot.empty()) capture.WriteBmp(Join(context.outDir, screenshot));
    return window;
}

void ExpectEnd(Process& saver, const std::string& what) {
    DWORD code = 1234;
    const bool ended = saver.WaitExit(kEndTimeout, &code);
    Check(ended, what + " ends the saver");
    if (ended) Check(code == 0, what + ": exit code 0 (got " + std::to_string(code) + ")");
}

void ExpectRunning(Process& saver, const std::string& what) {
    Check(!saver.WaitExit(1500), what + " leaves the saver running");
}

}  // namespace

void RunSaverScenario(const Context& context) {
    const std::string action = context.argument;
    Process saver;
    HWND window = StartSaver(context, "/s", saver, "");
    if (window == nullptr) return;
    PumpFor(300);

    if (action == "key") {
        SendKey('A');
        ExpectEnd(saver, "a key");
    } else if (action == "syskey") {
        SendKey(VK_MENU);
        ExpectEnd(saver, "the Alt key");
    } else if (action == "left") {
        SendClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        ExpectEnd(saver, "a left click");
    } else if (action == "middle") {
        SendClick(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
        ExpectEnd(saver, "a middle click");
    } else if (action == "right") {
        SendClick(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        ExpectEnd(saver, "a right click");
    } else if (action == "deactivate") {
        // Another application takes the foreground.
        HWND other = CreateWindowExA(0, "STATIC", "another application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     10, 10, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        ExpectEnd(saver, "losing the activation");
        DestroyWindow(other);
    } else if (action == "stay") {
        // The system sends the first move when the window appears under the
        // pointer; it only records the point.
        ExpectRunning(saver, "the first mouse move");
        POINT at{};
        GetCursorPos(&at);
        SendMouse(MOUSEEVENTF_MOVE, 0, 0);
        PumpFor(300);
        CURSORINFO cursor{};
        cursor.cbSize = sizeof cursor;
        GetCursorInfo(&cursor);
        const char* how = cursor.hCursor == nullptr                 ? "no cursor set"
                          : (cursor.flags & CURSOR_SHOWING) == 0      ? "cursor not showing"
                          : IsBlankCursor(cursor.hCursor)             ? "a fully transparent cursor"
                                                                       : nullptr;
        Check(how != nullptr, std::string("the pointer is hidden over the saver (") +
                                  (how != nullptr ? how : "a visible cursor") + ")");
        // Moves to the same spot, the wheel, button releases and the two swallowed commands.
        for (int i = 0; i < 3; ++i) SendMouse(MOUSEEVENTF_MOVE, 0, 0);
        ExpectRunning(saver, "moves to the same spot (input)");
        for (int i = 0; i < 3; ++i) PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        ExpectRunning(saver, "moves to the same spot (messages)");
        SendMouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
        SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA));
        ExpectRunning(saver, "the mouse wheel");
        SendMouse(MOUSEEVENTF_LEFTUP, 0, 0);
        ExpectRunning(saver, "a button release");
        PostMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectRunning(saver, "SC_SCREENSAVE and SC_CLOSE");
        // Some seconds of garden for the record.
        CaptureScreen(ScreenRect()).WriteBmp(Join(context.outDir, "saver.bmp"));
        // One pixel away from the first point.
        SendMouse(MOUSEEVENTF_MOVE, 1, 0);
        // Wine moves the pointer asynchronously.
        POINT moved = at;
        for (const DWORD start = GetTickCount(); moved.x == at.x && moved.y == at.y && GetTickCount() - start < kEndTimeout;
             Sleep(25))
            GetCursorPos(&moved);
        Check(moved.x == at.x + 1 && moved.y == at.y, "the pointer moved by one pixel");
        ExpectEnd(saver, "a move of one pixel");
    } else {
        Check(false, "known saver action '" + action + "'");
    }
}

void RunXInputScenario(const Context& context) {
    // The user's input comes from the X server this time (xdotool, run by
    // the test script once READY is printed), through Wine's X11 driver.
    Process saver;
    if (StartSaver(context, "/s", saver, "") == nullptr) return;
    PumpFor(500);
    std::printf("READY\n");
    std::fflush(stdout);
    DWORD code = 1234;
    const bool ended = saver.WaitExit(30000, &code);
    Check(ended, "X input (" + context.argument + ") ends the saver");
    if (ended) Check(code == 0, "X input: exit code 0 (got " + std::to_string(code) + ")");
}

void RunHeldScenario(const Context& context) {
    // For the setup's checks: READY once its window is up; then something outside ends it, or kills it.
    Process saver;
    const bool up = context.argument == "/s"
                        ? StartSaver(context, "/s", saver, "") != nullptr
                        : Check(Launch(context.scr, context.argument, saver) &&
                                    WaitForWindow(saver.Id(), "#32770", false, kStartTimeout) != nullptr,
                                context.argument + " shows its dialog");
    if (!up) return;
    std::printf("READY\n");
    std::fflush(stdout);
    DWORD code = 1234;
    const bool ended = saver.WaitExit(150000, &code);
    Check(ended && code == 0, "ended from outside, exit code 0 (" + (ended ? std::to_string(code) : "running") + ")");
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM monitors) {
    reinterpret_cast<std::vector<RECT>*>(monitors)->push_back(*rect);
    return TRUE;
}

// The saver on every monitor: a topmost window with exactly each monitor's
// rectangle, each painted to its right and bottom edges (its garden mapped
// onto its own size), and the two gardens different.
bool StartOnEveryMonitor(const Context& context, const std::vector<RECT>& monitors, Process& saver) {
    context.key.Clear();
    context.key.Set("Speed", 95);
    if (!Check(Launch(context.scr, "/s", saver), "start /s")) return false;
    std::vector<Capture> shots;
    for (const RECT& m : monitors) {
        HWND window = nullptr;
        for (const DWORD start = GetTickCount(); window == nullptr && GetTickCount() - start < kStartTimeout; PumpFor(50))
            for (HWND w : WindowsOf(saver.Id(), kCanvasClass)) {
                RECT rect{};
                GetWindowRect(w, &rect);
                if (SameRect(rect, m) && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) window = w;
            }
        if (!Check(window != nullptr, "a topmost window covers exactly the monitor " + Describe(m))) return false;
        const RECT right{m.right - (m.right - m.left) / 10, m.top, m.right, m.bottom};
        const RECT bottom{m.left, m.bottom - (m.bottom - m.top) / 10, m.right, m.bottom};
        Check(WaitForDrawing(right, kDrawnColours, kStartTimeout).DistinctColours() >= kDrawnColours &&
                  WaitForDrawing(bottom, kDrawnColours, kStartTimeout).DistinctColours() >= kDrawnColours,
              "drawings reach the right and bottom edges of " + Describe(m));
        shots.push_back(CaptureScreen(m));
        shots.back().WriteBmp(Join(context.outDir, "monitor" + std::to_string(shots.size()) + ".bmp"));
    }
    size_t differing = 0;  // over the part both monitors have
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            differing += shots[0].pixels[y * shots[0].width + x] != shots[1].pixels[y * shots[1].width + x];
    return Check(WindowsOf(saver.Id(), kCanvasClass).size() == 2, "two canvas windows") &&
           Check(differing > 1024 * 768 / 100, "the two gardens differ");
}

}  // namespace

// ARGUMENT LAYOUT:ACTION: the test script makes a desktop of two monitors
// ("unequal": of different sizes, the second at a negative x). ACTION key,
// left or deactivate must end every window; "first-move": with the pointer
// waiting on either monitor, the move the system sends as the windows appear
// only records the point, and a move of one pixel ends them all.
void RunMonitorsScenario(const Context& context) {
    const std::string layout = context.argument.substr(0, context.argument.find(':'));
    const std::string action = context.argument.substr(context.argument.find(':') + 1);
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::string seen;
    for (const RECT& m : monitors) seen += " " + Describe(m);
    if (!Check(monitors.size() == 2 && (layout == "equal" || monitors[1].left < 0),
               "the desktop's two monitors (" + layout + "), seen:" + seen))
        return;
    for (const RECT& m : action == "first-move" ? monitors : std::vector<RECT>{monitors[0]}) {
        SetCursorPos((m.left + m.right) / 2, (m.top + m.bottom) / 2);
        PumpFor(200);
        Process saver;
        if (!StartOnEveryMonitor(context, monitors, saver)) return;
        ExpectRunning(saver, "the first move, and the windows activating one another,");
        if (action == "key") SendKey('A');
        if (action == "left") SendClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        if (action == "deactivate")
            SetForegroundWindow(CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                                10, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        if (action == "first-move") SendMouse(MOUSEEVENTF_MOVE, 1, 0);
        ExpectEnd(saver, action + " with the pointer on " + Describe(m));
    }
}

void RunSwitchScenario(const Context& context) {
    Process saver;
    if (StartSaver(context, context.argument, saver, "") == nullptr) return;
    PumpFor(300);
    SendKey(VK_SPACE);
    ExpectEnd(saver, "a key");
}

namespace {

LRESULT CALLBACK PaneProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreatePane() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PaneProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TessalyTestPane";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "Preview pane", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                           60, 60, 340, 260, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

void RunPreviewScenario(const Context& context) {
    context.key.Clear();
    HWND pane = CreatePane();
    if (!Check(pane != nullptr, "the test creates a preview pane")) return;
    PumpFor(300);
    const std::string handle = std::to_string(reinterpret_cast<uintptr_t>(pane));
    Process saver;
    // Arguments after the handle are ignored.
    if (!Check(Launch(context.scr, "-p " + handle + " extra", saver), "start -p " + handle)) return;
    HWND canvas = WaitForWindow(saver.Id(), kCanvasClass, true, kStartTimeout);
    if (Check(canvas != nullptr, "-p HWND creates a canvas")) {
        Check(GetParent(canvas) == pane, "the canvas is a child of the pane");
        RECT paneClient{}, canvasRect{};
        GetClientRect(pane, &paneClient);
        GetWindowRect(canvas, &canvasRect);
        MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&canvasRect), 2);
        Check(SameRect(paneClient, canvasRect),
              "the canvas covers the pane's client area " + Describe(paneClient) + ", got " +
                  Describe(canvasRect));
        // Wine shows no pixels of a child window that belongs to another
        // process, so the drawing itself is checked in the settings dialog's
        // preview, which is the same canvas in the saver's own process.
        RECT onScreen = paneClient;
        MapWindowPoints(pane, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
        PumpFor(1500);
        CaptureScreen(onScreen).WriteBmp(Join(context.outDir, "preview-pane.bmp"));
        Check(saver.Running(), "the preview keeps running while its pane exists");
    }
    DestroyWindow(pane);
    ExpectEnd(saver, "destroying the pane");
}

// Why the saver refuses a command line.
std::string RefusalOf(const std::string& arguments) {
    const bool preview = arguments.rfind("/p", 0) == 0 || arguments.rfind("-p", 0) == 0;
    if (!preview) return "'" + arguments + "' names no mode (/s, /p HWND or /c)";
    if (arguments.size() == 2) return "/p needs the handle of the window to show the preview in";
    return "'" + arguments.substr(3) + "' is the handle of no window";
}

void RunRefusedScenario(const Context& context) {
    DebugOutputMonitor debug;
    Check(debug.Ready(), "the debug output can be read");
    HWND dead = CreatePane();
    const std::string deadHandle = std::to_string(reinterpret_cast<uintptr_t>(dead));
    DestroyWindow(dead);
    const std::vector<std::string> commandLines = {
        "/Screen", "//s", "/x", "-", "/p", "-p 0", "/p " + deadHandle, "/p abc", "/p -5",
        "/p 99999999999999999999999",
    };
    for (const std::string& arguments : commandLines) {
        Process saver;
        if (!Check(Launch(context.scr, arguments, saver), "start " + arguments)) continue;
        bool sawWindow = false;
        DWORD code = 0;
        const DWORD start = GetTickCount();
        bool ended = false;
        while (!(ended = saver.WaitExit(50, &code)) && GetTickCount() - start < kEndTimeout) {
            for (HWND hwnd : WindowsOf(saver.Id(), nullptr))
                if (IsWindowVisible(hwnd)) sawWindow = true;
        }
        Check(ended, "'" + arguments + "' ends by itself");
        Check(!sawWindow, "'" + arguments + "' shows no window");
        Check(code == 2, "'" + arguments + "' exits with code 2 (got " + std::to_string(code) + ")");
        const std::string said = debug.SaidBy(saver.Id()), expected = "tessaly: " + RefusalOf(arguments) + "\n";
        Check(said == expected, "'" + arguments + "' says in its debug output: " + RefusalOf(arguments) +
                                    (said == expected ? "" : " (it said: '" + said + "')"));
    }
}

}  // namespace tessaly::testhost
