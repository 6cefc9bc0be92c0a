#include "CairoDevice.h"

#include <algorithm>

namespace tessaly {

namespace {

// The objects a paint context holds before anything is selected.
const GdiObjectRecord kDefaultPen{GdiObjectRecord::Kind::Pen, Rgb(0, 0, 0), true};
const GdiObjectRecord kDefaultBrush{GdiObjectRecord::Kind::Brush, Rgb(255, 255, 255), true};

// GDI samples a pixel at its integer coordinate and counts left and top
// edges as inside; Cairo samples at pixel centres. Shifting the path by just
// under half a pixel puts an edge on a left/top pixel centre inside and one on
// a right/bottom pixel centre outside.
constexpr double kFillOffset = 0.5 - 1.0 / 256.0;
// Smooth drawing centres its one-pixel lines on the pixel centres.
constexpr double kSmoothOffset = 0.5;

}  // namespace

CairoDevice::CairoDevice(cairo_t* cr, CairoStyle style) : cr_(cr), style_(style) {
    ResetPaintState();
}

void CairoDevice::ResetPaintState() {
    anisotropic_ = false;
    mapping_ = AnisotropicMapping{};
    pen_ = {const_cast<GdiObjectRecord*>(&kDefaultPen), kDefaultPen.colour};
    brush_ = {const_cast<GdiObjectRecord*>(&kDefaultBrush), kDefaultBrush.colour};
}

GdiHandle CairoDevice::SelectObject(GdiHandle object) {
    const GdiObjectRecord* record = PortableGdiObjects::Record(object);
    if (record == nullptr) return nullptr;  // GDI refuses a null object
    Selected& slot = record->kind == GdiObjectRecord::Kind::Pen ? pen_ : brush_;
    const GdiHandle previous = slot.handle;
    // Keep the colour, not the record: a brush may be deleted while selected.
    slot = {object, record->colour};
    return previous;
}

void CairoDevice::SetMapModeAnisotropic() { anisotropic_ = true; }

// As in GDI, extents only count in MM_ANISOTROPIC and a zero extent is refused.
void CairoDevice::SetWindowExt(int cx, int cy) {
    if (!anisotropic_ || cx == 0 || cy == 0) return;
    mapping_.x.windowExt = cx;
    mapping_.y.windowExt = cy;
}

void CairoDevice::SetViewportExt(int cx, int cy) {
    if (!anisotropic_ || cx == 0 || cy == 0) return;
    mapping_.x.viewportExt = cx;
    mapping_.y.viewportExt = cy;
}

void CairoDevice::SetViewportOrg(int x, int y) {
    mapping_.x.viewportOrg = x;
    mapping_.y.viewportOrg = y;
}

Point CairoDevice::ToDevice(Point logical) const { return mapping_.ToDevice(logical); }

void CairoDevice::MapPoints(const Point* points, int count) {
    devicePoints_.clear();
    for (int i = 0; i < count; ++i) devicePoints_.push_back(mapping_.ToDevice(points[i]));
}

void CairoDevice::SetColour(ColourRef colour) {
    cairo_set_source_rgb(cr_, RedOf(colour) / 255.0, GreenOf(colour) / 255.0, BlueOf(colour) / 255.0);
}

void CairoDevice::FillRuns(const std::vector<PixelRun>& runs, ColourRef colour) {
    if (runs.empty()) return;
    cairo_new_path(cr_);
    for (const PixelRun& run : runs) cairo_rectangle(cr_, run.x, run.y, run.width, run.height);
    SetColour(colour);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);  // overlapping runs stay painted
    cairo_fill(cr_);
}

void CairoDevice::TracePath(const Point* devicePoints, int count, bool close, double offset) {
    cairo_new_path(cr_);
    for (int i = 0; i < count; ++i) cairo_line_to(cr_, devicePoints[i].x + offset, devicePoints[i].y + offset);
    if (close) cairo_close_path(cr_);
}

