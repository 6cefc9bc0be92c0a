#include "GdiRender.h"

#include <windows.h>
#include <objbase.h>  // before GDI+, which the lean windows.h leaves out
#include <gdiplus.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "headless/HeadlessHost.h"
#include "shell/Printable.h"
#include "canvas/CanvasWindow.h"
#include "win32/gdi/MemoryBitmap.h"
#include "win32/gdi/Win32DrawingDevice.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "WholeFile.h"

namespace tessaly::win32 {

namespace {

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

// The picture as a PNG file's bytes, encoded by GDI+ into memory.
bool EncodePng(const MemoryBitmap& image, int width, int height, std::string& png, std::string& error) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        error = "cannot start GDI+";
        return false;
    }
    IStream* stream = nullptr;
    bool encoded = false;
    {
        CLSID encoder{};
        Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppRGB, static_cast<BYTE*>(image.Bits()));
        STATSTG stat{};
        if (!PngEncoder(encoder)) {
            error = "GDI+ has no PNG encoder";
        } else if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) {
            error = "not enough memory for the PNG";
        } else if (const Gdiplus::Status status = bitmap.Save(stream, &encoder, nullptr); status != Gdiplus::Ok) {
            error = "GDI+ cannot encode the PNG (status " + std::to_string(status) + ")";
        } else if (HGLOBAL memory = nullptr; GetHGlobalFromStream(stream, &memory) == S_OK &&
                                             stream->Stat(&stat, STATFLAG_NONAME) == S_OK) {
            png.assign(static_cast<const char*>(GlobalLock(memory)), static_cast<std::size_t>(stat.cbSize.QuadPart));
            GlobalUnlock(memory);
            encoded = true;
        } else {
            error = "cannot read the encoded PNG";
        }
        if (stream != nullptr) stream->Release();
    }
    Gdiplus::GdiplusShutdown(token);
    return encoded;
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
    std::string png;
    if (!EncodePng(image, o.width, o.height, png, error) || !WriteWholeFile(o.output, png, error)) return false;
    std::fprintf(info, "wrote %s (%dx%d, %lld ticks, seed %u)\n", Printable(o.output).c_str(), o.width, o.height,
                 static_cast<long long>(o.ticks), seed);
    return true;
}

}  // namespace tessaly::win32
