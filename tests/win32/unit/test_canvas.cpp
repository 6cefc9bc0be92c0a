// The canvas's real window and the settings dialog, in this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "win32/app/FailureReport.h"
#include "win32/app/PreviewHandle.h"
#include "win32/app/Win32CanvasHost.h"
#include "win32/app/Win32SaverHost.h"
#include "win32/app/Resources.h"
#include "win32/app/SettingsDialog.h"
#include "win32/framework/SystemError.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "settings/Settings.h"
#include "support/Fakes.h"

namespace tessaly::win32 {
namespace {

void PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// The process's garden for these tests.
GardenState garden;

class ProbeCanvas : public CanvasWindow {
public:
    explicit ProbeCanvas(bool* destroyed) : CanvasWindow(garden, ProcessGdiObjects()), destroyed_(destroyed) {}
    ~ProbeCanvas() override { *destroyed_ = true; }
    // What the canvas keeps to itself.
    int32_t SceneCounter() const { return sceneCounter; }
    bool ClientRectRead() const { return clientRectRead != 0; }
    Size ClientSize() const { return clientRect; }

private:
    bool* destroyed_;
};

// A window that borrows the canvas of a binding, as the dialog's preview does.
struct Borrowed {
    bool destroyed = false;
    CanvasBinding binding{std::make_unique<ProbeCanvas>(&destroyed)};
    ProbeCanvas& canvas = static_cast<ProbeCanvas&>(binding.Canvas());
    Win32CanvasHost window{CanvasSource::Borrowed(binding), Win32CanvasHost::WhenGone::Stay};
};

TEST(Win32CanvasHost, ClassHasTheInvisibleCursorAndNoBackground) {
    Borrowed b;
    auto& [destroyed, binding, canvas, window] = b;
    std::string error;
    ASSERT_TRUE(window.CreateCanvas(0, WS_POPUP, RECT{0, 0, 50, 40}, nullptr, error)) << error;
    HWND hwnd = window.GetSafeHwnd();
    EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(GetClassLongA(hwnd, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(hwnd, GCLP_HCURSOR)),
              LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_INVISIBLE)));
    char title[8] = "x";
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ(title, "");
    DestroyWindow(hwnd);
    EXPECT_EQ(binding.Host(), nullptr) << "the window no longer hosts the canvas";
    EXPECT_FALSE(destroyed) << "a borrowed canvas outlives its window";
}

TEST(Win32CanvasHost, TicksAndPaintsIntoTheWindow) {
    Borrowed b;
    auto& [destroyed, binding, canvas, window] = b;
    garden.speedSetting = 100;  // a tick every 5 ms
    garden.buildSetting = 0;
    std::string error;
    ASSERT_TRUE(window.CreateCanvas(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, RECT{0, 0, 280, 200}, nullptr, error)) << error;
    PumpUntil([&] { return canvas.SceneCounter() >= 3; }, 5000);
    EXPECT_GE(canvas.SceneCounter(), 3);
    EXPECT_TRUE(canvas.ClientRectRead());
    EXPECT_EQ(canvas.ClientSize(), (Size{280, 200}));

    std::set<COLORREF> colours;
    HDC dc = GetDC(window.GetSafeHwnd());
    for (int y = 0; y < 200; y += 4)
        for (int x = 0; x < 280; x += 4) colours.insert(GetPixel(dc, x, y));
    ReleaseDC(window.GetSafeHwnd(), dc);
    EXPECT_GE(colours.size(), 3u) << "figures were painted";
    DestroyWindow(window.GetSafeHwnd());
}

TEST(Win32CanvasHost, OtherTimersGetTheDefaultHandling) {
    Borrowed b;
    auto& [destroyed, binding, canvas, window] = b;
    std::string error;
    ASSERT_TRUE(window.CreateCanvas(0, WS_POPUP, RECT{0, 0, 50, 40}, nullptr, error)) << error;
    SendMessageA(window.GetSafeHwnd(), WM_TIMER, 2, 0);
    SendMessageA(window.GetSafeHwnd(), WM_TIMER, 0, 0);
    EXPECT_EQ(canvas.SceneCounter(), 0);
    SendMessageA(window.GetSafeHwnd(), WM_TIMER, kCanvasTimerId, 0);
    EXPECT_EQ(canvas.SceneCounter(), 1);
    DestroyWindow(window.GetSafeHwnd());
}

