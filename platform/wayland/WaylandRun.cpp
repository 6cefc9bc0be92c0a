#include "WaylandRun.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "linux/Clock.h"
#include "linux/Messages.h"

namespace tessaly {

WaylandRun::WaylandRun(GardenState& state, GdiObjects& objects, RunOptions options, const Warn& warn)
    : options_(std::move(options)), warn_(warn), session_(state, objects) {}

WaylandRun::~WaylandRun() {
    session_.TearDown();
    surfaces_.clear();
    seat_.reset();
}

bool WaylandRun::Start(std::string& error) {
    if (!client_.Connect(!options_.wallpaper, error)) return false;
    const Globals& globals = client_.Get();
    if (options_.wallpaper && globals.layerShell == nullptr) {
        error = "the compositor has no layer shell: a wallpaper needs its background layer";
        return false;
    }
    if (globals.layerShell == nullptr && globals.wmBase == nullptr) {
        error = "the compositor offers neither layer shell nor xdg-shell windows to cover its outputs with";
        return false;
    }
    if (globals.layerShell == nullptr)
        warn_("the compositor has no layer shell; falling back to a full-screen window on each monitor");
    started_ = true;
    if (seat_ != nullptr) seat_->Started();
    for (const auto& output : client_.Outputs())
        if (output->Ready()) Cover(*output);
    for (const auto& surface : surfaces_) initial_.push_back(surface.get());
    const auto& outputs = client_.Outputs();
    if (std::none_of(outputs.begin(), outputs.end(), [this](const auto& output) { return Wanted(*output); }))
        warn_(NoSuchOutput());
    return true;
}

// A lock screen naming an output we do not see would show black without a
// word. The run goes on: Cover takes the output when it is plugged in.
std::string WaylandRun::NoSuchOutput() const {
    std::string names;
    for (const auto& output : client_.Outputs())
        names += (names.empty() ? "'" : ", '") + Printable(output->Name()) + "'";
    return "no output is named '" + Printable(options_.onlyOutput) +
           "' (SWAYLOCK_PLUGIN_OUTPUT_NAME); the outputs are " + (names.empty() ? "none" : names) +
           "; it is covered when it appears";
}

// SWAYLOCK_PLUGIN_OUTPUT_NAME: one process per output, each with a garden
// of its own. An output whose name the compositor does not tell is covered.
bool WaylandRun::Wanted(const Output& output) const {
    return options_.onlyOutput.empty() || output.Name().empty() || output.Name() == options_.onlyOutput;
}

void WaylandRun::Cover(Output& output) {
    if (!started_ || !Wanted(output)) return;
    for (const auto& surface : surfaces_)
        if (&surface->GetOutput() == &output) return;
    const Globals& globals = client_.Get();
    const SurfaceRole role = options_.wallpaper          ? SurfaceRole::Background
                             : globals.layerShell != nullptr ? SurfaceRole::Overlay
                                                             : SurfaceRole::FullScreenWindow;
    const bool capture = !options_.wallpaper && globals.screencopy != nullptr;
    surfaces_.push_back(std::make_unique<OutputSurface>(globals, output, role, capture, session_, warn_));
}

void WaylandRun::OutputDescribed(Output& output) {
    for (const auto& surface : surfaces_)
        if (&surface->GetOutput() == &output) return surface->OutputChanged();
    Cover(output);
}

void WaylandRun::OutputGone(Output& output) {
    for (const auto& surface : surfaces_)
        if (&surface->GetOutput() == &output) return Drop(*surface);
}

void WaylandRun::SeatAdded(wl_seat* seat) { seat_ = std::make_unique<Seat>(seat, *this); }

void WaylandRun::SeatGone(wl_seat* seat) {
    if (seat_ != nullptr && seat_->Proxy() == seat) seat_.reset();
}

OutputSurface* WaylandRun::SurfaceOf(wl_surface* surface) const {
    for (const auto& s : surfaces_)
        if (s->Surface() == surface) return s.get();
    return nullptr;
}

FullScreenWindow* WaylandRun::SaverCanvasOf(wl_surface* surface) const {
    OutputSurface* s = SurfaceOf(surface);
    if (options_.wallpaper || s == nullptr) return nullptr;
    return static_cast<FullScreenWindow*>(session_.CanvasOf(*s));
}

void WaylandRun::Pressed(wl_surface* surface) {
    if (options_.wallpaper) return;
    if (FullScreenWindow* canvas = SaverCanvasOf(surface)) canvas->OnButtonOrKeyDown();
    else session_.Close();  // before any canvas, or off our surfaces: the user is back all the same
}

// Surfaces report in their own logical pixels; the layout is what the
// pointer really moves across, from one output to the next.
void WaylandRun::Moved(wl_surface* surface, double x, double y) {
    FullScreenWindow* canvas = SaverCanvasOf(surface);
    if (canvas == nullptr) return;
    const Point place = SurfaceOf(surface)->GetOutput().Position();
    canvas->OnMouseMove(place.x + static_cast<int>(x), place.y + static_cast<int>(y));
}

// An output gone, or its surface taken away: its canvas goes, then the
// surface; the others carry on.
void WaylandRun::Drop(OutputSurface& surface) {
    session_.Remove(surface);
    if (seat_ != nullptr) seat_->Forget(surface.Surface());
    initial_.erase(std::remove(initial_.begin(), initial_.end(), &surface), initial_.end());
    surfaces_.erase(std::find_if(surfaces_.begin(), surfaces_.end(),
                                 [&surface](const auto& s) { return s.get() == &surface; }));
}

void WaylandRun::Step(int64_t now) {
    for (const auto& surface : surfaces_) surface->Step(now);
    for (std::size_t i = 0; i < surfaces_.size();) {
        OutputSurface& surface = *surfaces_[i];
        if (!surface.Failure().empty()) {
            if (std::find(initial_.begin(), initial_.end(), &surface) != initial_.end()) {
                failure_ = surface.Failure();
                return;
            }
            warn_(surface.Failure());
        }
        if (!surface.Failure().empty() || surface.Closed()) {
            Drop(surface);
            continue;
        }
        if (surface.TakeShown()) {
            if (options_.wallpaper) session_.AddCanvas(surface);
            else session_.AddSaverCanvas(surface);
        }
        ++i;
    }
    if (!options_.wallpaper) HandKeyboard();
}

// One surface of the saver holds the keyboard, and only once every surface
// is on its output: surfaces that each ask for it as they appear take it
// from each other, and the compositor may leave it with none of them. The
// oldest surface holds it; when its output goes, the next oldest.
void WaylandRun::HandKeyboard() {
    if (surfaces_.empty()) return;
    for (const auto& surface : surfaces_)
        if (surface->HoldsKeyboard()) return;
    for (const auto& surface : surfaces_)
        if (!surface->Mapped()) return;
    surfaces_.front()->HoldKeyboard(true);
}

int64_t WaylandRun::NextDeadline(int64_t now) const {
    int64_t next = -1;
    bool seen = false;
    for (const auto& surface : surfaces_) {
        const int64_t at = surface->Deadline(now);
        if (at >= 0) next = next < 0 ? at : std::min(next, at);
        const CanvasWindow* canvas = session_.CanvasOf(*surface);
        seen = seen || (canvas != nullptr && canvas->Visible());
    }
    // The statistics wait while nothing is seen: the process sleeps then.
    if (options_.stats && seen) next = next < 0 ? statsBeat_.Next() : std::min(next, statsBeat_.Next());
    return next;
}

void WaylandRun::ReportStats(int64_t now) {
    if (!options_.stats) return;
    if (!statsBeat_.Due(now)) return;
    for (const auto& surface : surfaces_) {
        const SurfaceCounts c = surface->TakeCounts();
        counts_.ticks += c.ticks;
        counts_.paints += c.paints;
        counts_.frames += c.frames;
        counts_.bytesCopied += c.bytesCopied;
    }
    totalTicks_ += counts_.ticks;
    char line[200];
    std::snprintf(line, sizeof line,
                  "stats ticks/s %" PRIu64 " paints/s %" PRIu64 " ticks %" PRIu64 " rss_kb %ld frames/s %" PRIu64
                  " bytes/frame %" PRIu64,
                  counts_.ticks, counts_.paints, totalTicks_, ResidentKilobytes(), counts_.frames,
                  counts_.frames != 0 ? counts_.bytesCopied / counts_.frames : 0);
    warn_(line);
    counts_ = SurfaceCounts{};
}

bool WaylandRun::Loop(SignalPipe& signals, std::string& error) {
    wl_display* display = client_.Display();
    if (signals.Ok()) session_.Signalled(signals.Take());  // one that came during start-up
    while (session_.Running()) {
        if (wl_display_dispatch_pending(display) < 0) {
            error = client_.ConnectionError();
            return false;
        }
        int64_t now = MonotonicNs();
        Step(now);
        if (!failure_.empty()) {
            error = failure_;
            return false;
        }
        ReportStats(now);
        if (!session_.Running()) break;
        // Events read meanwhile are dispatched first; only then may it sleep.
        if (wl_display_prepare_read(display) != 0) continue;
        pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {signals.ReadFd(), POLLIN, 0}};
        if (wl_display_flush(display) < 0) {
            if (errno != EAGAIN) {
                wl_display_cancel_read(display);
                error = client_.ConnectionError();
                return false;
            }
            fds[0].events |= POLLOUT;  // the rest goes out once the socket takes it
        }
        now = MonotonicNs();
        const int64_t deadline = NextDeadline(now);
        const int64_t wait = deadline < 0 ? -1 : std::max<int64_t>(deadline - now, 0);
        const timespec timeout{static_cast<time_t>(wait / kNsPerSecond), static_cast<long>(wait % kNsPerSecond)};
        const int count = ppoll(fds, signals.Ok() ? 2 : 1, wait < 0 ? nullptr : &timeout, nullptr);
        if (count < 0 && errno != EINTR) {
            wl_display_cancel_read(display);
            error = std::string("poll: ") + std::strerror(errno);
            return false;
        }
        if (count > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
            if (wl_display_read_events(display) < 0) {
                error = client_.ConnectionError();
                return false;
            }
        } else {
            wl_display_cancel_read(display);
        }
        if (count > 0 && signals.Ok() && (fds[1].revents & POLLIN) != 0) session_.Signalled(signals.Take());
    }
    return true;
}

}  // namespace tessaly
