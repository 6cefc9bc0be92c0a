// The real window of a canvas: the core's CanvasWindow does the garden; this
// class registers the window class (invisible cursor 129, no background
// brush), creates the window, forwards create / timer 1 / paint / destroy
// and serves as the canvas's WindowHost. A preview or saver window owns its
// canvas and deletes itself and the canvas once its window is gone; the
// settings dialog's preview only borrows the dialog's canvas.
#pragma once

#include <windows.h>

#include <memory>

#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

namespace tessaly::win32 {

// The canvas's one timer.
constexpr UINT_PTR kCanvasTimerId = 1;

class Win32CanvasHost : public Wnd, public WindowHost {
public:
    // Owns the canvas; made with new, it deletes itself after its window is gone.
    explicit Win32CanvasHost(std::unique_ptr<CanvasWindow> canvas);
    // Borrows a canvas that outlives the window (the dialog's preview).
    explicit Win32CanvasHost(CanvasWindow& canvas);
    ~Win32CanvasHost() override;

    // False when the window could not be made. An object that owns its
    // canvas is gone after a failure, as it would be after its window.
    bool CreateCanvas(DWORD exStyle, DWORD style, const RECT& rect, HWND parent);
    CanvasWindow& Canvas() { return *canvas_; }

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override;
    void RepaintNow() override;
    Size ClientSize() override;
    void RequestClose() override;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PostNcDestroy() override;

private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);

    static const MessageEntry<Win32CanvasHost> kMessages[];
    std::unique_ptr<CanvasWindow> owned_;
    CanvasWindow* canvas_;
    bool* goneFlag_ = nullptr;  // set by PostNcDestroy while CreateCanvas runs
};

}  // namespace tessaly::win32