// How a window object made with new went: how often, and whether the run
// still held a canvas bound to it then.
struct Ending {
    void Record(const SaverSession& session, const WindowHost& window) {
        ++deletions;
        boundAtEnd = session.CanvasOf(window) != nullptr;
    }
    int deletions = 0;
    bool boundAtEnd = false;
};

class ProbeHost : public Win32CanvasHost {
public:
    ProbeHost(SaverSession& session, Ending* ending)
        : Win32CanvasHost(CanvasSource::Preview(session), WhenGone::DeleteThis), session_(session), ending_(ending) {}
    ~ProbeHost() override { ending_->Record(session_, *this); }

private:
    SaverSession& session_;
    Ending* ending_;
};

TEST(Win32CanvasHost, AFailedCreationEndsTheWindowObjectOnceAndMakesNoCanvas) {
    SaverSession session(garden, ProcessGdiObjects());
    Ending ending;
    HWND noWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(0x7FFF0001));
    std::string error;
    EXPECT_FALSE((new ProbeHost(session, &ending))->CreateCanvas(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, noWindow, error));
    EXPECT_EQ(error, SystemErrorText(ERROR_INVALID_WINDOW_HANDLE)) << "the system's reason";
    EXPECT_EQ(ending.deletions, 1);
    EXPECT_FALSE(ending.boundAtEnd);
    EXPECT_TRUE(session.Running()) << "no window of the run ever existed";
}

TEST(Win32CanvasHost, ARunWindowThatGoesLetsGoOfItsCanvasAndEndsTheRun) {
    int ends = 0;
    Ending ending;
    SaverSession session(garden, ProcessGdiObjects(), [&ends] { ++ends; });
    auto* window = new ProbeHost(session, &ending);
    std::string error;
    ASSERT_TRUE(window->CreateCanvas(0, WS_POPUP, RECT{0, 0, 50, 40}, nullptr, error)) << error;
    ASSERT_NE(window->Canvas(), nullptr);
    EXPECT_EQ(session.CanvasOf(*window), window->Canvas());
    DestroyWindow(window->GetSafeHwnd());
    EXPECT_FALSE(ending.boundAtEnd) << "the run let go of the canvas before the window object went";
    EXPECT_FALSE(session.Running());
    EXPECT_EQ(session.EndingSignal(), 0);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(ending.deletions, 1);
}

// A window whose creation fails in WM_CREATE is destroyed at once.
class RefusingCanvasHost : public ProbeHost {
public:
    using ProbeHost::ProbeHost;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_CREATE) {
            result = -1;
            return true;
        }
        return ProbeHost::OnWndMsg(message, wParam, lParam, result);
    }
};

TEST(Win32CanvasHost, ACreationRefusedInWmCreateEndsTheWindowObjectOnce) {
    SaverSession session(garden, ProcessGdiObjects());
    Ending ending;
    std::string error;
    EXPECT_FALSE((new RefusingCanvasHost(session, &ending))->CreateCanvas(0, WS_POPUP, RECT{0, 0, 10, 10}, nullptr, error));
    EXPECT_EQ(ending.deletions, 1);
    EXPECT_FALSE(ending.boundAtEnd);
}

// Drives the modal settings dialog from a thread timer inside its own loop.
class SettingsDialogTest : public ::testing::Test {
protected:
    static SettingsDialog* dialog;
    static std::function<void(HWND)> script;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND hwnd = dialog->GetSafeHwnd();
        if (hwnd == nullptr) return;
        KillTimer(nullptr, id);
        script(hwnd);
    }
    INT_PTR Run(SettingsDialog& d, std::function<void(HWND)> steps) {
        dialog = &d;
        script = std::move(steps);
        SetTimer(nullptr, 0, 300, &Tick);
        return d.DoModal();
    }
};
SettingsDialog* SettingsDialogTest::dialog = nullptr;
std::function<void(HWND)> SettingsDialogTest::script;

