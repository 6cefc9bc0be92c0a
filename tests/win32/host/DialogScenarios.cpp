// Settings mode: the dialog, its sliders, OK and Cancel, the registry values
// it loads and writes, and the About box.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Scenarios.h"

namespace tessaly::testhost {

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr DWORD kStartTimeout = 20000;
constexpr DWORD kEndTimeout = 30000;
constexpr int kSpeedBar = 1002, kCycleBar = 1004, kFrame = 1006, kStepBuild = 1008, kAbout = 3;

struct Settings {
    int cycle, speed, build;
};

std::string Str(long v) { return std::to_string(v); }

HWND StartDialog(const Context& context, const std::string& arguments, Process& saver) {
    if (!Check(Launch(context.scr, arguments, saver), "start '" + arguments + "'")) return nullptr;
    HWND dialog = WaitForWindow(saver.Id(), kDialogClass, false, kStartTimeout);
    Check(dialog != nullptr, "'" + arguments + "' opens the settings dialog");
    PumpFor(200);
    return dialog;
}

int Position(HWND dialog, int bar) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, bar), SBM_GETPOS, 0, 0));
}

int CheckState(HWND dialog) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, kStepBuild), BM_GETCHECK, 0, 0));
}

void Scroll(HWND dialog, int bar, int code, int thumb = 0) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, bar)));
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ExpectEnd(Process& saver, const std::string& what) {
    DWORD code = 1234;
    const bool ended = saver.WaitExit(kEndTimeout, &code);
    Check(ended && code == 0, what + " closes the dialog and ends the program with code 0");
}

void ExpectStored(const Context& context, const Settings& expected, const std::string& what) {
    const char* names[] = {"cycle_length", "Speed", "Build"};
    const int values[] = {expected.cycle, expected.speed, expected.build};
    for (int i = 0; i < 3; ++i) {
        uint32_t stored = 0;
        const bool present = context.key.Get(names[i], stored);
        Check(present && static_cast<int>(stored) == values[i],
              what + ": " + names[i] + " is " + Str(values[i]) +
                  (present ? " (got " + Str(static_cast<int32_t>(stored)) + ")" : " (missing)"));
    }
}

void ExpectNothingStored(const Context& context, const std::string& what) {
    uint32_t value = 0;
    Check(!context.key.Get("cycle_length", value) && !context.key.Get("Speed", value) &&
              !context.key.Get("Build", value),
          what + ": no value was written");
}

void Store(const Context& context, const Settings& values) {
    context.key.Clear();
    context.key.Set("cycle_length", static_cast<uint32_t>(values.cycle));
    context.key.Set("Speed", static_cast<uint32_t>(values.speed));
    context.key.Set("Build", static_cast<uint32_t>(values.build));
}

HWND WaitForAbout(DWORD processId) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kStartTimeout) {
        for (HWND hwnd : WindowsOf(processId, kDialogClass)) {
            if (IsWindowVisible(hwnd) && TextOf(hwnd) == "About Tessaly Screen Saver") return hwnd;
        }
        PumpFor(50);
    }
    return nullptr;
}

bool WaitGone(HWND hwnd) {
    const DWORD start = GetTickCount();
    while (IsWindow(hwnd) && GetTickCount() - start < kEndTimeout) PumpFor(50);
    return !IsWindow(hwnd);
}

