// One run of the saver, the same on every platform: the canvases of the run
// (one per monitor or output, any number, added and removed while it runs),
// their shared first pointer position, the one end that any trigger on any of
// them brings, the order of teardown and the signal that ended it. A port supplies
// its windows (each a WindowHost), its events, its clock and its device; it
// runs its loop while Running() and then tears down.
//
// A run of plain canvases (a preview, a window handed over by another
// program, a wallpaper) has no triggers: it ends when its window goes or by
// a signal.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "canvas/CanvasWindow.h"
#include "canvas/FullScreenWindow.h"
#include "canvas/WindowHost.h"
#include "device/GdiObjects.h"
#include "session/CanvasBinding.h"
#include "state/GardenState.h"

namespace tessaly {

class SaverSession final : public SaverRun {
public:
    // `ended` is called once, when the run ends, so that a port whose loop
    // sleeps can wake it; the end takes effect after the event being handled.
    SaverSession(GardenState& state, GdiObjects& objects, std::function<void()> ended = {});
    ~SaverSession() override;  // tears down what is left
    SaverSession(const SaverSession&) = delete;
    SaverSession& operator=(const SaverSession&) = delete;

    // A window for the run exists (a monitor, an output): its canvas is made,
    // bound to it and created. Full-screen canvases watch the input.
    FullScreenWindow& AddSaverCanvas(WindowHost& host);
    CanvasWindow& AddCanvas(WindowHost& host);
    // That window alone is going (an output unplugged, a surface closed):
    // its canvas is unbound and goes; the others carry on.
    void Remove(WindowHost& host);
    // The canvas bound to `host`, or null.
    CanvasWindow* CanvasOf(const WindowHost& host) const;

    // How a run ends; the first end counts. The user came back (a key, a
    // button, a move, the focus elsewhere), the window the run drew in went
    // away under it, or a signal asked it to stop.
    void Close() override { End(); }
    void WindowGone() { End(); }
    void Signalled(int signal);
    Point& FirstMousePoint() override { return firstMousePoint_; }

    bool Running() const { return running_; }
    // The signal that ended the run, else 0.
    int EndingSignal() const { return signal_; }

    // Every canvas still bound is unbound and goes, oldest first; no call
    // reaches their hosts afterwards. A host must outlive its binding: a
    // port removes a host before it goes, or tears down first.
    void TearDown();

private:
    void End();
    CanvasWindow& Add(std::unique_ptr<CanvasWindow> canvas, WindowHost& host);

    GardenState& state_;
    GdiObjects& objects_;
    std::function<void()> ended_;
    std::vector<std::unique_ptr<CanvasBinding>> canvases_;
    Point firstMousePoint_{-1, -1};  // in the layout's coordinates, for every canvas of the run
    bool running_ = true;
    int signal_ = 0;
};

}  // namespace tessaly