TEST_F(SettingsDialogTest, LivePreviewFollowsTheControlsAndOkKeepsThePositions) {
    SettingsDialog d(garden);
    d.cycleLength = 200;
    d.speed = 0;
    d.build = 0;
    int shownCycle = -1, shownSpeed = -1, speedAfterRight = -1, buildAfterClick = -1;
    bool previewHosted = false;
    const INT_PTR result = Run(d, [&](HWND hwnd) {
        shownCycle = GetScrollPos(d.cycleBar.GetSafeHwnd(), SB_CTL);
        shownSpeed = GetScrollPos(d.speedBar.GetSafeHwnd(), SB_CTL);
        previewHosted = d.preview.Host() != nullptr;
        SendMessageA(hwnd, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), reinterpret_cast<LPARAM>(d.speedBar.GetSafeHwnd()));
        speedAfterRight = garden.speedSetting;
        SendMessageA(GetDlgItem(hwnd, IDC_STEP_BUILD), BM_CLICK, 0, 0);
        buildAfterClick = garden.buildSetting;
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shownCycle, 30) << "200 shows at the end of the cycle slider";
    EXPECT_EQ(shownSpeed, 1) << "0 shows at the start of the speed slider";
    EXPECT_TRUE(previewHosted);
    EXPECT_EQ(speedAfterRight, 100) << "the speed slider sets the preview's speed";
    EXPECT_EQ(buildAfterClick, 1) << "the check box switches the preview to one figure per paint";
    EXPECT_EQ(d.cycleLength, 30);
    EXPECT_EQ(d.speed, 100);
    EXPECT_EQ(d.build, 1);
    EXPECT_EQ(d.preview.Host(), nullptr) << "the preview's window went with the dialog";
}

TEST_F(SettingsDialogTest, CancelLeavesTheFieldsAsTheyWere) {
    SettingsDialog d(garden);
    d.cycleLength = 7;
    d.speed = 33;
    d.build = 0;
    const INT_PTR result = Run(d, [&](HWND hwnd) {
        SendMessageA(hwnd, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(d.cycleBar.GetSafeHwnd()));
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(d.cycleLength, 7);
    EXPECT_EQ(d.speed, 33);
}

// What the power manager sends a window registered for a setting: its GUID and a DWORD.
struct PowerSetting { GUID setting; DWORD length; DWORD data; };
void SendPowerSetting(HWND hwnd, const GUID& setting, DWORD data) {
    PowerSetting message{setting, sizeof data, data};
    SendMessageA(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&message));
}

// A saver window that counts the canvas's timer messages and tells how it went.
class ProbeSaverHost : public Win32SaverHost {
public:
    ProbeSaverHost(SaverSession& session, Ending* ending) : Win32SaverHost(session), session_(session), ending_(ending) {}
    ~ProbeSaverHost() override { ending_->Record(session_, *this); }
    int ticks = 0;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        ticks += message == WM_TIMER && wParam == kCanvasTimerId;
        return Win32SaverHost::OnWndMsg(message, wParam, lParam, result);
    }

private:
    SaverSession& session_;
    Ending* ending_;
};

TEST(Win32SaverHost, TheDisplayGoingOffStopsTheTicksAndOnOrDimmedResumesThem) {
    garden.speedSetting = 100;
    int ends = 0;
    Ending ending;
    testing::ScriptedRandom draws(garden.random);  // the garden's draws, counted: every scene built takes some
    SaverSession session(garden, ProcessGdiObjects(), [&ends] { ++ends; });
    auto* saver = new ProbeSaverHost(session, &ending);
    std::string error;
    ASSERT_TRUE(saver->CreateFullScreen(RECT{0, 0, 120, 90}, error)) << error;
    HWND hwnd = saver->GetSafeHwnd();
    CanvasWindow& canvas = *saver->Canvas();
    for (DWORD seen : {1u, 2u}) {
        SendPowerSetting(hwnd, GUID_CONSOLE_DISPLAY_STATE, 0);
        SendPowerSetting(hwnd, GUID_ACDC_POWER_SOURCE, 1);  // another setting changes nothing
        EXPECT_FALSE(canvas.Visible());
        EXPECT_FALSE(KillTimer(hwnd, kCanvasTimerId)) << "no timer runs while the display is off";
        const int ticks = saver->ticks;
        const std::size_t drawn = draws.Count();
        SendPowerSetting(hwnd, GUID_CONSOLE_DISPLAY_STATE, seen);
        EXPECT_TRUE(canvas.Visible());
        PumpUntil([&] { return saver->ticks > ticks + 2 && draws.Count() > drawn; }, 5000);
        EXPECT_GT(saver->ticks, ticks + 2) << "display state " << seen << ": the timer runs again";
        EXPECT_GT(draws.Count(), drawn) << "display state " << seen << ": the garden grows on";
    }
    DestroyWindow(hwnd);  // the window lets go of its canvas and ends the run
    EXPECT_FALSE(ending.boundAtEnd);
    EXPECT_EQ(ending.deletions, 1);
    EXPECT_EQ(ends, 1);
}

