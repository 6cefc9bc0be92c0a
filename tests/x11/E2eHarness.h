// What the end-to-end tests drive the real tessaly program with: a private
// Xvfb, the program as a child process, xdotool for input, and an X client of
// the test's own to make windows, look at pixels and save screenshots.
#pragma once

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/Scratch.h"

namespace e2e {

// Where screenshots and program output are kept (under the build tree).
std::string ArtefactPath(const std::string& name);

class Process {
public:
    // argv[0] is a path or a name on PATH. `environment` entries "KEY=VALUE"
    // set, "KEY" alone unsets; stdout and stderr go to `outputFile`.
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            const std::string& outputFile);
    ~Process();  // kills and reaps a child still running
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // Waits up to `seconds`; true once it has ended (status in WaitStatus()).
    bool WaitExit(double seconds);
    int WaitStatus() const { return status_; }
    void Signal(int signal);
    std::string Output() const;

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool reaped_ = false;
    std::string outputFile_;
};

// Runs a command to completion (at most 20 s) and returns its exit code.
int RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment);

class Xvfb {
public:
    // Ok() tells whether it started. With `heads`: Xephyr with one Xinerama
    // head per rectangle (a desktop of several monitors) shown on an Xvfb of
    // width x height; without `randr` its clients see the heads only through Xinerama.
    Xvfb(int width, int height, const std::vector<XRectangle>& heads = {}, bool randr = true);
    ~Xvfb();
    bool Ok() const { return !name_.empty(); }
    const std::string& Name() const { return name_; }  // ":N"
    void Kill();                                       // the server goes away
    // SIGSTOP: a server that answers nothing, until Continue(); true once it is stopped.
    bool Stop();
    void Continue() { server_->Signal(SIGCONT); }

private:
    std::unique_ptr<Xvfb> host_;  // Xephyr's
    std::unique_ptr<Process> server_;
    std::string name_;
};

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    size_t CountOf(uint32_t rgb) const;
    size_t CountDiffering(const Image& other) const;
    bool SavePng(const std::string& path) const;
};

class XClient {
public:
    explicit XClient(const std::string& display);
    ~XClient();
    bool Ok() const { return display_ != nullptr; }
    Display* Dpy() const { return display_; }
    Window Root() const { return DefaultRootWindow(display_); }

    void SetRootColour(uint32_t rgb);
    // A mapped top-level window filled with `rgb` at (x, y), returned once it is viewable.
    Window CreateWindow(int width, int height, uint32_t rgb, int x = 10, int y = 10);
    void Destroy(Window window);
    Image Grab(Window window);
    // Polls until the window shows at least `minimum` pixels that differ
    // from `before` (true) or `seconds` pass (false); `last` gets the image.
    bool WaitForChange(Window window, const Image& before, size_t minimum, double seconds, Image& last);
    // Polls until `done` holds for what the window shows or `seconds` pass; the last image.
    Image WaitFor(Window window, const std::function<bool(const Image&)>& done, double seconds);
    // The mapped override-redirect top-level window, or 0 after `seconds`.
    Window WaitForSaverWindow(double seconds) {
        const std::vector<Window> found = WaitForSaverWindows(1, seconds);
        return found.empty() ? 0 : found.back();
    }
    // All of them, once there are `count` (those there are after `seconds`).
    std::vector<Window> WaitForSaverWindows(size_t count, double seconds);

private:
    Display* display_ = nullptr;
};

void Sleep(double seconds);
// Polls `done` every 50 ms until it holds (true) or `seconds` pass (false).
bool WaitUntil(const std::function<bool()>& done, double seconds);
using tessaly::testing::ReadFile;

// The real XScreenSaver daemon on `display`, run as nobody (it refuses root)
// with a scratch HOME whose ~/.xscreensaver has `programsLine` (say
// "tessaly --root") as its only display mode; `program` is copied into
// HOME/bin, which leads its PATH. It logs everything (--verbose --log).
class XScreenSaverDaemon {
public:
    XScreenSaverDaemon(const std::string& display, const std::string& program, const std::string& programsLine);
    ~XScreenSaverDaemon();  // asks the daemon to exit, keeps its log as an artefact
    bool Ok() const { return daemon_ != nullptr; }
    // xscreensaver-command ARGUMENT as the daemon's user, retried until the daemon answers.
    int Command(const std::string& argument);
    std::string Log() const { return ReadFile(home_ + "/xscreensaver.log"); }
    bool WaitForLog(const std::string& text, double seconds) const {
        return WaitUntil([&] { return Log().find(text) != std::string::npos; }, seconds);
    }

private:
    std::vector<std::string> AsNobody(const std::vector<std::string>& argv) const;
    std::string scratch_, home_, display_;
    std::unique_ptr<Process> daemon_;
};

}  // namespace e2e
