// A fixed list of up to 100 points in which a stem builder records leaf positions.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Geometry.h"

namespace tessaly {

constexpr int kPointListCapacity = 100;

class PointList {
public:
    PointList() : items(new Point[kPointListCapacity]) {}
    std::unique_ptr<Point[]> items;
    int32_t count = 0;
};

}  // namespace tessaly
