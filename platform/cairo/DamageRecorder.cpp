#include "DamageRecorder.h"

#include <algorithm>
#include <climits>

namespace tessaly {

namespace {
constexpr int kMargin = 1;  // the one-pixel outline and the mapping's rounding
}

void DamageRecorder::Note(const Point* points, int count) {
    if (count <= 0) return;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int i = 0; i < count; ++i) {
        const Point p = device_.ToDevice(points[i]);
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    damage_.push_back({left - kMargin, top - kMargin, right + 1 + kMargin, bottom + 1 + kMargin});
}

bool DamageRecorder::Polygon(const Point* points, int count) {
    Note(points, count);
    return device_.Polygon(points, count);
}

bool DamageRecorder::Polyline(const Point* points, int count) {
    Note(points, count);
    return device_.Polyline(points, count);
}

bool DamageRecorder::Ellipse(int left, int top, int right, int bottom) {
    const Point corners[2] = {{left, top}, {right, bottom}};
    Note(corners, 2);
    return device_.Ellipse(left, top, right, bottom);
}

std::vector<Rect> ClipRects(const std::vector<Rect>& rects, int width, int height) {
    std::vector<Rect> clipped;
    clipped.reserve(rects.size());
    for (Rect r : rects) {
        r.left = std::max(r.left, 0);
        r.top = std::max(r.top, 0);
        r.right = std::min(r.right, width);
        r.bottom = std::min(r.bottom, height);
        if (r.left < r.right && r.top < r.bottom) clipped.push_back(r);
    }
    return clipped;
}

Rect BoundingRect(const std::vector<Rect>& rects) {
    if (rects.empty()) return {};
    Rect box = rects.front();
    for (const Rect& r : rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

}  // namespace tessaly
