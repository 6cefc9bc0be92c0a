// A Windows program that draws a shape script with real GDI into a 32-bit
// top-down DIB section and writes its pixels raw (B, G, R, x per pixel).
// The render tests run it under Wine and compare with the Cairo device.
//
//   gdi-probe.exe SCRIPT OUTPUT
//
// Script: "size W H" first, then any of
//   map WX WY VX VY        MM_ANISOTROPIC, window extent WX WY, viewport VX VY
//   pen 0|1                BLACK_PEN or WHITE_PEN
//   brush R G B            a new solid brush (the previous one is deleted)
//   polygon N x y ...      Polygon
//   polyline N x y ...     Polyline
//   ellipse l t r b        Ellipse
// The bitmap starts grey (128, 128, 128).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    FILE* in = std::fopen(argv[1], "r");
    if (in == nullptr) return 3;
    int width = 0, height = 0;
    if (std::fscanf(in, " size %d %d", &width, &height) != 2 || width <= 0 || height <= 0) return 4;

    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) return 5;
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    std::memset(bits, 0x80, static_cast<size_t>(width) * height * 4);

    HBRUSH brush = nullptr;
    char command[32];
    while (std::fscanf(in, " %31s", command) == 1) {
        if (!std::strcmp(command, "map")) {
            int wx, wy, vx, vy;
            if (std::fscanf(in, "%d %d %d %d", &wx, &wy, &vx, &vy) != 4) return 6;
            SetMapMode(dc, MM_ANISOTROPIC);
            SetWindowExtEx(dc, wx, wy, nullptr);
            SetViewportExtEx(dc, vx, vy, nullptr);
            SetViewportOrgEx(dc, 0, 0, nullptr);
        } else if (!std::strcmp(command, "pen")) {
            int white;
            if (std::fscanf(in, "%d", &white) != 1) return 6;
            SelectObject(dc, GetStockObject(white ? WHITE_PEN : BLACK_PEN));
        } else if (!std::strcmp(command, "brush")) {
            int r, g, b;
            if (std::fscanf(in, "%d %d %d", &r, &g, &b) != 3) return 6;
            HBRUSH made = CreateSolidBrush(RGB(r, g, b));
            SelectObject(dc, made);
            if (brush != nullptr) DeleteObject(brush);
            brush = made;
        } else if (!std::strcmp(command, "polygon") || !std::strcmp(command, "polyline")) {
            int count;
            if (std::fscanf(in, "%d", &count) != 1 || count < 0) return 6;
            std::vector<POINT> points(count);
            for (POINT& p : points)
                if (std::fscanf(in, "%ld %ld", &p.x, &p.y) != 2) return 6;
            if (command[4] == 'g') {
                Polygon(dc, points.data(), count);
            } else {
                Polyline(dc, points.data(), count);
            }
        } else if (!std::strcmp(command, "ellipse")) {
            int l, t, r, b;
            if (std::fscanf(in, "%d %d %d %d", &l, &t, &r, &b) != 4) return 6;
            Ellipse(dc, l, t, r, b);
        } else {
            return 7;
        }
    }
    GdiFlush();
    std::fclose(in);

    FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) return 8;
    const size_t pixels = static_cast<size_t>(width) * height;
    const bool written = std::fwrite(bits, 4, pixels, out) == pixels;
    std::fclose(out);

    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    if (brush != nullptr) DeleteObject(brush);
    DeleteDC(dc);
    return written ? 0 : 9;
}
