// A Windows program that asks GDI where MM_ANISOTROPIC puts logical points.
// The render tests run it under Wine and compare with the Cairo device's
// mapping, exact half pixels above all.
//
//   map-probe.exe INPUT OUTPUT
//
// Each input line: WX WY VX VY WOX WOY VOX VOY FIRST LAST, the window and
// viewport extents and origins, then a range of logical values. The output
// line for it holds LPtoDP of the points (v, v) for v = FIRST .. LAST, as
// "x y" pairs.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    FILE* in = std::fopen(argv[1], "r");
    if (in == nullptr) return 3;
    FILE* out = std::fopen(argv[2], "w");
    if (out == nullptr) return 8;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return 5;
    int wx, wy, vx, vy, wox, woy, vox, voy, first, last;
    while (std::fscanf(in, "%d %d %d %d %d %d %d %d %d %d", &wx, &wy, &vx, &vy, &wox, &woy, &vox, &voy, &first,
                       &last) == 10) {
        SetMapMode(dc, MM_ANISOTROPIC);
        if (!SetWindowExtEx(dc, wx, wy, nullptr) || !SetViewportExtEx(dc, vx, vy, nullptr)) return 6;
        SetWindowOrgEx(dc, wox, woy, nullptr);
        SetViewportOrgEx(dc, vox, voy, nullptr);
        for (int v = first; v <= last; ++v) {
            POINT p{v, v};
            if (!LPtoDP(dc, &p, 1)) return 7;
            std::fprintf(out, " %ld %ld", p.x, p.y);
        }
        std::fputc('\n', out);
    }
    std::fclose(in);
    DeleteDC(dc);
    return std::fclose(out) == 0 ? 0 : 9;
}
