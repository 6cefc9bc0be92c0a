// The real window of a canvas: the core's CanvasWindow does the garden; this
// class registers the window class (invisible cursor 129, no background
// brush), creates the window, forwards create / timer / paint / final destroy
// and serves as the canvas's WindowHost.
#pragma once

#include <windows.h>

#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

namespace tessaly::win32 {

class CanvasWnd : public Wnd, public WindowHost {
public:
    // deleteWhenGone: this object deletes itself after its window is gone,
    // as the canvas does when it was made with autoDelete 1.
    CanvasWnd(CanvasWindow& canvas, bool deleteWhenGone);
    ~CanvasWnd() override;

    // False when the window could not be made. An object made with
    // deleteWhenGone is gone after a failure, as it would be after its window.
    bool CreateCanvas(DWORD exStyle, DWORD style, const RECT& rect, HWND parent);
    CanvasWindow& Canvas() { return *canvas_; }

    // WindowHost
    void SetTimer(int id, unsigned periodMs) override;
    void KillTimer(int id) override;
    void InvalidateRect(bool erase) override;
    void UpdateWindow() override;
    Rect GetClientRect() override;
    void PostClose() override;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PostNcDestroy() override;

private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);

    static const MessageEntry<CanvasWnd> kMessages[];
    CanvasWindow* canvas_;
    bool deleteWhenGone_;
    bool* goneFlag_ = nullptr;  // set by PostNcDestroy while CreateCanvas runs
};

}  // namespace tessaly::win32
