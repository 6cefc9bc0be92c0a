// A fixed list of up to 100 points in which a stem builder records leaf positions.
#pragma once

#include <cstdint>
#include "base/PointArray.h"

namespace tessaly {

constexpr int kPointListCapacity = 100;

class PointList {
public:
    PointArray<kPointListCapacity> items;
    int32_t count = 0;
};

}  // namespace tessaly
