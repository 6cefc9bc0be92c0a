#include "GdiRender.h"

#include <windows.h>
#include <objidl.h>  // before GDI+, which the lean windows.h leaves out
#include <gdiplus.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "headless/HeadlessHost.h"
#include "canvas/CanvasWindow.h"
#include "win32/gdi/MemoryBitmap.h"
#include "win32/gdi/Win32DrawingDevice.h"
#include "win32/gdi/Win32GdiObjects.h"

namespace tessaly::win32 {

namespace {

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    return wide;
}

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0) return false;
    std::string buffer(size, '\0');
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// Written under a temporary name beside the output, then renamed over it, so
// that the file appears whole or not at all.
bool WritePng(const MemoryBitmap& image, int width, int height, const std::string& path, std::string& error) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        error = "cannot start GDI+";
        return false;
    }
    bool written = false;
    {
        CLSID png{};
        Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppRGB,
                               static_cast<BYTE*>(image.Bits()));
        const std::string temp = path + ".part";
        if (!PngEncoder(png)) {
            error = "GDI+ has no PNG encoder";
        } else if (bitmap.Save(Wide(temp).c_str(), &png, nullptr) != Gdiplus::Ok) {
            error = "cannot write " + path;
            DeleteFileA(temp.c_str());
        } else if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            error = "cannot write " + path;
            DeleteFileA(temp.c_str());
        } else {
            written = true;
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return written;
}

}  // namespace

bool SupportedOnGdi(const RenderOptions& o, std::string& error) {
    if (o.format != OutputFormat::Png) error = "this build writes PNG only";
    else if (o.antialias) error = "--antialias needs the Cairo build; GDI draws the saver's own pixels";
    else if (!o.framesDir.empty()) error = "--frames needs the Cairo build";
    else if (o.background != "black" && o.background != "white") error = "--background takes black or white here";
    else return true;
    return false;
}

bool RunGdiRender(const RenderOptions& o, std::FILE* info, std::string& error) {
    const uint32_t seed = o.seed ? *o.seed : static_cast<uint32_t>(std::time(nullptr));
    MemoryBitmap image(o.width, o.height, o.background == "white" ? RGB(255, 255, 255) : RGB(0, 0, 0));
    if (!image.Valid()) {
        error = "cannot make a " + std::to_string(o.width) + "x" + std::to_string(o.height) + " bitmap";
        return false;
    }
    std::fprintf(info, "seed %u\n", seed);
    std::fflush(info);

    GardenState state = RenderGarden(o, seed);
    {
        HeadlessRun run(state, ProcessGdiObjects(), Size{o.width, o.height}, [&](CanvasWindow& canvas) {
            // Every paint starts from a fresh context, as BeginPaint gives one.
            const int saved = SaveDC(image.Dc());
            {
                Win32DrawingDevice device(image.Dc());
                canvas.OnPaint(device);
            }
            RestoreDC(image.Dc(), saved);
        });
        run.Ticks(o.ticks);
    }
    GdiFlush();
    if (!WritePng(image, o.width, o.height, o.output, error)) return false;
    std::fprintf(info, "wrote %s (%dx%d, %lld ticks, seed %u)\n", o.output.c_str(), o.width, o.height,
                 static_cast<long long>(o.ticks), seed);
    return true;
}

}  // namespace tessaly::win32
