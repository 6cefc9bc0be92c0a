// The window layer: program name, message tables, window life, main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/framework/MessageMap.h"
#include "win32/framework/SystemError.h"
#include "win32/framework/WinApp.h"
#include "win32/framework/Wnd.h"

namespace tessaly::win32 {
namespace {

TEST(SystemErrorText, TheSystemsWordsOnOneLineWithoutTheirFullStop) {
    const std::string denied = SystemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_GT(denied.size(), 3u);
    EXPECT_EQ(denied.find_first_of("\r\n"), std::string::npos) << denied;
    EXPECT_NE(denied.back(), '.') << denied;
    EXPECT_EQ(SystemErrorText(ERROR_SUCCESS), "no reason given");
    EXPECT_EQ(SystemErrorText(0x2000FFFF), "error 536936447");  // an application's code: no text
}

TEST(ProgramBaseName, IsTheFileNameWithoutFolderOrExtension) {
    EXPECT_EQ(ProgramBaseName("C:\\Windows\\System32\\tessaly.scr"), "tessaly");
    EXPECT_EQ(ProgramBaseName("Z:/work/build-win/garden.SCR"), "garden");
    EXPECT_EQ(ProgramBaseName("my.saver.scr"), "my.saver");
    EXPECT_EQ(ProgramBaseName("C:\\dir.with.dots\\plain"), "plain");
    EXPECT_EQ(ProgramBaseName("C:tessaly.scr"), "tessaly");
}

constexpr UINT kAsk = WM_APP + 1, kAskDerived = WM_APP + 2, kNobody = WM_APP + 3;

class BaseWindow : public Wnd {
public:
    bool gone = false;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PostNcDestroy() override { gone = true; }

private:
    LRESULT OnAsk(WPARAM, LPARAM) { return 1; }
    LRESULT OnGetTextLength(WPARAM, LPARAM) { return Default() + 100; }
    static const MessageEntry<BaseWindow> kMessages[];
};
const MessageEntry<BaseWindow> BaseWindow::kMessages[] = {
    {kAsk, &BaseWindow::OnAsk},
    {WM_GETTEXTLENGTH, &BaseWindow::OnGetTextLength},
};
bool BaseWindow::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           Wnd::OnWndMsg(message, wParam, lParam, result);
}

class DerivedWindow : public BaseWindow {
protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnAsk(WPARAM, LPARAM) { return 2; }
    LRESULT OnAskDerived(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 10; }
    static const MessageEntry<DerivedWindow> kMessages[];
};
const MessageEntry<DerivedWindow> DerivedWindow::kMessages[] = {
    {kAsk, &DerivedWindow::OnAsk},
    {kAskDerived, &DerivedWindow::OnAskDerived},
};
bool DerivedWindow::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchFromTable(this, kMessages, message, wParam, lParam, result) ||
           BaseWindow::OnWndMsg(message, wParam, lParam, result);
}

const char* TestClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Wnd::WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TessalyUnitTestWindow";
        RegisterClassA(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

TEST(Wnd, DerivedTableFirstThenBaseThenDefault) {
    DerivedWindow window;
    ASSERT_TRUE(window.CreateEx(0, TestClass(), "abc", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hwnd = window.GetSafeHwnd();
    EXPECT_EQ(Wnd::FromHandle(hwnd), &window);
    EXPECT_EQ(SendMessageA(hwnd, kAsk, 0, 0), 2);
    EXPECT_EQ(SendMessageA(hwnd, kAskDerived, 4, 0), 40);
    EXPECT_EQ(SendMessageA(hwnd, kNobody, 0, 0), 0);
    EXPECT_EQ(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0), 103) << "a handler can call the default first";
    EXPECT_FALSE(window.gone);
    DestroyWindow(hwnd);
    EXPECT_TRUE(window.gone);
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(Wnd::FromHandle(hwnd), nullptr);
}

// Takes a posted WM_QUIT off this thread's queue, if there is one.
bool TakeQuit() {
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST(Wnd, TheMainWindowGoingEndsTheMessageLoop) {
    while (TakeQuit()) {
    }
    BaseWindow window;
    ASSERT_TRUE(window.CreateEx(0, TestClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    WinApp::Current()->SetMainWindow(&window);
    DestroyWindow(window.GetSafeHwnd());
    EXPECT_EQ(WinApp::Current()->MainWindow(), nullptr);
    EXPECT_TRUE(TakeQuit());
}

TEST(Wnd, AnOrdinaryWindowGoingLeavesTheLoopRunning) {
    while (TakeQuit()) {
    }
    BaseWindow window;
    ASSERT_TRUE(window.CreateEx(0, TestClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    DestroyWindow(window.GetSafeHwnd());
    EXPECT_FALSE(TakeQuit());
}

}  // namespace
}  // namespace tessaly::win32
