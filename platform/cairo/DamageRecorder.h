// Wraps the Cairo device of a paint and notes which device pixels each figure
// can have touched, so that only those are copied from the offscreen canvas
// to the window.
#pragma once

#include <vector>

#include "CairoDevice.h"

namespace tessaly {

class DamageRecorder final : public DrawingDevice {
public:
    explicit DamageRecorder(CairoDevice& device) : device_(device) {}

    GdiHandle SelectObject(GdiHandle object) override { return device_.SelectObject(object); }
    void SetMapModeAnisotropic() override { device_.SetMapModeAnisotropic(); }
    void SetWindowExt(int cx, int cy) override { device_.SetWindowExt(cx, cy); }
    void SetViewportExt(int cx, int cy) override { device_.SetViewportExt(cx, cy); }
    void SetViewportOrg(int x, int y) override { device_.SetViewportOrg(x, y); }
    bool Polygon(const Point* points, int count) override;
    bool Polyline(const Point* points, int count) override;
    bool Ellipse(int left, int top, int right, int bottom) override;

    // One rectangle (right and bottom exclusive) per figure drawn, each
    // already grown by a pixel on every side for outlines and rounding.
    const std::vector<Rect>& Damage() const { return damage_; }

private:
    void Note(const Point* points, int count);
    CairoDevice& device_;
    std::vector<Rect> damage_;
};

// More rectangles than this are copied as their bounding box: one big copy
// costs less than a long clip list.
constexpr std::size_t kMaxDamageRects = 64;

// Rectangles clipped to width x height, empty ones dropped.
std::vector<Rect> ClipRects(const std::vector<Rect>& rects, int width, int height);
// The smallest rectangle holding them all (empty when there are none).
Rect BoundingRect(const std::vector<Rect>& rects);

}  // namespace tessaly
