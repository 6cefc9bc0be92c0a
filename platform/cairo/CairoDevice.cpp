#include "CairoDevice.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tessaly {

namespace {

// The objects a paint context holds before anything is selected.
const GdiObjectRecord kDefaultPen{GdiObjectRecord::Kind::Pen, Rgb(0, 0, 0), true};
const GdiObjectRecord kDefaultBrush{GdiObjectRecord::Kind::Brush, Rgb(255, 255, 255), true};

// GDI's pixel (x, y) is Cairo's square from (x, y) to (x + 1, y + 1): smooth
// drawing puts the path through the centres of GDI's pixels. (GDI's own
// pixels are computed exactly and painted as whole-pixel rectangles.)
constexpr double kSmoothOffset = 0.5;

}  // namespace

CairoDevice::CairoDevice(cairo_t* cr, CairoStyle style, PixelRunSink* sink) : cr_(cr), style_(style), sink_(sink) {
    ResetPaintState();
}

void CairoDevice::ResetPaintState() {
    writePixels_ = style_ == CairoStyle::GdiPixels && CanWritePixels();
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

bool CairoDevice::CanWritePixels() const {
    // Only a plain 32-bit image, drawn without transformation or clip, can
    // take whole-pixel runs straight into its memory.
    cairo_surface_t* target = cairo_get_target(cr_);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return false;
    const cairo_format_t format = cairo_image_surface_get_format(target);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return false;
    double ox = 0, oy = 0, sx = 1, sy = 1;
    cairo_surface_get_device_offset(target, &ox, &oy);
    cairo_surface_get_device_scale(target, &sx, &sy);
    cairo_matrix_t matrix;
    cairo_get_matrix(cr_, &matrix);
    if (ox != 0 || oy != 0 || sx != 1 || sy != 1 || matrix.xx != 1 || matrix.yy != 1 || matrix.xy != 0 ||
        matrix.yx != 0 || matrix.x0 != 0 || matrix.y0 != 0) {
        return false;
    }
    const int width = cairo_image_surface_get_width(target);
    const int height = cairo_image_surface_get_height(target);
    double x1, y1, x2, y2;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    return x1 <= 0 && y1 <= 0 && x2 >= width && y2 >= height;
}

void CairoDevice::WritePixels(const std::vector<PixelRun>& runs, ColourRef colour) {
    cairo_surface_t* target = cairo_get_target(cr_);
    cairo_surface_flush(target);
    unsigned char* data = cairo_image_surface_get_data(target);
    const int stride = cairo_image_surface_get_stride(target);
    const int width = cairo_image_surface_get_width(target);
    const int height = cairo_image_surface_get_height(target);
    const uint32_t pixel = 0xFF000000u | RedOf(colour) << 16 | GreenOf(colour) << 8 | BlueOf(colour);
    int dirtyLeft = width, dirtyTop = height, dirtyRight = 0, dirtyBottom = 0;
    for (const PixelRun& run : runs) {
        const int left = std::max(run.x, 0), right = std::min(run.x + run.width, width);
        const int top = std::max(run.y, 0), bottom = std::min(run.y + run.height, height);
        if (left >= right || top >= bottom) continue;
        for (int y = top; y < bottom; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            std::fill(row + left, row + right, pixel);
        }
        dirtyLeft = std::min(dirtyLeft, left);
        dirtyTop = std::min(dirtyTop, top);
        dirtyRight = std::max(dirtyRight, right);
        dirtyBottom = std::max(dirtyBottom, bottom);
    }
    if (dirtyLeft < dirtyRight) {
        cairo_surface_mark_dirty_rectangle(target, dirtyLeft, dirtyTop, dirtyRight - dirtyLeft,
                                           dirtyBottom - dirtyTop);
    }
}

void CairoDevice::FillRuns(const std::vector<PixelRun>& runs, ColourRef colour) {
    if (runs.empty()) return;
    if (writePixels_) {
        WritePixels(runs, colour);
        return;
    }
    if (sink_ != nullptr) {
        sink_->Fill(runs, colour);
        return;
    }
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
    // Only the rows that can show are scanned.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    const double firstRow = std::max(std::floor(y1), static_cast<double>(INT32_MIN));
    const double lastRow = std::min(std::ceil(y2), static_cast<double>(INT32_MAX));
    interior_.clear();
    AppendPolygonFillPixels(devicePoints, count, interior_, static_cast<int32_t>(firstRow),
                            static_cast<int32_t>(lastRow));
    FillRuns(interior_, colour);
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
