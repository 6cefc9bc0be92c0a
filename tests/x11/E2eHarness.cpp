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
