#include "figures/Figure.h"

#include "device/PenBrushSet.h"

namespace tessaly {

// A figure never restores the brush it selects: the next figure selects its own.

Figure::Figure() = default;

Figure::~Figure() = default;

bool PolylineFigure::Draw(DrawingDevice& dc, PenBrushSet& /*brushes*/) {
    // Not filled, so whatever brush is selected does not matter.
    return dc.Polyline(points.get(), pointCount);
}

bool StemLeafFigure::Draw(DrawingDevice& dc, PenBrushSet& brushes) {
    dc.SelectObject(brushes.stemLeafBrush.GetSafeHandle());
    return dc.Polygon(points.get(), pointCount);
}

bool FallLeafFigure::Draw(DrawingDevice& dc, PenBrushSet& brushes) {
    dc.SelectObject(brushes.fallLeafBrush.GetSafeHandle());
    return dc.Polygon(points.get(), pointCount);
}

bool PetalFigure::Draw(DrawingDevice& dc, PenBrushSet& brushes) {
    // Ring 0 and 1 have their own brushes; every other index shares ring 2's.
    if (colourIndex == 0) {
        dc.SelectObject(brushes.petalBrush0.GetSafeHandle());
    } else if (colourIndex == 1) {
        dc.SelectObject(brushes.petalBrush1.GetSafeHandle());
    } else {
        dc.SelectObject(brushes.petalBrush2.GetSafeHandle());
    }
    return dc.Polygon(points.get(), pointCount);
}

bool SnowflakeFigure::Draw(DrawingDevice& dc, PenBrushSet& brushes) {
    dc.SelectObject(brushes.snowflakeBrush.GetSafeHandle());
    return dc.Polygon(points.get(), pointCount);
}

DiscFigure::DiscFigure() = default;

DiscFigure::DiscFigure(Point centre, int radius) : DiscFigure() { SetCircle(centre, radius); }

DiscFigure::DiscFigure(int x, int y, int radius) : DiscFigure() { SetCircle(x, y, radius); }

bool DiscFigure::Draw(DrawingDevice& dc, PenBrushSet& brushes) {
    dc.SelectObject(brushes.discBrush.GetSafeHandle());
    return dc.Ellipse(bounds.left, bounds.top, bounds.right, bounds.bottom);
}

void DiscFigure::SetCircle(Point c, int r) { SetCircle(c.x, c.y, r); }

void DiscFigure::SetCircle(int x, int y, int r) {
    centre = Point{x, y};
    radius = r;
    bounds = Rect{x - r, y - r, x + r, y + r};
}


}  // namespace tessaly
