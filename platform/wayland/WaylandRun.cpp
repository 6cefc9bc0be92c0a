#include "WaylandRun.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>

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
    surfaces_.push_back(std::make_unique<OutputSurface>(globals, output, role, capture, loop_, warn_));
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

// After every round of events: what they did to the surfaces and the run.
// A surface that failed (said in one line: the other outputs keep their
// gardens) or was taken away goes; when no output there was at the start
// could be covered, the run fails. One that shows its first picture gets
// its canvas. The statistics wait while nothing is seen, so that the
// process sleeps then.
void WaylandRun::Settle() {
    for (std::size_t i = 0; i < surfaces_.size();) {
        OutputSurface& surface = *surfaces_[i];
        if (!surface.Failure().empty()) {
            const bool initial = std::find(initial_.begin(), initial_.end(), &surface) != initial_.end();
            if (initial && initial_.size() == 1 && surfaces_.size() == 1 && !coveredAny_)
                return loop_.Fail(surface.Failure());
            warn_(surface.Failure());
        }
        if (!surface.Failure().empty() || surface.Closed()) {
            Drop(surface);
            continue;
        }
        if (surface.TakeShown()) {
            coveredAny_ = true;
            if (options_.wallpaper) surface.Bind(session_.AddCanvas(surface));
            else surface.Bind(session_.AddSaverCanvas(surface));
        }
        ++i;
    }
    if (!options_.wallpaper) HandKeyboard();
    if (!session_.Running()) return loop_.Quit();
    const bool seen = std::any_of(surfaces_.begin(), surfaces_.end(), [this](const auto& surface) {
        const CanvasWindow* canvas = session_.CanvasOf(*surface);
        return canvas != nullptr && canvas->Visible();
    });
    if (options_.stats && seen && !statsBeat_.Armed()) statsBeat_.At(MonotonicNs() + kNsPerSecond);
    if (!seen) statsBeat_.Off();
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

void WaylandRun::ReportStats() {
    statsBeat_.At(MonotonicNs() + kNsPerSecond);
    for (const auto& surface : surfaces_) {
        const SurfaceCounts c = surface->TakeCounts();
        counts_.ticks += c.ticks;
        counts_.paints += c.paints;
        counts_.frames += c.frames;
        counts_.bytesCopied += c.bytesCopied;
        counts_.pixelsShown += c.pixelsShown;
    }
    totalTicks_ += counts_.ticks;
    char line[240];
    const uint64_t frames = counts_.frames != 0 ? counts_.frames : 1;
    std::snprintf(line, sizeof line,
                  "stats ticks/s %" PRIu64 " paints/s %" PRIu64 " ticks %" PRIu64 " rss_kb %ld frames/s %" PRIu64
                  " bytes/frame %" PRIu64 " pixels/frame %" PRIu64,
                  counts_.ticks, counts_.paints, totalTicks_, ResidentKilobytes(), counts_.frames,
                  counts_.bytesCopied / frames, counts_.pixelsShown / frames);
    warn_(line);
    counts_ = SurfaceCounts{};
}

// What was asked of the compositor goes out; what the socket does not take
// yet goes once it can.
void WaylandRun::Flush() {
    if (wl_display_flush(client_.Display()) >= 0) return connection_.Events(EPOLLIN);
    if (errno == EAGAIN) return connection_.Events(EPOLLIN | EPOLLOUT);
    loop_.Fail(client_.ConnectionError());
}

bool WaylandRun::Loop(SignalPipe& signals, std::string& error) {
    wl_display* display = client_.Display();
    connection_.Attach(loop_, wl_display_get_fd(display), EPOLLIN, [this, display](uint32_t revents) {
        if ((revents & (EPOLLIN | EPOLLERR | EPOLLHUP)) != 0 && wl_display_dispatch(display) < 0)
            return loop_.Fail(client_.ConnectionError());
        if ((revents & EPOLLOUT) != 0) Flush();
    });
    // Events read while sending are handled, and requests sent, before any wait.
    connection_.BeforeWait([this, display] {
        if (wl_display_dispatch_pending(display) < 0) return loop_.Fail(client_.ConnectionError());
        Settle();
        Flush();
    });
    if (signals.Ok())
        signalled_.Attach(loop_, signals.ReadFd(), EPOLLIN, [this, &signals](uint32_t) { session_.Signalled(signals.Take()); });
    statsBeat_.Attach(loop_, 50 * kNsPerMs, [this] { ReportStats(); });
    loop_.AfterEvents([this] { Settle(); });
    if (signals.Ok()) session_.Signalled(signals.Take());  // one that came during start-up
    return loop_.Run(error);
}

}  // namespace tessaly
