#include "E2eHarness.h"

#include <X11/Xutil.h>
#include <cairo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
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

std::string Process::Output() const {
    std::ifstream in(outputFile_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
    Process p(argv, environment, ArtefactPath("command.log"));
    if (!p.WaitExit(20)) return -1;
    return WIFEXITED(p.WaitStatus()) ? WEXITSTATUS(p.WaitStatus()) : -1;
}

Xvfb::Xvfb(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    Start({"Xvfb", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"}, {}, ArtefactPath("xvfb.log"));
}

void Xvfb::Start(std::vector<std::string> argv, const std::vector<std::string>& environment, const std::string& log) {
    int fds[2];
    if (pipe(fds) != 0) return;
    // -displayfd: the server picks a free display and writes its number here.
    argv.insert(argv.begin() + 1, {"-displayfd", std::to_string(fds[1])});
    server_ = std::make_unique<Process>(argv, environment, log);
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

Xephyr::Xephyr(const std::vector<Head>& heads, bool randr) {
    int width = 0, height = 0;
    for (const Head& h : heads) {
        width = std::max(width, h.x + h.width);
        height = std::max(height, h.y + h.height);
    }
    host_ = std::make_unique<Xvfb>(width, height);
    if (!host_->Ok()) return;
    std::vector<std::string> argv{"Xephyr", "+xinerama", "-nolisten", "tcp", "-noreset"};
    if (!randr) argv.insert(argv.end(), {"-extension", "RANDR"});
    // Each -origin places the -screen after it; screen 0 is the first head.
    for (const Head& h : heads)
        argv.insert(argv.end(), {"-origin", std::to_string(h.x) + "," + std::to_string(h.y), "-screen",
                                 std::to_string(h.width) + "x" + std::to_string(h.height)});
    Start(argv, {"DISPLAY=" + host_->Name()}, ArtefactPath("xephyr.log"));
}

Xephyr::~Xephyr() { Kill(); }

Xvfb::~Xvfb() { Kill(); }

void Xvfb::Kill() {
    if (!server_) return;
    server_->Signal(SIGTERM);
    if (!server_->WaitExit(5)) server_->Signal(SIGKILL);
    server_.reset();
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

Window XClient::CreateWindow(int width, int height, uint32_t rgb) {
    XSetWindowAttributes a{};
    a.background_pixel = rgb;
    a.event_mask = StructureNotifyMask;
    const Window w = XCreateWindow(display_, Root(), 10, 10, static_cast<unsigned>(width),
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
    const double end = Now() + seconds;
    for (;;) {
        last = Grab(window);
        if (last.CountDiffering(before) >= minimum) return true;
        if (Now() > end) return false;
        Sleep(0.05);
    }
}

Window XClient::WaitForSaverWindow(double seconds) {
    const std::vector<Window> found = WaitForSaverWindows(1, seconds);
    return found.empty() ? 0 : found.back();
}

std::vector<Window> XClient::WaitForSaverWindows(size_t count, double seconds) {
    const double end = Now() + seconds;
    std::vector<Window> found;
    do {
        found.clear();
        Window rootReturn, parent, *children = nullptr;
        unsigned n = 0;
        if (XQueryTree(display_, Root(), &rootReturn, &parent, &children, &n)) {
            for (unsigned i = 0; i < n; ++i) {
                XWindowAttributes a{};
                if (XGetWindowAttributes(display_, children[i], &a) && a.override_redirect &&
                    a.map_state == IsViewable)
                    found.push_back(children[i]);
            }
            XFree(children);
        }
        if (found.size() >= count) return found;
        Sleep(0.05);
    } while (Now() < end);
    return found;
}

Head XClient::Geometry(Window window) {
    XWindowAttributes a{};
    Window child;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(display_, window, &a) ||
        !XTranslateCoordinates(display_, window, Root(), 0, 0, &x, &y, &child))
        return Head{0, 0, 0, 0};
    return Head{x, y, a.width, a.height};
}

}  // namespace e2e
