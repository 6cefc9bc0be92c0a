// A DrawingDevice that paints through Cairo (image, PDF or X11 surfaces).
// By default it reproduces GDI's pixels: aliased even-odd fills whose left
// and top edges are inside and right and bottom edges outside, a one-pixel
// cosmetic outline stepped as GDI steps it, and GDI's Ellipse. The smooth
// style anti-aliases instead, over the same mapping.
#pragma once

#include <cairo.h>

#include <vector>

#include "GdiRaster.h"
#include "device/DrawingDevice.h"
#include "device/PortableGdiObjects.h"

namespace tessaly {

enum class CairoStyle { GdiPixels, Smooth };

// Where GDI's whole-pixel runs go when the target is no image in memory: a
// display server's own rectangle fill does in one request what Cairo would
// do with a path of rectangles per run.
class PixelRunSink {
public:
    virtual ~PixelRunSink() = default;
    virtual void Fill(const std::vector<PixelRun>& runs, ColourRef colour) = 0;
};

class CairoDevice final : public DrawingDevice {
public:
    // Draws on `cr`, which the caller keeps alive; GDI's pixels go to `sink`
    // where one is given. Handles must come from PortableGdiObjects.
    explicit CairoDevice(cairo_t* cr, CairoStyle style = CairoStyle::GdiPixels, PixelRunSink* sink = nullptr);

    // The state a fresh paint context starts in: MM_TEXT (identity mapping),
    // the default black pen and white brush selected. Call it again when the
    // cairo_t's target, matrix or clip has changed.
    void ResetPaintState();

    GdiHandle SelectObject(GdiHandle object) override;
    void SetMapModeAnisotropic() override;
    void SetWindowExt(int cx, int cy) override;
    void SetViewportExt(int cx, int cy) override;
    void SetViewportOrg(int x, int y) override;
    bool Polygon(const Point* points, int count) override;
    bool Polyline(const Point* points, int count) override;
    bool Ellipse(int left, int top, int right, int bottom) override;

    Point ToDevice(Point logical) const;
    // The fill step of Polygon on its own, in device pixels: the ALTERNATE
    // rule with left and top edges inside (no outline), scan-converted
    // exactly as GDI does.
    void FillDevicePolygon(const Point* devicePoints, int count, ColourRef colour);

private:
    struct Selected {
        GdiHandle handle;
        ColourRef colour;
    };

    void MapPoints(const Point* points, int count);
    void SetColour(ColourRef colour);
    void FillRuns(const std::vector<PixelRun>& runs, ColourRef colour);
    bool CanWritePixels() const;
    void WritePixels(const std::vector<PixelRun>& runs, ColourRef colour);
    void TracePath(const Point* devicePoints, int count, bool close, double offset);

    cairo_t* cr_;
    CairoStyle style_;
    PixelRunSink* sink_;
    bool writePixels_ = false;  // whole-pixel runs go straight into image memory
    bool anisotropic_ = false;
    AnisotropicMapping mapping_;
    Selected pen_{};
    Selected brush_{};
    std::vector<Point> devicePoints_;  // reused between calls
    std::vector<PixelRun> runs_;
    std::vector<PixelRun> interior_;
};

}  // namespace tessaly
