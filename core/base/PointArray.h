// A fixed-capacity array of points on the heap, as the figures and the leaf
// lists hold them. Every index is checked against the capacity in debug
// builds: the builders' loops are meant never to pass it.
#pragma once

#include <cassert>
#include <memory>

#include "base/Geometry.h"

namespace tessaly {

template <int Capacity>
class PointArray {
public:
    static constexpr int kCapacity = Capacity;

    PointArray() : items_(std::make_unique<Point[]>(Capacity)) {}

    Point& operator[](int index) {
        assert(index >= 0 && index < Capacity && "point index past the fixed capacity");
        return items_[index];
    }
    const Point& operator[](int index) const {
        assert(index >= 0 && index < Capacity && "point index past the fixed capacity");
        return items_[index];
    }
    // For the drawing calls, which take a pointer and a count.
    const Point* get() const { return items_.get(); }

private:
    std::unique_ptr<Point[]> items_;
};

}  // namespace tessaly
