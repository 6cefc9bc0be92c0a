// The GDI device and objects on a real memory bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "win32/gdi/MemoryBitmap.h"
#include "win32/gdi/Win32DrawingDevice.h"
#include "win32/gdi/Win32GdiObjects.h"
#include "device/GdiHolders.h"

namespace tessaly::win32 {
namespace {

// 0x00RRGGBB of one device pixel of the bitmap, once GDI has finished drawing.
uint32_t Pixel(const MemoryBitmap& image, int x, int y) {
    GdiFlush();
    BITMAP bitmap{};
    GetObjectA(GetCurrentObject(image.Dc(), OBJ_BITMAP), sizeof bitmap, &bitmap);
    return static_cast<const uint32_t*>(image.Bits())[y * bitmap.bmWidth + x] & 0xFFFFFF;
}

TEST(Win32GdiObjects, SolidBrushHasTheColourRef) {
    Win32GdiObjects objects;
    GdiHandle brush = objects.CreateSolidBrush(Rgb(10, 20, 30));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH logical{};
    ASSERT_EQ(GetObjectA(static_cast<HGDIOBJ>(brush), sizeof logical, &logical), static_cast<int>(sizeof logical));
    EXPECT_EQ(logical.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(logical.lbColor, RGB(10, 20, 30));
    EXPECT_TRUE(objects.DeleteObject(brush));
    EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(brush)), 0u);
}

TEST(Win32GdiObjects, StockPensSurviveDeletion) {
    Win32GdiObjects objects;
    GdiHandle white = objects.GetStockObject(kStockWhitePen);
    GdiHandle black = objects.GetStockObject(kStockBlackPen);
    EXPECT_EQ(white, GetStockObject(WHITE_PEN));
    EXPECT_EQ(black, GetStockObject(BLACK_PEN));
    objects.DeleteObject(white);
    EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(white)), static_cast<DWORD>(OBJ_PEN));
}

TEST(Win32GdiObjects, ReplacingABrushDeletesThePreviousOne) {
    Win32GdiObjects objects;
    GdiHandle first = nullptr;
    {
        CBrush holder(objects);
        ReplaceSolidBrush(holder, Rgb(1, 2, 3));
        first = holder.GetSafeHandle();
        EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(first)), static_cast<DWORD>(OBJ_BRUSH));
        ReplaceSolidBrush(holder, Rgb(4, 5, 6));
        EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(first)), 0u);
        first = holder.GetSafeHandle();
    }
    EXPECT_EQ(GetObjectType(static_cast<HGDIOBJ>(first)), 0u) << "the holder deletes its brush when it goes";
}

TEST(Win32DrawingDevice, MapsTheLogicalCanvasOntoTheClientArea) {
    MemoryBitmap image(140, 100, RGB(0, 0, 0));
    Win32GdiObjects objects;
    HGDIOBJ brush = static_cast<HGDIOBJ>(objects.CreateSolidBrush(Rgb(0, 200, 0)));
    {
        Win32DrawingDevice dc(image.Dc());
        dc.SetMapModeAnisotropic();
        dc.SetWindowExt(1400, 1000);
        dc.SetViewportExt(140, 100);
        dc.SetViewportOrg(0, 0);
        dc.SelectObject(objects.GetStockObject(kStockWhitePen));
        dc.SelectObject(brush);
        const Point square[] = {{700, 500}, {1400, 500}, {1400, 1000}, {700, 1000}};
        EXPECT_TRUE(dc.Polygon(square, 4));
    }
    EXPECT_EQ(Pixel(image, 20, 20), 0x000000u) << "outside the square";
    EXPECT_EQ(Pixel(image, 100, 70), 0x00C800u) << "fill of the bottom-right quarter";
    EXPECT_EQ(Pixel(image, 70, 75), 0xFFFFFFu) << "the one-pixel outline on its left edge";
    objects.DeleteObject(brush);
}

TEST(Win32DrawingDevice, PutsBackThePenAndBrushTheContextHad) {
    MemoryBitmap image(8, 8, RGB(0, 0, 0));
    Win32GdiObjects objects;
    HGDIOBJ originalPen = GetCurrentObject(image.Dc(), OBJ_PEN);
    HGDIOBJ originalBrush = GetCurrentObject(image.Dc(), OBJ_BRUSH);
    HGDIOBJ brush = static_cast<HGDIOBJ>(objects.CreateSolidBrush(Rgb(9, 9, 9)));
    {
        Win32DrawingDevice dc(image.Dc());
        EXPECT_EQ(dc.SelectObject(objects.GetStockObject(kStockBlackPen)), originalPen);
        EXPECT_EQ(dc.SelectObject(brush), originalBrush);
        EXPECT_EQ(dc.SelectObject(objects.GetStockObject(kStockWhitePen)), GetStockObject(BLACK_PEN));
        EXPECT_EQ(dc.SelectObject(nullptr), nullptr);
    }
    EXPECT_EQ(GetCurrentObject(image.Dc(), OBJ_PEN), originalPen);
    EXPECT_EQ(GetCurrentObject(image.Dc(), OBJ_BRUSH), originalBrush);
    EXPECT_TRUE(objects.DeleteObject(brush)) << "no longer selected, so really deleted";
}

TEST(Win32DrawingDevice, PolylineAndEllipseDraw) {
    MemoryBitmap image(20, 20, RGB(0, 0, 0));
    Win32GdiObjects objects;
    HGDIOBJ brush = static_cast<HGDIOBJ>(objects.CreateSolidBrush(Rgb(255, 0, 0)));
    {
        Win32DrawingDevice dc(image.Dc());
        dc.SelectObject(objects.GetStockObject(kStockWhitePen));
        const Point line[] = {{0, 0}, {10, 0}};
        EXPECT_TRUE(dc.Polyline(line, 2));
        dc.SelectObject(brush);
        EXPECT_TRUE(dc.Ellipse(4, 4, 16, 16));
    }
    EXPECT_EQ(Pixel(image, 9, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(image, 10, 0), 0x000000u) << "GDI leaves out the end point";
    EXPECT_EQ(Pixel(image, 10, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(image, 4, 10), 0xFFFFFFu) << "outline at the left of the box";
    EXPECT_EQ(Pixel(image, 16, 10), 0x000000u) << "the box's right edge is outside";
    objects.DeleteObject(brush);
}

}  // namespace
}  // namespace tessaly::win32
