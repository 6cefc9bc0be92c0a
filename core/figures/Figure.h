// The drawable items a scene queues and the canvas draws: filled polygons,
// open polylines and filled circles in logical canvas units.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Geometry.h"
#include "base/PointArray.h"
#include "device/DrawingDevice.h"

namespace tessaly {

class PenBrushSet;

constexpr int kFigurePointCapacity = 1000;

class Figure {
public:
    Figure();
    virtual ~Figure();
    Figure(const Figure&) = delete;
    Figure& operator=(const Figure&) = delete;

    virtual bool Draw(DrawingDevice& dc, PenBrushSet& brushes) = 0;

    PointArray<kFigurePointCapacity> points;
    int32_t pointCount = 0;
    int32_t colourIndex = 0;
};

class PolylineFigure final : public Figure {
public:
    bool Draw(DrawingDevice& dc, PenBrushSet& brushes) override;
};

class StemLeafFigure final : public Figure {
public:
    bool Draw(DrawingDevice& dc, PenBrushSet& brushes) override;
};

class FallLeafFigure final : public Figure {
public:
    bool Draw(DrawingDevice& dc, PenBrushSet& brushes) override;
};

class PetalFigure final : public Figure {
public:
    bool Draw(DrawingDevice& dc, PenBrushSet& brushes) override;
};

class SnowflakeFigure final : public Figure {
public:
    bool Draw(DrawingDevice& dc, PenBrushSet& brushes) override;
};

class DiscFigure final : public Figure {
public:
    DiscFigure();
    DiscFigure(Point centre, int radius);
    DiscFigure(int x, int y, int radius);
    bool Draw(DrawingDevice& dc, PenBrushSet& brushes) override;

    void SetCircle(Point centre, int radius);
    void SetCircle(int x, int y, int radius);

    Rect bounds{};
    int32_t radius = 0;
    Point centre{};
};

}  // namespace tessaly
