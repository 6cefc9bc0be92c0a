// The real window of a canvas: the core's CanvasWindow does the garden; this
// class registers the window class (invisible cursor 129, no background
// brush), creates the window, forwards timer 1 and paint to the canvas and
// serves as its WindowHost. When the window exists its canvas comes from its
// CanvasSource (the run's session, or the dialog's own binding) and goes back
// there when the window is gone.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "canvas/CanvasWindow.h"
#include "canvas/WindowHost.h"
#include "win32/framework/MessageMap.h"
#include "win32/framework/Wnd.h"
#include "session/CanvasBinding.h"
#include "session/SaverSession.h"

namespace tessaly::win32 {

// The canvas's one timer.
constexpr UINT_PTR kCanvasTimerId = 1;

// Where a window's canvas comes from once the window exists, and where it
// goes when the window is gone.
class CanvasSource {
public:
    // A full-screen canvas of the run; any of its windows going ends the run.
    static CanvasSource Saver(SaverSession& session);
    // A plain canvas of the run (a preview); its window going ends the run.
    static CanvasSource Preview(SaverSession& session);
    // The canvas of a binding that outlives the window (the dialog's preview).
    static CanvasSource Borrowed(CanvasBinding& binding);

    CanvasWindow& Bind(WindowHost& host) const { return bind_(host); }
    void Unbind(WindowHost& host) const { unbind_(host); }

private:
    std::function<CanvasWindow&(WindowHost&)> bind_;
    std::function<void(WindowHost&)> unbind_;
};

class Win32CanvasHost : public Wnd, public WindowHost {
public:
    // Whether the object ends with its window (one made with new) or outlives it.
    enum class WhenGone { DeleteThis, Stay };
    Win32CanvasHost(CanvasSource source, WhenGone whenGone);

    // False, with the system's reason, when the window could not be made; an
    // object that ends with its window is gone then, as it would be after
    // its window.
    bool CreateCanvas(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, std::string& error);
    // The canvas while the window exists, else null.
    CanvasWindow* Canvas() const { return canvas_; }

    // WindowHost
    void StartTicking(unsigned periodMs) override;
    void StopTicking() override;
    void RequestPaint() override;
    void RepaintNow() override;
    Size ClientSize() override;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PostNcDestroy() override;

private:
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);

    static const MessageEntry<Win32CanvasHost> kMessages[];
    CanvasSource source_;
    WhenGone whenGone_;
    CanvasWindow* canvas_ = nullptr;
    bool* goneFlag_ = nullptr;  // set by PostNcDestroy while CreateCanvas runs
};

}  // namespace tessaly::win32