TEST(SaverCommands, ScreenSaveAndCloseAreSwallowedExactly) {
    EXPECT_TRUE(SwallowsSysCommand(0xF140));
    EXPECT_TRUE(SwallowsSysCommand(0xF060));
    EXPECT_FALSE(SwallowsSysCommand(0xF141));  // a low bit set: default handling
    EXPECT_FALSE(SwallowsSysCommand(0xF062));
    EXPECT_FALSE(SwallowsSysCommand(0xF020));  // SC_MINIMIZE
}

TEST(PreviewHandle, ReadsLikeDecimalConversion) {
    EXPECT_EQ(ParseDecimalHandle("1234"), 1234);
    EXPECT_EQ(ParseDecimalHandle("  42xyz"), 42);
    EXPECT_EQ(ParseDecimalHandle("+7"), 7);
    EXPECT_EQ(ParseDecimalHandle("-3"), -3);
    EXPECT_EQ(ParseDecimalHandle("0x10"), 0);  // decimal only: stops at 'x'
    EXPECT_EQ(ParseDecimalHandle(""), 0);
    EXPECT_EQ(ParseDecimalHandle(nullptr), 0);
    EXPECT_EQ(ParseDecimalHandle("99999999999999999999999999"), 0);

    HWND pane = nullptr;
    std::string error;
    EXPECT_FALSE(PreviewPane(nullptr, pane, error));
    EXPECT_EQ(error, "/p needs the handle of the window to show the preview in");
    EXPECT_FALSE(PreviewPane("12\x1b", pane, error)) << "no window has handle 12";
    EXPECT_EQ(error, "'12\\x1b' is the handle of no window");
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(PreviewPane(std::to_string(reinterpret_cast<uintptr_t>(window)).c_str(), pane, error));
    EXPECT_EQ(pane, window);
    DestroyWindow(window);
}

// What OutputDebugString said (a debugger sees the same exception first), and
// every message box of this thread, read and closed by a timer inside its loop.
std::string debugOutput;
std::vector<std::string> boxesShown;

LONG CALLBACK CatchDebugOutput(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode == DBG_PRINTEXCEPTION_C)
        debugOutput += reinterpret_cast<const char*>(e->ExceptionRecord->ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_SEARCH;
}

void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND box, LPARAM) -> BOOL {
        char kind[16] = {}, title[64] = {}, text[256] = {};
        GetClassNameA(box, kind, sizeof kind);
        if (std::string(kind) != "#32770" || !IsWindowVisible(box)) return TRUE;
        GetWindowTextA(box, title, sizeof title);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's message
        boxesShown.push_back(std::string(title) + ": " + text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return FALSE;
    }, 0);
}

TEST(FailureReport, TheReasonGoesToTheDebugOutputAndToABoxOnlyWhereTheUserLooks) {
    void* handler = AddVectoredExceptionHandler(1, &CatchDebugOutput);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseBoxes);
    ReportFailure("cannot cover monitor 2 of 2: Access denied", false);
    EXPECT_EQ(debugOutput, "tessaly: cannot cover monitor 2 of 2: Access denied\n");
    EXPECT_TRUE(boxesShown.empty()) << "a saver nobody may be watching shows no box";
    ReportFailure("cannot store the setting Speed: Access denied", true);
    EXPECT_EQ(boxesShown, (std::vector<std::string>{"Tessaly Saver: Cannot store the setting Speed: Access denied."}));
    EXPECT_EQ(debugOutput, "tessaly: cannot cover monitor 2 of 2: Access denied\n"
                           "tessaly: cannot store the setting Speed: Access denied\n");
    KillTimer(nullptr, timer);
    RemoveVectoredExceptionHandler(handler);
}

}  // namespace
}  // namespace tessaly::win32
