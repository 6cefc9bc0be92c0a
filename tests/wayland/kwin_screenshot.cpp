// A screenshot of one of KWin's outputs as a PNG, through KWin's screenshot
// D-Bus interface (org.kde.KWin.ScreenShot2.CaptureScreen, which writes the
// raw image into a pipe and answers with its size and format):
//   kwin_screenshot OUTPUT FILE.png
// KWin allows it to any caller with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1.
// KWin offers it where it composites with OpenGL; on its virtual backend
// KWin 6 needs a render node for that, and composites with QPainter without:
//   kwin_screenshot --compositing
// prints how KWin composites ("gl2", "qpainter", ...) once it does.
#include <cairo.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& what) {
    std::fprintf(stderr, "kwin_screenshot: %s\n", what.c_str());
    return 1;
}

// QImage's 32-bit formats whose bytes are Cairo's ARGB32 on this machine.
constexpr uint32_t kQImageRgb32 = 4, kQImageArgb32 = 5, kQImageArgb32Premultiplied = 6;

}  // namespace

int main(int argc, char** argv) {
    const bool compositing = argc == 2 && std::strcmp(argv[1], "--compositing") == 0;
    if (argc != 3 && !compositing) return Fail("usage: kwin_screenshot OUTPUT FILE.png | --compositing");
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) return Fail("no session bus");
    if (compositing) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        char* type = nullptr;
        int active = 0;
        if (sd_bus_get_property_trivial(bus, "org.kde.KWin", "/Compositor", "org.kde.kwin.Compositing", "active", &error,
                                        'b', &active) < 0 || !active ||
            sd_bus_get_property_string(bus, "org.kde.KWin", "/Compositor", "org.kde.kwin.Compositing",
                                       "compositingType", &error, &type) < 0)
            return Fail(std::string("KWin does not composite yet") + (error.message ? ": " + std::string(error.message) : ""));
        std::puts(type);
        return 0;
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return Fail("no pipe");
    sd_bus_message* reply = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const int called = sd_bus_call_method(bus, "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
                                          "CaptureScreen", &error, &reply, "sa{sv}h", argv[1], 1, "native-resolution",
                                          "b", 1, pipeFds[1]);
    close(pipeFds[1]);
    if (called < 0) return Fail(std::string("CaptureScreen: ") + (error.message ? error.message : std::strerror(-called)));
    uint32_t width = 0, height = 0, stride = 0, format = 0;
    sd_bus_message_enter_container(reply, 'a', "{sv}");
    while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
        const char* key = nullptr;
        sd_bus_message_read(reply, "s", &key);
        uint32_t* slot = !std::strcmp(key, "width")    ? &width
                         : !std::strcmp(key, "height") ? &height
                         : !std::strcmp(key, "stride") ? &stride
                         : !std::strcmp(key, "format") ? &format
                                                       : nullptr;
        if (slot != nullptr) sd_bus_message_read(reply, "v", "u", slot);
        else sd_bus_message_skip(reply, "v");
        sd_bus_message_exit_container(reply);
    }
    std::vector<unsigned char> pixels;
    unsigned char chunk[65536];
    for (ssize_t n; (n = read(pipeFds[0], chunk, sizeof chunk)) > 0;) pixels.insert(pixels.end(), chunk, chunk + n);
    if (format != kQImageRgb32 && format != kQImageArgb32 && format != kQImageArgb32Premultiplied)
        return Fail("an image of QImage format " + std::to_string(format) + ", not one of 32 bits");
    if (width == 0 || pixels.size() < static_cast<std::size_t>(stride) * height)
        return Fail("an image of " + std::to_string(pixels.size()) + " bytes for " + std::to_string(width) + "x" +
                    std::to_string(height));
    cairo_surface_t* image = cairo_image_surface_create_for_data(pixels.data(), CAIRO_FORMAT_RGB24, static_cast<int>(width),
                                                                 static_cast<int>(height), static_cast<int>(stride));
    if (cairo_surface_write_to_png(image, argv[2]) != CAIRO_STATUS_SUCCESS) return Fail(std::string("cannot write ") + argv[2]);
    std::printf("%ux%u\n", width, height);
}
