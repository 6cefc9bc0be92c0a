#include "E2eHarness.h"

#include <X11/Xutil.h>
#include <cairo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

void Sleep(double seconds) {
    timespec t{static_cast<time_t>(seconds), static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

std::string ArtefactPath(const std::string& name) { return std::string(TESSALY_E2E_ARTEFACTS) + "/" + name; }

Process::Process(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 const std::string& outputFile)
    : outputFile_(outputFile) {
    pid_ = fork();
    if (pid_ != 0) return;
    // Child: ends with the test even when the test itself is killed (a
    // ctest timeout), so no Xvfb or saver is ever left running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1) _exit(127);  // the test is already gone
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
    }
    const int null = open("/dev/null", O_RDONLY);
    if (null >= 0) dup2(null, 0);
    for (const std::string& entry : environment) {
        const size_t equals = entry.find('=');
        if (equals == std::string::npos) unsetenv(entry.c_str());
        else setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

Process::~Process() {
    if (pid_ > 0 && !reaped_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
    }
}

bool Process::Running() {
    if (reaped_ || pid_ <= 0) return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
    return !reaped_;
}

bool Process::WaitExit(double seconds) {
    const double end = Now() + seconds;
    while (Running()) {
        if (Now() > end) return false;
        Sleep(0.01);
    }
    return true;
}

void Process::Signal(int signal) {
    if (!reaped_ && pid_ > 0) kill(pid_, signal);
}

std::string Process::Output() const { return ReadFile(outputFile_); }

bool WaitUntil(const std::function<bool()>& done, double seconds) {
    for (const double end = Now() + seconds; !done(); Sleep(0.05))
        if (Now() > end) return false;
    return true;
}

int RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
    Process p(argv, environment, ArtefactPath("command.log"));
    if (!p.WaitExit(20)) return -1;
    return WIFEXITED(p.WaitStatus()) ? WEXITSTATUS(p.WaitStatus()) : -1;
}

Xvfb::Xvfb(int width, int height, const std::vector<XRectangle>& heads, bool randr) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // -displayfd: the server picks a free display and writes its number here.
    std::vector<std::string> argv{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen}, env;
    if (!heads.empty()) {
        host_ = std::make_unique<Xvfb>(width, height);
        argv = {"Xephyr", "-displayfd", std::to_string(fds[1]), "+xinerama"};
        if (!randr) argv.insert(argv.end(), {"-extension", "RANDR"});
        for (const XRectangle& h : heads)  // each -origin places the -screen after it
            argv.insert(argv.end(), {"-origin", std::to_string(h.x) + "," + std::to_string(h.y), "-screen",
                                     std::to_string(h.width) + "x" + std::to_string(h.height)});
        env = {"DISPLAY=" + host_->Name()};
    }
    argv.insert(argv.end(), {"-nolisten", "tcp", "-noreset"});
    server_ = std::make_unique<Process>(argv, env, ArtefactPath(heads.empty() ? "xvfb.log" : "xephyr.log"));
    close(fds[1]);
    std::string number;
    char c;
    const double end = Now() + 15;
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    while (Now() < end) {
        const ssize_t n = read(fds[0], &c, 1);
        if (n == 1) {
            if (c == '\n') break;
            number += c;
        } else if (n == 0) {
            break;
        } else {
            Sleep(0.01);
        }
    }
    close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
}

Xvfb::~Xvfb() { Kill(); }

void Xvfb::Kill() {
    if (!server_) return;
    server_->Signal(SIGTERM);
    if (!server_->WaitExit(5)) server_->Signal(SIGKILL);
    server_.reset();
    host_.reset();
}

bool Xvfb::Stop() {
    server_->Signal(SIGSTOP);
    // Field 3 of /proc/PID/stat is the state; the name before it is "(Xvfb)" or "(Xephyr)".
    const std::string stat = "/proc/" + std::to_string(server_->Pid()) + "/stat";
    return WaitUntil([&] { return ReadFile(stat).find(") T ") != std::string::npos; }, 20);
}

size_t Image::CountOf(uint32_t rgb) const {
    size_t n = 0;
    for (uint32_t p : pixels) n += p == rgb;
    return n;
}

size_t Image::CountDiffering(const Image& other) const {
    if (other.pixels.size() != pixels.size()) return pixels.size();
    size_t n = 0;
    for (size_t i = 0; i < pixels.size(); ++i) n += pixels[i] != other.pixels[i];
    return n;
}

bool Image::SavePng(const std::string& path) const {
    if (width == 0) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
        std::memcpy(data + y * stride, &pixels[static_cast<size_t>(y) * width], static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(surface);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

XClient::XClient(const std::string& display) {
    display_ = XOpenDisplay(display.c_str());
    XSetErrorHandler(IgnoreXErrors);
}

XClient::~XClient() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

void XClient::SetRootColour(uint32_t rgb) {
    XSetWindowBackground(display_, Root(), rgb);
    XClearWindow(display_, Root());
    XSync(display_, False);
}

Window XClient::CreateWindow(int width, int height, uint32_t rgb, int x, int y) {
    XSetWindowAttributes a{};
    a.background_pixel = rgb;
    a.event_mask = StructureNotifyMask;
    const Window w = XCreateWindow(display_, Root(), x, y, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                   CWBackPixel | CWEventMask, &a);
    XMapRaised(display_, w);
    XEvent e;
    do XWindowEvent(display_, w, StructureNotifyMask, &e);
    while (e.type != MapNotify);
    XSync(display_, False);
    return w;
}

void XClient::Destroy(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

Image XClient::Grab(Window window) {
    Image image;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(display_, window, &a)) return image;
    XImage* x = XGetImage(display_, window, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                          AllPlanes, ZPixmap);
    if (x == nullptr) return image;
    image.width = a.width;
    image.height = a.height;
    image.pixels.resize(static_cast<size_t>(a.width) * a.height);
    for (int y = 0; y < a.height; ++y)
        for (int xx = 0; xx < a.width; ++xx)
            image.pixels[static_cast<size_t>(y) * a.width + xx] = XGetPixel(x, xx, y) & 0xFFFFFF;
    XDestroyImage(x);
    return image;
}

bool XClient::WaitForChange(Window window, const Image& before, size_t minimum, double seconds, Image& last) {
    last = WaitFor(window, [&](const Image& image) { return image.CountDiffering(before) >= minimum; }, seconds);
    return last.CountDiffering(before) >= minimum;
}

Image XClient::WaitFor(Window window, const std::function<bool(const Image&)>& done, double seconds) {
    Image last;
    WaitUntil([&] { return done(last = Grab(window)); }, seconds);
    return last;
}

std::vector<Window> XClient::WaitForSaverWindows(size_t count, double seconds) {
    const double end = Now() + seconds;
    std::vector<Window> found;
    do {
        Window rootReturn, parent, *children = nullptr;
        unsigned n = 0;
        found.clear();
        if (XQueryTree(display_, Root(), &rootReturn, &parent, &children, &n)) {
            for (unsigned i = 0; i < n; ++i) {
                XWindowAttributes a{};
                if (XGetWindowAttributes(display_, children[i], &a) && a.override_redirect &&
                    a.map_state == IsViewable)
                    found.push_back(children[i]);
            }
            XFree(children);
        }
        if (found.size() >= count) break;
        Sleep(0.05);
    } while (Now() < end);
    return found;
}

}  // namespace e2e

namespace e2e {

// Only the daemon's own settings: no fading (a faded screen is no garden), no
// locking (deactivating would ask for a password), no cycling to another
// mode, no blanking of its own during the test.
constexpr const char* kDaemonSettings =
    "timeout: 1:00:00\ncycle: 0:00:00\nlock: False\nfade: False\nunfade: False\nsplash: False\n"
    "dpmsEnabled: False\ngrabDesktopImages: False\ngrabVideoFrames: False\nmode: one\nselected: 0\n";

XScreenSaverDaemon::XScreenSaverDaemon(const std::string& display, const std::string& program,
                                       const std::string& programsLine)
    : display_(display) {
    char pattern[] = "/tmp/tessaly-xscreensaver-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    scratch_ = pattern;
    home_ = scratch_ + "/home";
    // nobody must reach its HOME; the run folder is private, as a session's is.
    const std::string setUp = "chmod 755 " + scratch_ + " && mkdir -p " + home_ + "/bin " + home_ + "/run && chmod 700 " +
                              home_ + "/run && cp '" + program + "' " + home_ + "/bin/tessaly";
    if (std::system(setUp.c_str()) != 0) return;
    std::ofstream(home_ + "/.xscreensaver") << kDaemonSettings << "programs: \\\n  \"Tessaly\"  " << programsLine
                                             << "  \\n\\\n\n";
    if (std::system(("chown -R nobody:nogroup " + home_).c_str()) != 0) return;
    daemon_ = std::make_unique<Process>(
        AsNobody({"xscreensaver", "--verbose", "--no-splash", "--log", home_ + "/xscreensaver.log"}),
        std::vector<std::string>{}, ArtefactPath("xscreensaver-daemon.out"));
}

XScreenSaverDaemon::~XScreenSaverDaemon() {
    if (daemon_) {
        Command("-exit");  // the daemon ends its helper and display modes with it
        if (!daemon_->WaitExit(5)) daemon_->Signal(SIGTERM);
        daemon_->WaitExit(5);
        std::ofstream(ArtefactPath("xscreensaver.log")) << Log();
    }
    if (!scratch_.empty()) RunCommand({"rm", "-rf", scratch_}, {});
}

std::vector<std::string> XScreenSaverDaemon::AsNobody(const std::vector<std::string>& argv) const {
    std::vector<std::string> full{"env", "-i", "DISPLAY=" + display_, "HOME=" + home_, "XDG_RUNTIME_DIR=" + home_ + "/run",
                                  "PATH=" + home_ + "/bin:/usr/bin:/bin", "setpriv", "--reuid=nobody", "--regid=nogroup",
                                  "--clear-groups"};
    full.insert(full.end(), argv.begin(), argv.end());
    return full;
}

int XScreenSaverDaemon::Command(const std::string& argument) {
    int code = -1;
    WaitUntil([&] { return (code = RunCommand(AsNobody({"xscreensaver-command", argument}), {})) == 0; }, 10);
    return code;
}

}  // namespace e2e