// At the desktop's DPI (LogPixels, set by the test script), every text fits
// its control when laid out in the template's font (8 point MS Sans Serif) at
// that DPI as the control lays it out: static texts wrapped, button captions
// on one line (with the box of a check box). Another process's font handle
// cannot be read, so the font is made again here.
void CheckScaledAndUnclipped(HWND dialog) {
    const char* logPixels = std::getenv("TESSALY_WINE_LOGPIXELS");
    const int dpi = logPixels != nullptr ? std::atoi(logPixels) : USER_DEFAULT_SCREEN_DPI;
    using DpiOf = UINT(WINAPI*)(HWND);
    const auto dpiOf = reinterpret_cast<DpiOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    Check(dpiOf != nullptr && static_cast<int>(dpiOf(dialog)) == dpi, "the dialog is at " + Str(dpi) + " DPI");
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             "MS Sans Serif");
    const HGDIOBJ old = SelectObject(dc, font);
    int measured = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = TextOf(child), kind = ClassOf(child);
        const LONG type = GetWindowLongA(child, GWL_STYLE) & (kind == "Static" ? SS_TYPEMASK : BS_TYPEMASK);
        if (text.empty() || !IsWindowVisible(child) || (kind == "Static" && type == SS_ICON)) continue;
        RECT room{}, need{};
        GetClientRect(child, &room);
        need = room;
        DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | (kind == "Static" ? DT_WORDBREAK : DT_SINGLELINE));
        if (kind == "Button" && type == BS_AUTOCHECKBOX) need.right += MulDiv(16, dpi, USER_DEFAULT_SCREEN_DPI);
        Check(need.right <= room.right && need.bottom <= room.bottom,
              "\"" + text.substr(0, 24) + "\" fits: needs " + Str(need.right) + "x" + Str(need.bottom) + ", has " +
                  Str(room.right) + "x" + Str(room.bottom));
        ++measured;
    }
    Check(measured == 13, "the dialog's 13 texts were measured (" + Str(measured) + ")");
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

}  // namespace

