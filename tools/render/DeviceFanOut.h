// One paint context that draws on several devices at once, e.g. the output
// file and the time-lapse frames.
#pragma once

#include <vector>

#include "device/DrawingDevice.h"

namespace tessaly {

class DeviceFanOut final : public DrawingDevice {
public:
    void Add(DrawingDevice& device) { devices_.push_back(&device); }

    // Reports what the first device reports; all devices see every call.
    GdiHandle SelectObject(GdiHandle object) override {
        GdiHandle previous = nullptr;
        for (std::size_t i = 0; i < devices_.size(); ++i) {
            const GdiHandle p = devices_[i]->SelectObject(object);
            if (i == 0) previous = p;
        }
        return previous;
    }
    void SetMapModeAnisotropic() override {
        for (auto* d : devices_) d->SetMapModeAnisotropic();
    }
    void SetWindowExt(int cx, int cy) override {
        for (auto* d : devices_) d->SetWindowExt(cx, cy);
    }
    void SetViewportExt(int cx, int cy) override {
        for (auto* d : devices_) d->SetViewportExt(cx, cy);
    }
    void SetViewportOrg(int x, int y) override {
        for (auto* d : devices_) d->SetViewportOrg(x, y);
    }
    bool Polygon(const Point* points, int count) override {
        bool ok = !devices_.empty();
        for (auto* d : devices_) ok = d->Polygon(points, count) && ok;
        return ok;
    }
    bool Polyline(const Point* points, int count) override {
        bool ok = !devices_.empty();
        for (auto* d : devices_) ok = d->Polyline(points, count) && ok;
        return ok;
    }
    bool Ellipse(int left, int top, int right, int bottom) override {
        bool ok = !devices_.empty();
        for (auto* d : devices_) ok = d->Ellipse(left, top, right, bottom) && ok;
        return ok;
    }

private:
    std::vector<DrawingDevice*> devices_;
};

}  // namespace tessaly