void CairoDevice::FillDevicePolygon(const Point* devicePoints, int count, ColourRef colour) {
    TracePath(devicePoints, count, true, kFillOffset);
    SetColour(colour);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);  // ALTERNATE
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_fill(cr_);
}

bool CairoDevice::Polygon(const Point* points, int count) {
    if (count < 2) return false;
    MapPoints(points, count);
    if (style_ == CairoStyle::Smooth) {
        TracePath(devicePoints_.data(), count, true, kSmoothOffset);
        SetColour(brush_.colour);
        cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);  // ALTERNATE
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
        cairo_fill_preserve(cr_);
        SetColour(pen_.colour);
        cairo_set_line_width(cr_, 1.0);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr_);
        return true;
    }
    FillDevicePolygon(devicePoints_.data(), count, brush_.colour);
    // The outline closes the figure; every segment leaves out its end point,
    // which is the start point of the next.
    runs_.clear();
    for (int i = 0; i < count; ++i) {
        AppendLinePixels(devicePoints_[i], devicePoints_[(i + 1) % count], runs_);
    }
    FillRuns(runs_, pen_.colour);
    return true;
}

bool CairoDevice::Polyline(const Point* points, int count) {
    if (count < 2) return false;
    MapPoints(points, count);
    if (style_ == CairoStyle::Smooth) {
        TracePath(devicePoints_.data(), count, false, kSmoothOffset);
        SetColour(pen_.colour);
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
        cairo_set_line_width(cr_, 1.0);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr_);
        return true;
    }
    runs_.clear();
    for (int i = 0; i + 1 < count; ++i) AppendLinePixels(devicePoints_[i], devicePoints_[i + 1], runs_);
    FillRuns(runs_, pen_.colour);
    return true;
}

bool CairoDevice::Ellipse(int left, int top, int right, int bottom) {
    const Point a = mapping_.ToDevice({left, top});
    const Point b = mapping_.ToDevice({right, bottom});
    if (style_ == CairoStyle::Smooth) {
        // The ideal ellipse through the pixel centres of the box (l, t, r-1, b-1).
        const double l = std::min(a.x, b.x), r = std::max(a.x, b.x) - 1;
        const double t = std::min(a.y, b.y), bt = std::max(a.y, b.y) - 1;
        if (r < l || bt < t) return true;
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
        cairo_set_line_width(cr_, 1.0);
        cairo_new_path(cr_);
        if (r == l || bt == t) {  // a flat box: only the outline, as a line
            cairo_move_to(cr_, l + kSmoothOffset, t + kSmoothOffset);
            cairo_line_to(cr_, r + kSmoothOffset, bt + kSmoothOffset);
            SetColour(pen_.colour);
            cairo_stroke(cr_);
            return true;
        }
        cairo_save(cr_);
        cairo_translate(cr_, (l + r) / 2.0 + kSmoothOffset, (t + bt) / 2.0 + kSmoothOffset);
        cairo_scale(cr_, (r - l) / 2.0, (bt - t) / 2.0);
        cairo_arc(cr_, 0, 0, 1, 0, 2 * 3.141592653589793);
        cairo_restore(cr_);
        SetColour(brush_.colour);
        cairo_fill_preserve(cr_);
        SetColour(pen_.colour);
        cairo_stroke(cr_);
        return true;
    }
    runs_.clear();
    interior_.clear();
    // GDI maps the ellipse's width and height as lengths too, and draws the
    // smaller of that size and the mapped box.
    const Point size = mapping_.ToDevice({right - left, bottom - top});
    const Point origin = mapping_.ToDevice({0, 0});
    AppendEllipsePixels({a.x, a.y, b.x, b.y}, size.x - origin.x, size.y - origin.y, runs_, interior_);
    FillRuns(interior_, brush_.colour);
    FillRuns(runs_, pen_.colour);
    return true;
}

}  // namespace tessaly