void RunDialogScenario(const Context& context) {
    context.key.Clear();
    const std::string arguments = context.argument == "none" ? "" : context.argument;
    Process saver;
    HWND dialog = StartDialog(context, arguments, saver);
    if (dialog == nullptr) return;
    Check(TextOf(dialog) == "Tessaly Saver", "the caption is \"Tessaly Saver\" (got \"" + TextOf(dialog) + "\")");
    Check(ClassOf(GetDlgItem(dialog, kCycleBar)) == "ScrollBar" &&
              ClassOf(GetDlgItem(dialog, kSpeedBar)) == "ScrollBar",
          "the two sliders are scroll bars");
    Check(TextOf(GetDlgItem(dialog, kStepBuild)) == "&Step by step build", "the check box is there");
    int low = 0, high = 0;
    SendMessageA(GetDlgItem(dialog, kCycleBar), SBM_GETRANGE, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    Check(low == 1 && high == 30, "the cycle slider runs 1..30 (got " + Str(low) + ".." + Str(high) + ")");
    SendMessageA(GetDlgItem(dialog, kSpeedBar), SBM_GETRANGE, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    Check(low == 1 && high == 100, "the speed slider runs 1..100 (got " + Str(low) + ".." + Str(high) + ")");
    Check(Position(dialog, kCycleBar) == 5 && Position(dialog, kSpeedBar) == 60 && CheckState(dialog) == 0,
          "with no stored settings the dialog shows 5, 60 and unchecked");

    HWND frame = GetDlgItem(dialog, kFrame);
    Check(frame != nullptr && !IsWindowVisible(frame), "the frame control is hidden");
    HWND preview = nullptr;
    for (HWND child : WindowsOf(saver.Id(), "TessalyCanvas")) {
        if (GetParent(child) == dialog) preview = child;
    }
    if (Check(preview != nullptr && IsWindowVisible(preview), "the dialog has a live preview")) {
        RECT frameRect{}, previewRect{};
        GetWindowRect(frame, &frameRect);
        GetWindowRect(preview, &previewRect);
        Check(EqualRect(&frameRect, &previewRect) != FALSE,
              "the preview covers the frame control's outer rectangle");
        RECT client{};
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT inside{};
        Check(IntersectRect(&inside, &client, &previewRect) && EqualRect(&inside, &previewRect),
              "the preview lies inside the dialog");
        Capture drawn = WaitForDrawing(previewRect, 5, kStartTimeout);
        Check(drawn.DistinctColours() >= 5, "the preview draws (" + Str(drawn.DistinctColours()) + " colours)");
    }
    CheckScaledAndUnclipped(dialog);
    RECT dialogRect{};
    GetWindowRect(dialog, &dialogRect);
    const int centreX = (dialogRect.left + dialogRect.right) / 2;
    Check(std::abs(centreX - GetSystemMetrics(SM_CXSCREEN) / 2) <= 2, "the dialog is centred");
    std::string shot = "dialog" + (arguments.empty() ? std::string("-none") : std::string()) + ".bmp";
    if (arguments.empty() || arguments == "/c") CaptureScreen(dialogRect).WriteBmp(Join(context.outDir, shot));

    Click(dialog, IDCANCEL);
    ExpectEnd(saver, "Cancel");
    ExpectNothingStored(context, "Cancel");
}

void RunSlidersScenario(const Context& context) {
    Store(context, {5, 60, 0});
    Process saver;
    HWND dialog = StartDialog(context, "/c", saver);
    if (dialog == nullptr) return;
    struct Step {
        int bar, code, thumb, expected;
        const char* what;
    };
    const Step steps[] = {
        {kCycleBar, SB_PAGERIGHT, 0, 15, "cycle: page right from 5"},
        {kCycleBar, SB_LINERIGHT, 0, 16, "cycle: line right"},
        {kCycleBar, SB_LINELEFT, 0, 15, "cycle: line left"},
        {kCycleBar, SB_PAGELEFT, 0, 5, "cycle: page left"},
        {kCycleBar, SB_PAGELEFT, 0, 1, "cycle: page left past the start"},
        {kCycleBar, SB_LINELEFT, 0, 1, "cycle: line left at the start"},
        {kCycleBar, SB_RIGHT, 0, 30, "cycle: SB_RIGHT stops at 30"},
        {kCycleBar, SB_PAGERIGHT, 0, 30, "cycle: page right at the end"},
        {kCycleBar, SB_LEFT, 0, 1, "cycle: SB_LEFT"},
        {kCycleBar, SB_THUMBPOSITION, 17, 17, "cycle: thumb position 17"},
        {kCycleBar, SB_THUMBTRACK, 25, 25, "cycle: thumb track 25"},
        {kCycleBar, SB_ENDSCROLL, 0, 25, "cycle: SB_ENDSCROLL leaves it"},
        {kCycleBar, SB_THUMBTRACK, 99, 30, "cycle: thumb track 99 stops at 30"},
        {kCycleBar, SB_THUMBTRACK, 23, 23, "cycle: thumb track 23"},
        {kSpeedBar, SB_PAGERIGHT, 0, 70, "speed: page right from 60"},
        {kSpeedBar, SB_RIGHT, 0, 100, "speed: SB_RIGHT goes to 100"},
        {kSpeedBar, SB_LINERIGHT, 0, 100, "speed: line right at the end"},
        {kSpeedBar, SB_PAGELEFT, 0, 90, "speed: page left"},
        {kSpeedBar, SB_LINELEFT, 0, 89, "speed: line left"},
        {kSpeedBar, SB_LEFT, 0, 1, "speed: SB_LEFT"},
        {kSpeedBar, SB_PAGELEFT, 0, 1, "speed: page left at the start"},
        {kSpeedBar, SB_THUMBTRACK, 0, 1, "speed: thumb track 0 is held at 1"},
        {kSpeedBar, SB_THUMBTRACK, 42, 42, "speed: thumb track 42"},
    };
    for (const Step& step : steps) {
        Scroll(dialog, step.bar, step.code, step.thumb);
        const int got = Position(dialog, step.bar);
        Check(got == step.expected, std::string(step.what) + " gives " + Str(step.expected) +
                                        " (got " + Str(got) + ")");
    }
    Check(Position(dialog, kCycleBar) == 23, "moving the speed slider leaves the cycle slider");
    Click(dialog, kStepBuild);
    SendMessageA(GetDlgItem(dialog, kStepBuild), BM_SETCHECK, BST_CHECKED, 0);
    Check(CheckState(dialog) == BST_CHECKED, "the check box is checked");
    Click(dialog, IDOK);
    ExpectEnd(saver, "OK");
    ExpectStored(context, {23, 42, 1}, "OK");
}

void RunCancelScenario(const Context& context) {
    for (const char* how : {"Cancel", "the close box", "Escape"}) {
        Store(context, {7, 33, 0});
        Process saver;
        HWND dialog = StartDialog(context, "/c", saver);
        if (dialog == nullptr) return;
        Scroll(dialog, kCycleBar, SB_PAGERIGHT);
        Scroll(dialog, kSpeedBar, SB_RIGHT);
        SendMessageA(GetDlgItem(dialog, kStepBuild), BM_SETCHECK, BST_CHECKED, 0);
        Click(dialog, kStepBuild);
        PumpFor(100);
        const std::string name = how;
        if (name == "Cancel") {
            Click(dialog, IDCANCEL);
        } else if (name == "Escape") {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        } else {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        ExpectEnd(saver, name);
        ExpectStored(context, {7, 33, 0}, name + " after moving everything");
    }
    // With nothing stored, OK writes the defaults.
    context.key.Clear();
    Process saver;
    HWND dialog = StartDialog(context, "/c", saver);
    if (dialog == nullptr) return;
    Click(dialog, IDOK);
    ExpectEnd(saver, "OK");
    ExpectStored(context, {5, 60, 0}, "OK with nothing stored");
}

void RunLoadScenario(const Context& context) {
    struct Case {
        const char* what;
        uint32_t cycle, speed, build;
        int cycleShown, speedShown, checkShown;
    };
    const Case cases[] = {
        {"cycle_length 0", 0, 50, 0, 5, 50, 0},
        {"cycle_length 1001", 1001, 50, 0, 5, 50, 0},
        {"cycle_length 1000", 1000, 50, 0, 30, 50, 0},
        {"cycle_length 2147483648", 2147483648u, 50, 0, 5, 50, 0},
        {"cycle_length 4294967295", 4294967295u, 50, 0, 5, 50, 0},
        {"Speed -1", 12, 4294967295u, 0, 12, 60, 0},
        {"Speed 101", 12, 101, 0, 12, 60, 0},
        {"Speed 2147483648", 12, 2147483648u, 0, 12, 60, 0},
        {"Speed 0", 12, 0, 0, 12, 1, 0},
        {"Build 1", 12, 100, 1, 12, 100, 1},
        // The check box has two states; a stored 2 shows as checked and stays stored.
        {"Build 2", 12, 100, 2, 12, 100, 1},
    };
    for (const Case& c : cases) {
        Store(context, {static_cast<int>(c.cycle), static_cast<int>(c.speed), static_cast<int>(c.build)});
        Process saver;
        HWND dialog = StartDialog(context, "/c", saver);
        if (dialog == nullptr) return;
        const int cycle = Position(dialog, kCycleBar), speed = Position(dialog, kSpeedBar);
        const int check = CheckState(dialog);
        Check(cycle == c.cycleShown && speed == c.speedShown && check == c.checkShown,
              std::string(c.what) + " loads as sliders " + Str(c.cycleShown) + ", " + Str(c.speedShown) +
                  ", check " + Str(c.checkShown) + " (got " + Str(cycle) + ", " + Str(speed) + ", " +
                  Str(check) + ")");
        Click(dialog, IDCANCEL);
        ExpectEnd(saver, "Cancel");
        ExpectStored(context, {static_cast<int>(c.cycle), static_cast<int>(c.speed), static_cast<int>(c.build)},
                     std::string(c.what) + " stays stored after Cancel");
    }
    // A value of the wrong type counts as missing.
    {
        Store(context, {12, 0, 0});
        context.key.SetText("Speed", "100");
        Process saver;
        HWND dialog = StartDialog(context, "/c", saver);
        if (dialog == nullptr) return;
        Check(Position(dialog, kSpeedBar) == 60, "Speed stored as text loads as 60 (got " +
                                                     Str(Position(dialog, kSpeedBar)) + ")");
        Click(dialog, IDCANCEL);
        ExpectEnd(saver, "Cancel");
    }
    // The key follows the program file's name: a copy named garden.scr has its own settings.
    {
        const std::string copy = Join(context.outDir, "garden.scr");
        if (Check(CopyFileA(context.scr.c_str(), copy.c_str(), FALSE) != FALSE, "copy the saver to garden.scr")) {
            Context garden = context;
            garden.scr = copy;
            garden.key.app = "garden";
            Store(context, {3, 33, 0});
            Store(garden, {17, 77, 1});
            Process saver;
            HWND dialog = StartDialog(garden, "/c", saver);
            if (dialog == nullptr) return;
            Check(Position(dialog, kCycleBar) == 17 && Position(dialog, kSpeedBar) == 77 && CheckState(dialog) == 1,
                  "garden.scr loads from ...\\garden\\Config");
            Scroll(dialog, kCycleBar, SB_LINERIGHT);
            Click(dialog, IDOK);
            ExpectEnd(saver, "OK");
            ExpectStored(garden, {18, 77, 1}, "garden.scr writes its own key");
            ExpectStored(context, {3, 33, 0}, "tessaly's key is untouched");
            garden.key.Clear();
            DeleteFileA(copy.c_str());
        }
    }
    // Stored values the sliders cannot show are written back as the sliders show them.
    Store(context, {200, 0, 2});
    Process saver;
    HWND dialog = StartDialog(context, "/c", saver);
    if (dialog == nullptr) return;
    Check(Position(dialog, kCycleBar) == 30 && Position(dialog, kSpeedBar) == 1,
          "cycle_length 200 and Speed 0 show as 30 and 1");
    Click(dialog, IDOK);
    ExpectEnd(saver, "OK");
    uint32_t build = 99;
    context.key.Get("Build", build);
    ExpectStored(context, {30, 1, static_cast<int>(build)}, "OK after 200 and 0");
    Check(build == 0 || build == 1 || build == 2, "Build is written from the check box (got " + Str(build) + ")");
}

void RunAboutScenario(const Context& context) {
    context.key.Clear();
    Process saver;
    HWND dialog = StartDialog(context, "/c", saver);
    if (dialog == nullptr) return;
    struct Opener {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    const Opener openers[] = {
        {"the system menu item", WM_SYSCOMMAND, 0x10},
        {"the system menu item with low bits set", WM_SYSCOMMAND, 0x1F},
        {"the About button", WM_COMMAND, MAKEWPARAM(kAbout, BN_CLICKED)},
    };
    bool first = true;
    for (const Opener& opener : openers) {
        PostMessageA(dialog, opener.message, opener.wParam,
                     opener.message == WM_COMMAND ? reinterpret_cast<LPARAM>(GetDlgItem(dialog, kAbout)) : 0);
        HWND about = WaitForAbout(saver.Id());
        if (!Check(about != nullptr, std::string(opener.what) + " opens the About box")) continue;
        Check(GetWindow(about, GW_OWNER) == dialog, "the About box is owned by the settings dialog");
        Check(!IsWindowEnabled(dialog), "the settings dialog is disabled while the About box is open");
        HWND text = nullptr;
        for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (TextOf(child).rfind("Tessaly Screen Saver.", 0) == 0) text = child;
        }
        Check(text != nullptr &&
                  TextOf(text) == "Tessaly Screen Saver.\n\nDisplays spring flowers, summer flowers, fall leaves, "
                                  "and snow in an ever changing sequence.",
              "the About box shows its text");
        if (first) {
            RECT rect{};
            GetWindowRect(about, &rect);
            PumpFor(300);
            CaptureScreen(rect).WriteBmp(Join(context.outDir, "about.bmp"));
            first = false;
        }
        PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
        Check(WaitGone(about), "OK closes the About box");
        PumpFor(200);
        Check(IsWindowEnabled(dialog) != FALSE, "the settings dialog is enabled again");
    }
    // The system menu, opened and chosen with the keyboard: Alt+Space, then
    // Up (from the first item to the last) and Enter.
    SetForegroundWindow(dialog);
    PumpFor(200);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND menu = nullptr;
    for (DWORD start = GetTickCount(); menu == nullptr && GetTickCount() - start < kEndTimeout;) {
        for (HWND hwnd : WindowsOf(saver.Id(), "#32768"))
            if (IsWindowVisible(hwnd)) menu = hwnd;
        if (menu == nullptr) PumpFor(50);
    }
    if (Check(menu != nullptr, "Alt+Space opens the system menu")) {
        RECT dialogRect{}, menuRect{};
        GetWindowRect(dialog, &dialogRect);
        GetWindowRect(menu, &menuRect);
        RECT both{};
        UnionRect(&both, &dialogRect, &menuRect);
        PumpFor(300);
        CaptureScreen(both).WriteBmp(Join(context.outDir, "system-menu.bmp"));
        for (WORD key : {VK_UP, VK_RETURN}) {
            SendKey(key);
            PumpFor(200);
        }
        HWND about = WaitForAbout(saver.Id());
        if (Check(about != nullptr, "the last item of the system menu opens the About box")) {
            PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
            Check(WaitGone(about), "OK closes the About box");
        }
    }
    Click(dialog, IDCANCEL);
    ExpectEnd(saver, "Cancel");
}

}  // namespace tessaly::testhost
