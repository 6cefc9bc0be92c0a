// One run on a Wayland compositor: the client, a surface on every output
// (kept in step with outputs that come and go), the seat's input for the
// saver, the saver session that owns the canvases, and the events that
// drive them all on the run's EventLoop: the display's connection, the
// signal pipe and the surfaces' timers; with every output out of sight it
// sleeps until an event.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Client.h"
#include "linux/Clock.h"
#include "linux/EventLoop.h"
#include "OutputSurface.h"
#include "linux/Run.h"
#include "Seat.h"
#include "linux/SignalPipe.h"
#include "device/GdiObjects.h"
#include "session/SaverSession.h"

namespace tessaly {

struct RunOptions {
    bool wallpaper = false;  // background layer, no input, ends by a signal
    bool stats = false;      // once a second on stderr: ticks, paints, frames, bytes copied, memory
    std::string onlyOutput;  // the wallpaper covers only the output of this name (empty: all)
};

class WaylandRun final : public ClientEvents, public InputEvents {
public:
    WaylandRun(GardenState& state, GdiObjects& objects, RunOptions options, const Warn& warn);
    ~WaylandRun() override;  // canvases first, then surfaces, seat, connection
    WaylandRun(const WaylandRun&) = delete;
    WaylandRun& operator=(const WaylandRun&) = delete;

    // Connects and covers the outputs there are. False with the reason.
    bool Start(std::string& error);
    // Until the run ends; false with the reason when the connection broke
    // or an output there was at the start cannot be covered.
    bool Loop(SignalPipe& signals, std::string& error);
    DrawingEnd End() const { return {session_.EndingSignal()}; }

private:
    // ClientEvents
    void OutputDescribed(Output& output) override;
    void OutputGone(Output& output) override;
    void SeatAdded(wl_seat* seat) override;
    void SeatGone(wl_seat* seat) override;
    // InputEvents
    void Pressed(wl_surface* surface) override;
    void Moved(wl_surface* surface, double x, double y) override;

    bool Wanted(const Output& output) const;
    std::string NoSuchOutput() const;
    void Cover(Output& output);
    OutputSurface* SurfaceOf(wl_surface* surface) const;
    FullScreenWindow* SaverCanvasOf(wl_surface* surface) const;
    void Drop(OutputSurface& surface);
    void Settle();
    void HandKeyboard();
    void ReportStats();
    void Flush();

    RunOptions options_;
    const Warn& warn_;
    EventLoop loop_;  // its sources go last
    Client client_{*this};
    std::unique_ptr<Seat> seat_;
    std::vector<std::unique_ptr<OutputSurface>> surfaces_;
    std::vector<const OutputSurface*> initial_;  // covered at the start: failing them all fails the run
    bool coveredAny_ = false;
    SaverSession session_;
    bool started_ = false;
    Watch connection_, signalled_;
    Timer statsBeat_;
    SurfaceCounts counts_;
    uint64_t totalTicks_ = 0;
};

}  // namespace tessaly
